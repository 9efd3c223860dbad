#!/usr/bin/env python3
"""Writes the keyframe motion files of the action library under DATA/movs/.

Usage: make_motions.py [--data DIR]

Every motion is a list of postures (joint id -> angle in degrees, the
body's own joint signs) with the time to reach each. Left-hand motions are
the mirror images of the right-hand ones. No head joint is ever moved.
The walk-ready posture ZeroWalkPosition.xml is not written here: the
zero-pose tool computes it from the walk's first stance.
"""
import os
import sys

# Joint ids: 2/3 hip yaw-pitch, 4/5 hip roll, 6/7 hip pitch, 8/9 knee,
# 10/11 ankle pitch, 12/13 ankle roll, 14/15 shoulder pitch, 16/17 shoulder
# roll, 18/19 elbow yaw, 20/21 elbow roll (left, right).
ROLLS = {4, 5, 12, 13, 16, 17, 18, 19, 20, 21}


def mirror(pose):
    out = {}
    for j, a in pose.items():
        m = j + 1 if j % 2 == 0 else j - 1
        out[m] = -a if j in ROLLS else a
    return out


def legs(hip, knee, ankle, roll_l=0, roll_r=0, aroll_l=0, aroll_r=0, yaw_l=0, yaw_r=0):
    return {2: yaw_l, 3: yaw_r, 4: roll_l, 5: roll_r, 6: hip, 7: hip, 8: knee, 9: knee,
            10: ankle, 11: ankle, 12: aroll_l, 13: aroll_r}


def arms(pitch, roll=10, yaw=-80, elbow=-20):
    # roll and elbow for the left arm; the right one mirrors them.
    return {14: pitch, 15: pitch, 16: roll, 17: -roll, 18: yaw, 19: -yaw, 20: elbow, 21: -elbow}


def pose(leg, arm):
    p = dict(leg)
    p.update(arm)
    return p


# Walk-ready stance (the walk's own posture, rounded).
READY = pose(legs(27, -61, 34), arms(-90, 8, -80, -17))
# Where the get-ups end: the stance with the arms held ahead, as the walk
# holds them (shoulder pitch about the hip pitch less 20); swinging them
# down to the sides at the end would throw the torso backward.
GETUP_END = pose(legs(27, -61, 34), arms(7, 8, -80, -17))


# The rise of types 1 and 3 from the back: type 1's last key frames (type 3
# has its own crouch, then the last one) and the seconds to the stance.
_BACK_RISE = [[0.183, 63.1, -101, 68, 60.8, 7, -19.3, -73.3],
              [0.49, 54.1, -99.4, 68.5, 43.1, 6.9, -12.3, -59.5],
              [0.317, 38.9, -77.7, 39.4, 42.8, 5.3, -24.6, -13.8],
              0.382]


# Rising from the front without rolling over: the arms lift the chest while
# the hips and knees fold the feet under the body; the knees then open with
# the ankles low, which lifts the seat and brings the weight back over the
# feet (hands still down, the hip yaw-pitch keeping the knees apart); the
# arms push the chest up and the legs open to the stance. Slower than
# throwing the torso up over the feet, but every landing of a varied fall
# ends in the same squat. The yaw-pitch of that squat is on an edge: 5 more
# and the chest no longer comes up.
_FRONT_UP = [[0.25, 90, -40, 40, -10, 10, -5, -20],
             [0.4, 100, -130, 75, 5, 10, -5, -70],
             [0.5, 100, -90, 20, -15, 10, -5, -55],
             [0.4, 80, -75, 20, -45, 10, -10, -30],
             [0.4, 55, -65, 28, -15, 8, -13, -15],
             [0.3, 35, -62, 32, 0, 8, -15, -5],
             0.3]


