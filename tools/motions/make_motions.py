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


def getup_front(scale):
    """Face down: arms overhead, push the chest up with straight arms, fold
    the legs under the hips, then the arms push the torso back over the
    feet into a squat, and the robot rises to the stance."""
    return [
        (0.25 * scale, pose(legs(0, 0, 0), arms(90, 0, 0, 0))),
        (0.25 * scale, pose(legs(0, 0, 0), arms(0, 0, 0, 0))),
        (0.35 * scale, pose(legs(100, -130, -45), arms(0, 0, 0, 0))),
        (0.3 * scale, pose(legs(100, -130, 60), arms(-60, 10, 0, 0))),
        (0.4 * scale, pose(legs(100, -130, 60), arms(-90, 10, -80, -20))),
        (0.5 * scale, READY),
    ]


def getup_back(scale):
    """Face up: arms down behind the torso, sit up with the hips folded,
    bring the feet under the seat with the arms pushing, then squat and
    rise to the stance."""
    return [
        (0.3 * scale, pose(legs(0, 0, 0), arms(-120, 0, 0, 0))),
        (0.3 * scale, pose(legs(100, 0, 0), arms(-120, 0, 0, 0))),
        (0.3 * scale, pose(legs(100, -130, 60), arms(-120, 30, 0, 0))),
        (0.3 * scale, pose(legs(60, -130, 70), arms(-120, 30, 0, 0))),
        (0.4 * scale, pose(legs(80, -125, 55), arms(0, 10, 0, 0))),
        (0.5 * scale, READY),
    ]


def super_kick_right(yaw=0, slow=1.0, swing=60):
    """Weight onto the left foot, the right leg drawn back, swung through
    the ball straight, back to the stance. yaw turns the swinging foot
    inward so that the ball leaves to the left of the body direction."""
    shift = legs(27, -61, 34, -8, -8, 8, 8)
    back = dict(shift)
    back.update({3: yaw, 7: 0, 9: -100, 11: 40})
    hit = dict(shift)
    hit.update({3: yaw, 7: swing, 9: -10, 11: 0})
    arm = arms(-90, 15, -80, -20)
    return [
        (0.3 * slow, pose(shift, arm)),
        (0.25 * slow, pose(back, arm)),
        (0.1, pose(hit, arm)),
        (0.3 * slow, pose(shift, arm)),
        (0.3 * slow, READY),
    ]


def std_kick_right(slow=1.0):
    return super_kick_right(0, slow, 45)


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
    return [(d, mirror(p)) for d, p in m]


def write(data, rel, name, motion):
    path = os.path.join(data, "movs", rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write('<?xml version="1.0"?>\n')
        f.write("<!-- Written by tools/motions/make_motions.py. -->\n")
        f.write('<behavior name="%s" type="SlotBehavior">\n' % name)
        for i, (delta, p) in enumerate(motion):
            f.write('  <slot name="s%d" delta="%g">\n' % (i, round(delta, 3)))
            for j in sorted(p):
                a = round(p[j], 1)
                f.write('    <move id="%d" angle="%g"/>\n' % (j, 0.0 if a == 0 else a))
            f.write("  </slot>\n")
        f.write("</behavior>\n")


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
    # Longer legs rise a little slower.
    scale = {"T0": 1.0, "T1": 1.15, "T3": 1.2, "T4": 1.0}
    for t, s in scale.items():
        write(data, "getup/GetupFront%s.xml" % t, "GetupFront" + t, getup_front(s))
        write(data, "getup/GetupBack%s.xml" % t, "GetupBack" + t, getup_back(s))
    write(data, "getup/GetUpFromHockey.xml", "GetUpFromHockey", getup_from_hockey())
    write(data, "getup/GetUpFrontTurningRight.xml", "GetUpFrontTurningRight", getup_front(1.0))
    write(data, "getup/GetUpFrontTurningLeft.xml", "GetUpFrontTurningLeft", getup_back(1.0))
    write(data, "getup/OpenandCloseArms.xml", "OpenandCloseArms", open_and_close_arms())
    write(data, "goalie/GoalieHockey.xml", "GoalieHockey", goalie_hockey())
    write(data, "goalie/GoalieHockeyDefend.xml", "GoalieHockeyDefend", goalie_defend())
    write(data, "goalie/FallToLeft.xml", "FallToLeft", fall_left())
    write(data, "goalie/FallToRight.xml", "FallToRight", fall_right())
    write(data, "zero/ZeroPosition.xml", "ZeroPosition", zero_position())
    kicks = {
        "SuperKickRight": super_kick_right(),
        "SuperKickRightT1": super_kick_right(yaw=-30),
        "SuperKickRightT2": super_kick_right(slow=1.2),
        "SuperKickRightT3": super_kick_right(slow=1.1),
        "SuperKickRightT4": super_kick_right(yaw=-25),
        "SGoalKickRight": super_kick_right(swing=70),
        "SGoalKickRightT2": super_kick_right(slow=1.2, swing=70),
        "New5mKickRight2ZMP": std_kick_right(),
        "New5mKickRight2ZMPH1": std_kick_right(1.2),
    }
    for name, m in kicks.items():
        write(data, "kick/%s.xml" % name, name, m)
        if name != "SuperKickRightT1":
            left = name.replace("Right", "Left")
            write(data, "kick/%s.xml" % left, left, mirror_motion(m))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