# Get-ups as key frames: [seconds, hip pitch, knee, ankle pitch, shoulder
# pitch, shoulder roll, elbow roll, hip yaw-pitch, hip roll] for both sides
# alike (hip yaw-pitch and hip roll 0 when left out; hip roll above 0 spreads
# the legs), then the seconds to the walk-ready stance.
# Tuned on the real server by tools/motiontune.
GETUP = {
    # Face down: types 1 and 3 rise through the squat (_FRONT_UP) in 2.6 s,
    # types 0 and 2 the same 10 % quicker (2.3 s). Type 3 lifts the seat
    # out of the squat more slowly (2.7 s): after some landings its chest
    # came up late, and it ended the rise on its toes and tipped forward.
    # Type 4's free toes fold in that squat and leave it on its toes, so it
    # rises directly: the arms swing down from overhead and push the chest up
    # while the hips bend, so that the hips rise with the head low (hands and
    # feet on the ground); a quick bend of the knees and hip yaw-pitch hops
    # the feet in under the hips, then the knees stretch and the arms swing
    # up ahead, and it holds that pike until the hop has died away (after a
    # shorter hold, landings that hopped the hips higher slid forward on the
    # throw instead of rotating up); then the crouch throws the torso up over
    # the feet and the robot rises to the stance, all in about 1.8 s. The
    # crouch's length is on an edge: 0.03 s more or less and the torso no
    # longer comes up over the feet.
    "front": {
        "T0": [[round(f[0] * 0.9, 3), *f[1:]] for f in _FRONT_UP[:-1]] + [round(_FRONT_UP[-1] * 0.9, 3)],
        "T1": _FRONT_UP,
        "T3": _FRONT_UP[:3] + [[0.55, *_FRONT_UP[3][1:]]] + _FRONT_UP[4:],
        "T4": [[0.078, 84.9, -12.3, 15.1, 52.4, 22.5, -3, -21.7, 13.9],
               [0.365, 94.4, -36.1, 8.1, 4.1, 13, -15.4, -59, 1.3],
               [0.183, 79.4, -47.4, 31.3, 48.7, 14.6, -10.7, -66.2, -16.4],
               [0.56, 89.8, -1, 29.1, 54.3, 19.3, -17.6, -39.5, -4.5],
               [0.248, 74.2, -54.2, -8.4, 32.5, 17, -15.8, -21.4, -0.1],
               [0.076, 48.8, -63.1, 33.5, -31.7, 19.9, -12, -24.4, -8.8],
               0.268],
    },
    # Face up: arms along the body, a quick bend of the hips sits the robot
    # up; the knees fold the feet under the seat while the hip yaw-pitch adds
    # to the bend and the arms reach forward, which brings the weight over
    # the feet; then it rises through a crouch to the stance.
    # Type 0 first lies flat until the fall has died away, so that every
    # landing sits up alike (sitting up sooner, some swung far forward in the
    # fold and rocked back in the squat), holds the squat still a moment with
    # the arms up (swinging them down there rocked it back), and rises in
    # three short steps: the hip yaw-pitch opens step by step with the hips
    # while the arms come down ahead, and the last step is small, so that the
    # torso reaches the stance without swinging back onto the heels (a quick,
    # large last step tipped it over backward), all in 2.9 s. Type 4 has the
    # same legs; its free toe gives way under a weight far forward, so it
    # squats with the ankles less bent. Both leave the last small step to the
    # stance to the servos (a 0.1 s slot).
    "back": {
        "T0": [[0.85, 19.7, -7.6, 13.8, -78.7, 2.4, -13.3, -5.2],
               [0.237, 80.7, -19.1, 26.2, -90.3, 30.6, -28.4, -28.1],
               [0.345, 98.4, -122.6, 62.4, 75.2, 14.8, -15.4, -68.0],
               [0.199, 94.4, -112.9, 58.1, 105.0, 11.0, -7.0, -69.4],
               [0.319, 58.6, -87.1, 37.7, 98.8, 17.7, -8.0, -62.5],
               [0.15, 59, -87, 38, 99, 8, -13, -62],
               [0.32, 49.3, -86.2, 41.7, 53, 8, -13, -56.5],
               [0.26, 35.4, -75.1, 30.7, 31.2, 8, -13, -20.1],
               [0.12, 32, -65.8, 33.1, 15.4, 8, -13, -0.2],
               0.1],
        # Types 1 and 3 rise as type 0 does, but their longer legs leave the
        # feet further from the seat: the knees fold fully with the shins
        # well forward (ankles about 70) to roll the weight onto the feet, the
        # crouch keeps the shins forward. They lie flat a shorter while than
        # type 0 and fold quickly, so that the sit-up's swing carries the
        # weight onto the feet; they crouch only briefly and rise from there
        # in under a second. Type 1 lies flat long enough for the fall to die
        # away (sitting up sooner left some landings rocked back on the seat).
        # The fold bends the hips fully (type 1's target lies past the stop,
        # so they press against it): a fold short of that left some landings
        # sitting behind the feet, falling back in the crouch (type 3 on every
        # landing in sync mode). Tuned in real time and in sync mode: folds
        # a little quicker or slower that stand in one mode may fall in the
        # other. Type 3 folds a little quicker than type 1.
        # Both leave the crouch sooner, knees and hips opening a little with
        # the shins further forward, and keep the shins there while the torso
        # comes up, so that the weight does not run ahead of the feet
        # (_BACK_RISE; type 3 crouches with the hips a little more bent).
        "T1": [[0.55, 12, -9, 11.8, -72, 1.1, -11.3, 0.1],
               [0.22, 77.1, -18.9, 21.6, -86.1, 29.4, -26.8, -26],
               [0.349, 101.3, -125.1, 64, 55.5, 28.2, -23.4, -79.2],
               [0.127, 82.1, -118.1, 57.7, 93.6, 14.3, -17.8, -71.3],
               [0.113, 72.1, -117, 65.2, 95, 23.8, -7.8, -70.8],
               *_BACK_RISE],
        "T3": [[0.438, 11.7, -9.4, 16.3, -78.4, 4.4, -6.2, -2.4],
               [0.19, 74.4, -21.9, 25.2, -84, 29.8, -31.7, -21.9],
               [0.352, 99.3, -122.1, 61.9, 45.5, 26.8, -22.5, -84.7],
               [0.105, 80.2, -124, 57.4, 85.2, 12.2, -12.3, -71.2],
               [0.139, 76.3, -117, 63.8, 97.4, 19.2, -7, -76.5],
               [0.183, 63.6, -101, 68, 60.8, 7, -19.3, -73.3],
               [0.49, 54.5, -99.4, 68.5, 43.1, 6.9, -12.3, -59.5],
               *_BACK_RISE[2:]],
    },
}
# Type 4: type 0's, the ankles 5 degrees less bent in the fold and the squat.
GETUP["back"]["T4"] = [[*f[:3], round(f[3] - 5, 1), *f[4:]] if k in (2, 3) else f
                       for k, f in enumerate(GETUP["back"]["T0"][:-1])] + GETUP["back"]["T0"][-1:]


def getup(frames):
    """The motion of a get-up key-frame list."""
    out = []
    for f in frames[:-1]:
        d, hip, knee, ankle, pitch, roll, elbow = f[:7]
        yaw = f[7] if len(f) > 7 else 0
        spread = f[8] if len(f) > 8 else 0
        # Elbow yaw -90 bends the elbows in the pitch plane, to push with.
        leg = legs(hip, knee, ankle, spread, -spread, yaw_l=yaw, yaw_r=yaw)
        out.append((d, pose(leg, arms(pitch, roll, -90, elbow))))
    out.append((frames[-1], GETUP_END))
    return out


def getup_frames(kind, t):
    """Key frames of a get-up for a robot type, type 0's where it has none."""
    table = GETUP[kind]
    return table.get(t, table["T0"])


# Super kicks (right foot, standing on the left): seconds and angles of
# shifting the weight onto the left foot (hip and ankle roll, forward lean),
# drawing the right leg back, swinging it through the ball (a "KICK" slot: the
# joints jump to their targets at full speed), holding, and returning to the
# stance. kick_roll swings the right leg sideways while it draws back and
# swings, hit_lean pitches the support hip and push the support ankle during
# the swing, snap_* are a second swing slot that ends it, kp is the servo
# gain of the swinging hip, knee and ankle, yaw turns the right hip yaw-pitch
# (the swing's direction) for the types whose kick leaves to the left.
# sup_knee straightens the support knee during the swing, snap_lean pitches
# the support hip further in the second swing slot (so that the torso still
# tips back when the foot meets the ball), and arm_swing moves both shoulders
# during the swing. stance_rise straightens both knees by that many degrees
# in the kick's stance, the hips and ankles each bending half of it less, so
# that the hips stand higher and the kicking leg meets the ball straighter
# (type 3's is tuned for the ball 0.02 m further ahead than the field test's
# superkick place). back_lean and back_sup_knee move the support hip and knee
# while the leg draws back, snap_sup_knee and snap_push the support knee and
# ankle in the second swing slot, and sup_kp is the servo gain of the support
# hip, knee and ankle (the motion player's own gain by default), so that the
# support leg can swing the hips into the ball at full joint speed.
# Tuned on the real server by tools/fieldtest/superkicktune.py; type 0
# shifts its weight over 0.75 s, so that after the walk-and-kick approach its
# body has settled on the support foot before the swing (it falls less and
# kicks further than with the tuned 0.45 s). Type 2 kicks
# with type 0's parameters but for a smaller ankle swing: its faster ankle
# pitch would drive the toe into the ground before the ball, and a slower
# weight shift: after the walk-and-kick approach its body needs that long to
# settle on the support foot, else it turns and tips as the leg draws back.
KICK_NAMES = ["shift_s", "roll", "lean", "back_s", "back_hip", "back_knee", "back_ankle", "hit_s", "hit_hip",
              "hit_knee", "hit_ankle", "hold_s", "home_s"]
KICK_MORE = ["kick_roll", "hit_lean", "kp", "yaw", "snap_s", "snap_hip", "snap_knee", "snap_ankle", "push",
             "sup_knee", "snap_lean", "arm_swing", "stance_rise", "back_lean", "back_sup_knee", "snap_sup_knee", "snap_push",
             "sup_kp"]
KICK_DEFAULTS = {"kick_roll": 0, "hit_lean": 0, "kp": 0.456, "yaw": 0, "snap_s": 0.06, "push": 0, "sup_knee": 0,
                 "snap_lean": 0, "arm_swing": 0, "stance_rise": 0, "back_lean": 0, "back_sup_knee": 0,
                 "snap_sup_knee": 0, "snap_push": 0, "sup_kp": 0.456}
KICKS = {
    "T0": {"shift_s": 0.75, "roll": 15.451, "lean": -5.141, "back_s": 0.219, "back_hip": 17.65,
           "back_knee": -79.724, "back_ankle": 34.524, "hit_s": 0.115, "hit_hip": 37.744, "hit_knee": -22.354,
           "hit_ankle": 21.956, "hold_s": 0.5, "home_s": 0.122, "kick_roll": -3.332, "hit_lean": -28.075, "kp": 1.04,
           "yaw": 0, "snap_s": 0.122, "snap_hip": 37.686, "snap_knee": -10.889, "snap_ankle": 16.049, "push": 5.258,
           "sup_knee": 0.69, "snap_lean": -1.185, "arm_swing": -37.379},
    "T1": {"shift_s": 0.505, "roll": 17.53, "lean": 7.204, "back_s": 0.254, "back_hip": 23.019,
           "back_knee": -101.093, "back_ankle": 34.102, "hit_s": 0.156, "hit_hip": 61.532, "hit_knee": -25.362,
           "hit_ankle": 24.994, "hold_s": 0.43, "home_s": 0.234, "kick_roll": -8.388, "hit_lean": -32.185,
           "kp": 0.655, "yaw": -19.922, "snap_s": 0.02, "snap_hip": 72.906, "snap_knee": -34.583,
           "snap_ankle": 13.862, "push": -1.137, "sup_knee": 5.657, "snap_lean": 2.991, "arm_swing": -52.848},
    "T3": {"shift_s": 0.373, "roll": 14.354, "lean": 4.858, "back_s": 0.206, "back_hip": 3.732, "back_knee": -73.566,
           "back_ankle": 39.396, "hit_s": 0.071, "hit_hip": 69.65, "hit_knee": -18.546, "hit_ankle": 23.717,
           "hold_s": 0.613, "home_s": 0.259, "kick_roll": -4.882, "hit_lean": -23.739, "kp": 0.608, "yaw": 0,
           "snap_s": 0.104, "snap_hip": 82.315, "snap_knee": -3.142, "snap_ankle": 6.29, "push": -8.046,
           "sup_knee": 16.736, "snap_lean": -12.645, "arm_swing": 21.626, "stance_rise": 35.345},
    "T4": {"shift_s": 0.744, "roll": 15.044, "lean": 2.377, "back_s": 0.128, "back_hip": 13.522,
           "back_knee": -115.979, "back_ankle": 51.16, "hit_s": 0.1, "hit_hip": 50.52, "hit_knee": -8.891,
           "hit_ankle": 26.589, "hold_s": 0.753, "home_s": 0.157, "kick_roll": -4.402, "hit_lean": -33.454,
           "kp": 0.479, "yaw": -8.49, "snap_s": 0.127, "snap_hip": 80.461, "snap_knee": -64.955,
           "snap_ankle": 16.081, "push": 2.746, "sup_knee": 6.443, "snap_lean": 8.968, "arm_swing": -11.526},
    "T4L": {"shift_s": 0.637, "roll": 13.01, "lean": -5.562, "back_s": 0.057, "back_hip": 53.193,
            "back_knee": -123.604, "back_ankle": 37.42, "hit_s": 0.182, "hit_hip": 65.817, "hit_knee": -37.638,
            "hit_ankle": 20.715, "hold_s": 0.736, "home_s": 0.256, "kick_roll": -18.245, "hit_lean": -7.077,
            "kp": 0.563, "yaw": -21.898, "snap_s": 0.198, "snap_hip": 63.374, "snap_knee": -70.784,
            "snap_ankle": 18.586, "push": -1.647, "sup_knee": 10.538, "snap_lean": -5.44, "arm_swing": -10.493},
}
KICKS["T2"] = dict(KICKS["T0"], hit_ankle=29, shift_s=1.0)


def kick_params(t):
    """The super kick's parameters for a robot type, type 0's where it has none."""
    k = dict(KICK_DEFAULTS)
    k["yaw"] = {"T1": -30, "T4": -25}.get(t, 0)
    k.update(KICKS.get(t, KICKS["T0"]))
    for n in ("hip", "knee", "ankle"):
        k.setdefault("snap_" + n, k["hit_" + n])
    return k


def super_kick_right(k):
    """The super kick from its parameters, all of KICK_NAMES and KICK_MORE
    (as kick_params gives them)."""
    r = k["roll"]
    u = k["stance_rise"]
    hip, knee, ankle = 27 + k["lean"] - u / 2, -61 + u, 34 - u / 2
    shift = legs(hip, knee, ankle, -r, -r, r, r)
    back = dict(shift)
    back.update({3: k["yaw"], 5: -r + k["kick_roll"], 6: hip + k["back_lean"], 7: k["back_hip"],
                 8: knee + k["back_sup_knee"], 9: k["back_knee"], 11: k["back_ankle"]})
    hit = dict(shift)
    hit.update({3: k["yaw"], 5: -r + k["kick_roll"], 6: hip + k["hit_lean"], 7: k["hit_hip"],
                8: knee + k["sup_knee"], 9: k["hit_knee"], 10: ankle + k["push"], 11: k["hit_ankle"]})
    snap = dict(hit)
    snap.update({6: hit[6] + k["snap_lean"], 7: k["snap_hip"], 8: hit[8] + k["snap_sup_knee"], 9: k["snap_knee"],
                 10: hit[10] + k["snap_push"], 11: k["snap_ankle"]})
    arm = arms(-90, 15, -80, -20)
    swing = arms(-90 + k["arm_swing"], 15, -80, -20)
    return [
        (k["shift_s"], pose(shift, arm)),
        (k["back_s"], pose(back, arm)),
        (k["hit_s"], pose(hit, swing), "KICK"),
        (k["snap_s"], pose(snap, swing), "KICK"),
        (k["hold_s"], pose(shift, arm)),
        (k["home_s"], READY),
    ]


def kick_gains(k):
    """Servo gains of the super kick's swinging leg (joint id -> kp)."""
    kp = k["kp"]
    gains = {7: kp, 9: kp, 11: kp}
    if k["sup_kp"] != KICK_DEFAULTS["sup_kp"]:
        gains.update({6: k["sup_kp"], 8: k["sup_kp"], 10: k["sup_kp"]})
    return gains


def kick_motion(t):
    """The super kick of a robot type and its servo gains."""
    k = kick_params(t)
    return super_kick_right(k), kick_gains(k)


def std_kick_right(t, slow):
    """The standard kick: the robot type's super kick with a slower weight
    shift, draw-back and recovery."""
    k = kick_params(t)
    for n in ("shift_s", "back_s", "hold_s", "home_s"):
        k[n] *= slow
    return super_kick_right(k), kick_gains(k)


def goalie_hockey():
    return [(0.4, pose(legs(50, -100, 50, 20, -20, -20, 20), arms(-60, 40, -80, -20)))]


def goalie_defend():
    return [(0.3, pose(legs(60, -120, 60, 25, -25, -25, 25), arms(-30, 70, 0, 0)))]


def getup_from_hockey():
    return [(0.3, pose(legs(50, -100, 50), arms(-90, 10, -80, -20))), (0.4, READY)]


def fall_right():
    """Dive to the right, ending on the back: the right leg out, the torso
    thrown backward over it."""
    return [
        (0.15, pose(legs(0, 0, -30, 25, -45, 0, 0), arms(90, 0, 0, 0))),
        (0.3, pose(legs(-25, 0, -40, 25, -45, 0, 0), arms(120, 0, 0, 0))),
        (0.3, pose(legs(0, 0, 0), arms(90, 0, 0, 0))),
    ]


def fall_left():
    """Dive to the left, ending on the front: the left leg out, the torso
    thrown forward over it."""
    right = [(d, mirror(p)) for d, p in fall_right()]
    d0, p0 = right[0]
    p0 = dict(p0)
    p0.update({6: 40, 7: 40, 10: 30, 11: 30})
    d1, p1 = right[1]
    p1 = dict(p1)
    p1.update({6: 80, 7: 80, 10: 40, 11: 40})
    return [(d0, p0), (d1, p1), right[2]]


def open_and_close_arms():
    """On the side: both arms swing out and back to roll the body onto the
    back or the front, whichever the fall allows; the get-up follows."""
    return [
        (0.3, pose(legs(0, 0, 0), arms(0, 90, 0, 0))),
        (0.3, pose(legs(30, 0, 0), arms(-120, 0, 0, 0))),
        (0.4, pose(legs(0, 0, 0), arms(-90, 10, -80, -20))),
        (0.4, READY),
    ]


def zero_position():
    return [(0.5, {j: 0 for j in range(2, 22)})]


def mirror_motion(m):
    return [(s[0], mirror(s[1])) + tuple(s[2:]) for s in m]


def write(data, rel, name, motion, gains=None):
    """Writes a motion: a list of (seconds, posture) or (seconds, posture, slot
    name); gains maps joint ids to the servo gain written with every move."""
    gains = gains or {}
    path = os.path.join(data, "movs", rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write('<?xml version="1.0"?>\n')
        f.write("<!-- Written by tools/motions/make_motions.py. -->\n")
        f.write('<behavior name="%s" type="SlotBehavior">\n' % name)
        for i, slot in enumerate(motion):
            delta, p = slot[0], slot[1]
            f.write('  <slot name="%s" delta="%g">\n' % (slot[2] if len(slot) > 2 else "s%d" % i, round(delta, 3)))
            for j in sorted(p):
                a = round(p[j], 1)
                kp = ' kp="%g"' % round(gains[j], 3) if j in gains else ""
                f.write('    <move id="%d" angle="%g"%s/>\n' % (j, 0.0 if a == 0 else a, kp))
            f.write("  </slot>\n")
        f.write("</behavior>\n")


def mirror_gains(gains):
    return {j + 1 if j % 2 == 0 else j - 1: g for j, g in gains.items()}


def main(argv):
    data = "data"
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--help":
            print(__doc__)
            return 0
        if a == "--data" and args:
            data = args.pop(0)
        else:
            sys.stderr.write("make_motions.py: unknown argument %s (try --help)\n" % a)
            return 1
    for t in ("T0", "T1", "T3", "T4"):
        write(data, "getup/GetupFront%s.xml" % t, "GetupFront" + t, getup(getup_frames("front", t)))
        write(data, "getup/GetupBack%s.xml" % t, "GetupBack" + t, getup(getup_frames("back", t)))
    write(data, "getup/GetUpFromHockey.xml", "GetUpFromHockey", getup_from_hockey())
    write(data, "getup/GetUpFrontTurningRight.xml", "GetUpFrontTurningRight", getup(getup_frames("front", "T0")))
    write(data, "getup/GetUpFrontTurningLeft.xml", "GetUpFrontTurningLeft", getup(getup_frames("back", "T0")))
    write(data, "getup/OpenandCloseArms.xml", "OpenandCloseArms", open_and_close_arms())
    write(data, "goalie/GoalieHockey.xml", "GoalieHockey", goalie_hockey())
    write(data, "goalie/GoalieHockeyDefend.xml", "GoalieHockeyDefend", goalie_defend())
    write(data, "goalie/FallToLeft.xml", "FallToLeft", fall_left())
    write(data, "goalie/FallToRight.xml", "FallToRight", fall_right())
    write(data, "zero/ZeroPosition.xml", "ZeroPosition", zero_position())
    kicks = {}
    for t in ("T0", "T1", "T2", "T3", "T4"):
        kicks["SuperKickRight" + ("" if t == "T0" else t)] = kick_motion(t)
    # The goal kicks are the super kicks.
    for name, t in (("SGoalKickRight", "T0"), ("SGoalKickRightT2", "T2")):
        kicks[name] = kick_motion(t)
    kicks["New5mKickRight2ZMP"] = std_kick_right("T0", 1.2)
    kicks["New5mKickRight2ZMPH1"] = std_kick_right("T2", 1.2)
    # Type 4's left super kick mirrors a right kick tuned to leave 25 degrees
    # to the right (T4L), so that it leaves 25 degrees to the left of the body.
    mirrored = dict(kicks)
    if "T4L" in KICKS:
        mirrored["SuperKickRightT4"] = kick_motion("T4L")
    for name, (m, gains) in kicks.items():
        write(data, "kick/%s.xml" % name, name, m, gains)
        if name != "SuperKickRightT1":
            left = name.replace("Right", "Left")
            m, gains = mirrored[name]
            write(data, "kick/%s.xml" % left, left, mirror_motion(m), mirror_gains(gains))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
