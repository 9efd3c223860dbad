#!/usr/bin/env python3
"""Whole-team games on a running simulation server, measured from its monitor port.

  realgame.py --port 3100 --monitor-port 3200 [options]

Our team joins first (start.sh: shirts 1 to 11, one a second, each with its robot
type), so it plays on the left. The opponent joins next: a copy of our team
(--opponent copy, start.sh again under another name) or a team that only stands
still (--opponent standing: build/tools/still_team/still-team with --gap
--join-gap: eleven players with start.sh's robot types that join one at a time,
beam to fixed places in their own half and answer every perception with (syn)
alone, so their joints never move). Once all 22 robots show in the
scene and --settle seconds have passed, the runner kicks off with (kickOff None)
on the monitor port, and again at half time when --halves is 2. It stops when
the game clock reaches --halves x --half-seconds, at GameOver, or when the server
stops stepping (--stall seconds without a new scene frame or a moving clock).

realgame-watch (built next to this script) follows the monitor port. From its
frames the runner counts:
  falls   a robot's torso tilted more than 60 degrees from upright or its centre
          lower than 0.2 m, counted again only after it stood again (within 30
          degrees and higher than 0.25 m: a get-up that only sits up is no new
          fall); split into before kick-off (joining and taking positions) and
          in play; "fallen" is the share of player-time spent down
  kicks   the ball's speed, over one monitor frame, rising by at least 0.5 m/s to
          at least 0.5 m/s in a mode with the clock running (not a teleport: less
          than 1.5 m in one frame; at least 0.3 s after the last one); each is
          given to the nearest robot, and "long" when the ball then travels 1 m
  score   from the monitor's header
Every --sample seconds it reads each agent's CPU time (user + system, from
/proc/PID/stat) and resident memory. CPU per cycle is CPU over the samples in
which the clock ran, divided by the clock's advance / 0.02 s. Memory growth is
from the first sample at game minute 1 (or kick-off, for shorter games) to the
end. With --server-pid it also reads the server's CPU and, when it stalls, where
it waits (/proc/PID/wchan and syscall).

The players' logs are in logs/TEAM/ (start.sh), the runner's own record (the
watch lines, the samples, the table) in --out. Everything it started is ended at
the end and on Ctrl-C (the teams with kill.sh); it never starts or stops a server.
"""

import argparse
import json
import math
import os
import signal
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(HERE, "..", "endurance"))
from endurance import cpu_seconds, end_process, robot_file, robot_types, rss_kib  # noqa: E402

CYCLE = 0.02
BEFORE_KICK_OFF, PLAY_ON, GAME_OVER = 0, 3, 12
GOAL_MODES = (13, 14)
FALL_TILT, UP_TILT = 60.0, 30.0  # degrees from upright
FALL_Z, UP_Z = 0.2, 0.25          # torso centre height, m
KICK_DV, KICK_GAP, TELEPORT = 0.5, 0.3, 1.5
JOIN_TIMEOUT = 30


def is_player(pid, team, unum):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            args = f.read().split(b"\0")
    except OSError:
        return False
    return (b"-t" in args and args[args.index(b"-t") + 1:][:1] == [team.encode()]
            and b"-u" in args and args[args.index(b"-u") + 1:][:1] == [str(unum).encode()])


def server_wait(pid):
    """Where a process waits: its wchan and current syscall line."""
    out = []
    for name in ("wchan", "syscall"):
        try:
            with open("/proc/%d/%s" % (pid, name)) as f:
                out.append("%s=%s" % (name, f.read().strip()))
        except OSError as e:
            out.append("%s=? (%s)" % (name, e.strerror))
    return " ".join(out)


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


class StandingTeam:
    """still-team as a child: eleven players that join one at a time (the next once the
    last one's robot exists and --join-gap after it), beam to their places in their own
    half and then only answer (syn). Their robot types are start.sh's."""

    def __init__(self, host, port, team, program, record):
        self.host, self.port, self.team, self.program, self.record = host, port, team, program, record
        self.proc = None

    def start(self, join, gap, shown):
        if not os.access(self.program, os.X_OK):
            sys.exit("no still-team program at %s (build it first)" % self.program)
        with open(self.record, "wb") as log:
            self.proc = subprocess.Popen([self.program, "--host", self.host, "--port", str(self.port),
                                          "--team", self.team, "--gap", str(gap)],
                                         stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        for unum in range(1, 12):
            begun = time.time()
            ok = wait_for(lambda: shown(unum) or self.proc.poll() is not None, JOIN_TIMEOUT, 0.05)
            ok = ok and self.proc.poll() is None
            print("standing player %d of %s: %s after %.1f s" %
                  (unum, self.team, "joined" if ok else "NOT joined", time.time() - begun), flush=True)
            if not ok:
                break

    def end(self):
        if self.proc:
            end_process(self.proc, signal.SIGINT)


class OurTeam:
    """A team of our agents, each started as start.sh starts it (data/ as working folder,
    its robot type, output in logs/TEAM/playerN.log, process id in logs/TEAM/pids) and
    ended with kill.sh. With join "gated" each player starts only once the one before
    shows in the scene with its shirt number; with "start.sh" the script itself runs."""

    def __init__(self, host, port, team, agent, types):
        self.team = team
        self.host, self.port, self.agent, self.types = host, port, agent, types
        self.players = []  # (unum, pid)

    def start(self, join, gap, shown):
        logs = os.path.join(ROOT, "logs", self.team)
        pids = os.path.join(logs, "pids")
        if os.path.exists(pids):
            subprocess.call([os.path.join(ROOT, "kill.sh"), "-t", self.team])
        if join == "start.sh":
            env = dict(os.environ, QV_AGENT=self.agent)
            subprocess.check_call([os.path.join(ROOT, "start.sh"), "-h", self.host, "-p", str(self.port),
                                   "-t", self.team], env=env)
            with open(pids) as f:
                for line in f:
                    pid, unum = line.split()
                    self.players.append((int(unum), int(pid)))
            return
        os.makedirs(logs, exist_ok=True)
        for unum in range(1, 12):
            robot = robot_file(self.types[unum])
            with open(os.path.join(logs, "player%d.log" % unum), "wb") as log:
                p = subprocess.Popen([self.agent, "-h", self.host, "-p", str(self.port), "-t", self.team,
                                      "-u", str(unum), "-robot", robot], cwd=os.path.join(ROOT, "data"),
                                     stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
            with open(pids, "a") as f:
                f.write("%d %d\n" % (p.pid, unum))
            self.players.append((unum, p.pid))
            begun = time.time()
            ok = wait_for(lambda: shown(unum) or p.poll() is not None, JOIN_TIMEOUT, 0.05)
            print("player %d of %s: process %d, robot %s, %s after %.1f s" %
                  (unum, self.team, p.pid, robot, "joined" if ok and p.poll() is None else "NOT joined",
                   time.time() - begun), flush=True)
            time.sleep(max(0.0, gap - (time.time() - begun)))

    def alive(self, pid, unum):
        return is_player(pid, self.team, unum)

    def end(self):
        if self.players:
            subprocess.call([os.path.join(ROOT, "kill.sh"), "-t", self.team])


class Watch:
    """realgame-watch as a child: the latest frame and the events found in all frames."""

    def __init__(self, program, host, port, record):
        """With program None it only takes the lines given to feed()."""
        self.proc = None
        if program:
            self.proc = subprocess.Popen([program, "--host", host, "--monitor-port", str(port)],
                                         stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.record = open(record, "w") if record else None
        self.frames = 0
        self.last = None       # (time, pm, half, sl, sr, bx, by, players)
        self.last_wall = None  # wall clock of the last frame
        self.clock_wall = None  # wall clock when the game clock last moved
        self.kicked_off = False
        self.at_kick_off = None  # the robots in the last frame before the first kick-off
        self.falls = {}        # player -> [before kick-off, in play]
        self.down = {}
        self.down_time = {}    # player -> game seconds spent fallen after kick-off
        self.kicks = []        # [time, player, start x, start y, travelled]
        self.ball = None       # (time, x, y, speed)
        self.lock = threading.Lock()
        if self.proc:
            threading.Thread(target=self._read, daemon=True).start()

    def send(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()

    def _read(self):
        for line in self.proc.stdout:
            self.record.write(line)
            self.feed(line)

    def feed(self, line):
        parts = line.split()
        if not parts or parts[0] != "F" or len(parts) < 8:
            return
        try:
            t, pm, half, sl, sr = float(parts[1]), int(parts[2]), int(parts[3]), int(parts[4]), int(parts[5])
            bx, by = float(parts[6]), float(parts[7])
            players = {}
            for i in range(8, len(parts) - 4, 5):
                players[parts[i]] = tuple(float(v) for v in parts[i + 1:i + 5])
        except ValueError:
            return
        with self.lock:
            if pm != BEFORE_KICK_OFF and not self.kicked_off:
                self.kicked_off = True
                self.at_kick_off = self.last[7] if self.last else {}
            self._take(t, pm, half, sl, sr, bx, by, players)

    def _take(self, t, pm, half, sl, sr, bx, by, players):
        now = time.time()
        if self.last is None or t != self.last[0]:
            self.clock_wall = now
        self.frames += 1
        self.last_wall = now
        phase = 1 if self.kicked_off else 0
        dt = t - self.last[0] if self.last and t > self.last[0] else 0.0
        for name, (x, y, z, tilt) in players.items():
            if self.down.get(name) and phase:
                self.down_time[name] = self.down_time.get(name, 0.0) + dt
            self.falls.setdefault(name, [0, 0])
            if not self.down.get(name) and (tilt > FALL_TILT or z < FALL_Z):
                self.down[name] = True
                self.falls[name][phase] += 1
            elif self.down.get(name) and tilt < UP_TILT and z > UP_Z:
                self.down[name] = False
        running = pm not in (BEFORE_KICK_OFF, GAME_OVER) and pm not in GOAL_MODES
        if not math.isnan(bx):
            for k in self.kicks[-3:]:
                if t - k[0] < 3:
                    k[4] = max(k[4], math.hypot(bx - k[2], by - k[3]))
            if self.ball and t > self.ball[0]:
                step = math.hypot(bx - self.ball[1], by - self.ball[2])
                speed = step / (t - self.ball[0])
                if (running and step < TELEPORT and speed >= KICK_DV and speed - self.ball[3] >= KICK_DV
                        and (not self.kicks or t - self.kicks[-1][0] >= KICK_GAP)):
                    near = min(players.items(), key=lambda p: math.hypot(p[1][0] - bx, p[1][1] - by),
                               default=(None, None))[0]
                    self.kicks.append([t, near, self.ball[1], self.ball[2], 0.0])
                self.ball = (t, bx, by, speed if step < TELEPORT else 0.0)
            elif self.ball is None or t != self.ball[0]:
                self.ball = (t, bx, by, 0.0)
        self.last = (t, pm, half, sl, sr, bx, by, players)

    def state(self):
        with self.lock:
            return self.last, self.last_wall, self.clock_wall

    def end(self):
        if not self.proc:
            return
        try:
            self.proc.stdin.close()
        except OSError:
            pass
        try:
            self.proc.wait(timeout=3)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.record.close()


def wait_for(cond, seconds, step=0.2):
    end = time.time() + seconds
    while time.time() < end:
        if cond():
            return True
        time.sleep(step)
    return cond()


def median(values):
    v = sorted(values)
    if not v:
        return float("nan")
    return v[len(v) // 2] if len(v) % 2 else (v[len(v) // 2 - 1] + v[len(v) // 2]) / 2


def run(args):
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    types = robot_types()
    watch = Watch(args.watch, args.host, args.monitor_port, os.path.join(out, "watch.txt"))
    if not wait_for(lambda: watch.state()[0] is not None, 15):
        watch.end()
        sys.exit("no scene from the monitor port %s:%d" % (args.host, args.monitor_port))
    ours = OurTeam(args.host, args.port, args.team, args.agent, types)
    if args.opponent == "copy":
        theirs = OurTeam(args.host, args.port, args.opponent_team, args.agent, types)
    else:
        theirs = StandingTeam(args.host, args.port, args.opponent_team, args.still_team,
                              os.path.join(out, "standing.log"))

    def shown(side):
        def check(unum):
            f = watch.state()[0]
            return f is not None and "%s%d" % (side, unum) in f[7]
        return check
    teams = [ours, theirs]
    agents = []  # (team, unum, pid)
    samples = []  # (wall, game time, pm, {(team, unum): (cpu, rss)}, server cpu)
    result = {"load_start": load_average(), "mode": args.mode_label, "stalled": None}
    log = open(os.path.join(out, "samples.jsonl"), "w")

    def sample():
        frame_, _, _ = watch.state()
        t, pm = (frame_[0], frame_[1]) if frame_ else (0.0, -1)
        per = {}
        for team, unum, pid in agents:
            alive = team.alive(pid, unum)
            per["%s/%d" % (team.team, unum)] = (cpu_seconds(pid) if alive else None,
                                                 rss_kib(pid) if alive else None)
        srv = cpu_seconds(args.server_pid) if args.server_pid else None
        s = (time.time(), t, pm, per, srv)
        samples.append(s)
        log.write(json.dumps(s) + "\n")
        log.flush()
        return s

    def stalled(limit):
        frame_, wall, clock = watch.state()
        now = time.time()
        if wall is None or now - wall > limit:
            return "no scene frame for %.0f s" % (now - (wall or now))
        if frame_[1] not in (BEFORE_KICK_OFF, GAME_OVER) and clock and now - clock > limit:
            return "game clock stuck at %.2f for %.0f s" % (frame_[0], now - clock)
        return None

    try:
        t0 = time.time()
        print("== %s joins (left)" % args.team, flush=True)
        ours.start(args.join, args.join_gap, shown("L"))
        agents += [(ours, u, p) for u, p in ours.players]
        time.sleep(args.join_gap)
        print("== %s joins (right, %s)" % (args.opponent_team, args.opponent), flush=True)
        theirs.start(args.join, args.join_gap, shown("R"))
        if isinstance(theirs, OurTeam):
            agents += [(theirs, u, p) for u, p in theirs.players]
        shown = lambda: watch.state()[0] is not None and len(watch.state()[0][7]) >= 22
        if not wait_for(shown, 30):
            print("only %d robots show in the scene" % len(watch.state()[0][7]), flush=True)
        result["joined_s"] = time.time() - t0
        settle_end = time.time() + args.settle
        while time.time() < settle_end:
            sample()
            why = stalled(args.stall)
            if why:
                result["stalled"] = "before kick-off: " + why
                break
            time.sleep(min(args.sample, max(0.0, settle_end - time.time())))
        end_time = args.halves * args.half_seconds
        kicked = set()
        last_print = 0.0
        while result["stalled"] is None:
            frame_, _, _ = watch.state()
            t, pm, half = frame_[0], frame_[1], frame_[2]
            if pm == BEFORE_KICK_OFF:
                h = 1 if t < args.half_seconds - 1 else 2
                if h not in kicked and h <= args.halves:
                    if h == 2:
                        time.sleep(args.settle)
                    watch.send("(kickOff None)")
                    kicked.add(h)
                    print("== kick-off of half %d at game time %.2f (load %s)" % (h, t, load_average()),
                          flush=True)
            if pm == GAME_OVER or t >= end_time:
                break
            if args.halves == 2 and args.half_seconds < 300 and half == 1 and t >= args.half_seconds \
                    and 1 in kicked and pm != BEFORE_KICK_OFF:
                watch.send("(time 300)")  # ends the first half early
            s = sample()
            if s[0] - last_print >= 10:
                last_print = s[0]
                dead = sum(1 for team, unum, pid in agents if not team.alive(pid, unum))
                print("t %7.2f pm %2d score %d:%d frames %6d falls %3d kicks %3d dead %d load %s" %
                      (t, pm, frame_[3], frame_[4], watch.frames,
                       sum(f[1] for f in watch.falls.values()), len(watch.kicks), dead, load_average()),
                      flush=True)
            why = stalled(args.stall)
            if why:
                result["stalled"] = why
                if args.server_pid:
                    result["stalled"] += "; server " + server_wait(args.server_pid)
                break
            if args.max_wall and time.time() - t0 > args.max_wall:
                result["stalled"] = "stopped after --max-wall %.0f s" % args.max_wall
                break
            time.sleep(args.sample)
        sample()
        result["load_end"] = load_average()
        report(args, watch, agents, samples, result, out)
    finally:
        for team in teams:
            team.end()
        watch.end()
        log.close()


def report(args, watch, agents, samples, result, out, name="result.txt"):
    lines = []
    p = lambda s="": lines.append(s)
    frame_ = watch.state()[0]
    running = [(a, b) for a, b in zip(samples, samples[1:])
               if a[2] not in (BEFORE_KICK_OFF, GAME_OVER, -1) and b[2] not in (BEFORE_KICK_OFF, -1)
               and b[1] > a[1]]
    game_s = sum(b[1] - a[1] for a, b in running)
    wall_s = sum(b[0] - a[0] for a, b in running)
    cycles = game_s / CYCLE
    kick_time = next((s for s in samples if s[2] not in (BEFORE_KICK_OFF, -1)), None)
    growth_from = next((s for s in samples if s[1] >= 60 and s[2] != -1), None) if game_s > 90 else kick_time
    p("result: %s vs %s (%s), %s mode" % (args.team, args.opponent_team, args.opponent, result["mode"]))
    p("game clock ran %.1f s (%d cycles) in %.1f s of wall clock (%.2f x real time); stopped: %s" %
      (game_s, cycles, wall_s, game_s / wall_s if wall_s else 0, result["stalled"] or "no"))
    p("load average at start %s, at end %s" % (result["load_start"], result["load_end"]))
    if frame_:
        p("score %s %d : %d %s (half %d, clock %.2f)" % (args.team, frame_[3], frame_[4], args.opponent_team,
                                                         frame_[2], frame_[0]))
    n_agents = len(agents)
    dead = [(team.team, unum) for team, unum, pid in agents if samples and
            samples[-1][3].get("%s/%d" % (team.team, unum), (None,))[0] is None]
    p("agent processes: %d, ended before the end: %d %s" % (n_agents, len(dead), dead if dead else ""))
    # Falls
    minutes = game_s / 60
    for side, name in (("L", args.team), ("R", args.opponent_team)):
        before = [watch.falls.get("%s%d" % (side, u), [0, 0])[0] for u in range(1, 12)]
        inplay = [watch.falls.get("%s%d" % (side, u), [0, 0])[1] for u in range(1, 12)]
        down = sum(watch.down_time.get("%s%d" % (side, u), 0.0) for u in range(1, 12))
        still = sum(1 for u in range(1, 12) if watch.down.get("%s%d" % (side, u)))
        lying = " ".join("%.0f" % (100 * watch.down_time.get("%s%d" % (side, u), 0.0) / game_s if game_s else 0)
                         for u in range(1, 12))
        p("falls %-8s before kick-off %2d, in play %3d (%.3f per player-minute); per shirt 1-11: %s;"
          " fallen %.0f%% of the player-time; %d down at the end" %
          (name, sum(before), sum(inplay), sum(inplay) / (11 * minutes) if minutes else 0,
           " ".join(str(f) for f in inplay), 100 * down / (11 * game_s) if game_s else 0, still))
        p("      %-8s per cent of the time fallen, per shirt 1-11: %s" % (name, lying))
    if watch.at_kick_off is not None:
        for side, name in (("L", args.team), ("R", args.opponent_team)):
            mine = [v for k, v in watch.at_kick_off.items() if k[0] == side]
            own = [v for v in mine if (v[0] < 0) == (side == "L")]
            p("at kick-off %-8s %2d robots shown, %2d upright (tilt < %.0f), %2d in their own half" %
              (name, len(mine), sum(1 for v in mine if v[3] < FALL_TILT), FALL_TILT, len(own)))
    kicks = watch.kicks
    by = {"L": 0, "R": 0, None: 0}
    for k in kicks:
        by[k[1][0] if k[1] else None] += 1
    p("ball kicks %d (%d by %s, %d by %s), %d of them moved the ball 1 m or more" %
      (len(kicks), by["L"], args.team, by["R"], args.opponent_team, sum(1 for k in kicks if k[4] >= 1.0)))
    # CPU and memory per agent
    rows = []
    for team, unum, pid in agents:
        key = "%s/%d" % (team.team, unum)
        cpu = 0.0
        for a, b in running:
            ca, cb = a[3].get(key, (None,))[0], b[3].get(key, (None,))[0]
            if ca is not None and cb is not None:
                cpu += cb - ca
        rss_from = growth_from[3].get(key, (None, None))[1] if growth_from else None
        last = next((s[3][key][1] for s in reversed(samples) if s[3].get(key, (None, None))[1] is not None), None)
        rows.append((key, cpu / cycles * 1000 if cycles else float("nan"), rss_from, last))
    if rows:
        p()
        p("%-16s %10s %10s %10s %10s" % ("agent", "cpu ms/cyc", "rss from", "rss end", "growth"))
        for key, cpu, a, b in rows:
            p("%-16s %10.3f %10s %10s %10s" % (key, cpu, a, b, (b - a) if a is not None and b is not None else "-"))
        cpus = [r[1] for r in rows]
        growth = [r[3] - r[2] for r in rows if r[2] is not None and r[3] is not None]
        p("cpu ms per agent per cycle: median %.3f, max %.3f; rss growth KiB (from %s): median %s, max %s" %
          (median(cpus), max(cpus), "game minute 1" if game_s > 90 else "kick-off",
           median(growth) if growth else "-", max(growth) if growth else "-"))
    if args.server_pid and running:
        a, b = running[0][0], running[-1][1]
        if a[4] is not None and b[4] is not None:
            p("server cpu ms per cycle %.3f" % ((b[4] - a[4]) / cycles * 1000 if cycles else float("nan")))
    text = "\n".join(lines)
    print("\n" + text, flush=True)
    with open(os.path.join(out, name), "w") as f:
        f.write(text + "\n")


def replay(args):
    """The falls, kicks and score of a recorded watch.txt, and CPU and memory from its
    samples.jsonl when it lies next to it."""
    samples, agents = [], []
    path = os.path.join(os.path.dirname(os.path.abspath(args.replay)), "samples.jsonl")
    if os.path.exists(path):
        with open(path) as f:
            samples = [json.loads(line) for line in f]
        teams = {}
        for key in (samples[-1][3] if samples else {}):
            name, unum = key.split("/")
            teams.setdefault(name, OurTeam(None, None, name, None, None))
            agents.append((teams[name], int(unum), None))
    end = samples[-1][1] if samples else float("inf")
    watch = Watch(None, None, None, None)
    with open(args.replay) as f:
        for line in f:
            parts = line.split(None, 2)
            if len(parts) > 1 and parts[0] == "F" and float(parts[1]) > end:
                break
            watch.feed(line)
    result = {"load_start": "-", "load_end": "-", "mode": args.mode_label, "stalled": "replayed"}
    report(args, watch, agents, samples, result, os.path.dirname(os.path.abspath(args.replay)), "replay.txt")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--host", default="127.0.0.1", help="server host (default 127.0.0.1)")
    ap.add_argument("--port", type=int, default=3100, help="agent port (default 3100)")
    ap.add_argument("--monitor-port", type=int, default=3200, help="monitor port (default 3200)")
    ap.add_argument("--opponent", choices=("copy", "standing"), default="copy",
                    help="a copy of our team or a team that only stands (default copy)")
    ap.add_argument("--team", default="Ours", help="our team's name (default Ours)")
    ap.add_argument("--opponent-team", help="the opponent's name (default Copy or Standing)")
    ap.add_argument("--half-seconds", type=float, default=300, help="game seconds of a half (default 300; "
                    "below 300 with two halves the clock is set to 300 to end the first)")
    ap.add_argument("--halves", type=int, choices=(1, 2), default=1, help="halves to play (default 1)")
    ap.add_argument("--settle", type=float, default=5, help="seconds after all joined before kick-off")
    ap.add_argument("--join", choices=("gated", "start.sh"), default="gated",
                    help="gated: each player starts once the one before shows in the scene with its "
                    "shirt number, at least --join-gap after it (default); start.sh: our teams join "
                    "through start.sh (one a second, not waiting)")
    ap.add_argument("--join-gap", type=float, default=1.0, help="least seconds between two players (default 1)")
    ap.add_argument("--sample", type=float, default=1.0, help="seconds between CPU/memory samples")
    ap.add_argument("--stall", type=float, default=10, help="seconds without progress that count as a stall")
    ap.add_argument("--max-wall", type=float, help="stop after this many wall seconds")
    ap.add_argument("--server-pid", type=int, help="the server's process id, for its CPU and a stall's cause")
    ap.add_argument("--mode-label", default="real-time", help="how the server runs, for the report")
    ap.add_argument("--agent", default=os.path.join(ROOT, "build/agent"), help="agent program")
    ap.add_argument("--still-team", default=os.path.join(ROOT, "build/tools/still_team/still-team"),
                    help="the standing team's program")
    ap.add_argument("--watch", default=os.path.join(ROOT, "build/tools/realgame/realgame-watch"),
                    help="the monitor follower")
    ap.add_argument("--out", default=os.path.join(ROOT, "logs/realgame"), help="the runner's record")
    ap.add_argument("--replay", metavar="WATCH_TXT", help="only report on a recorded watch.txt (and the "
                    "samples.jsonl beside it); no server needed")
    args = ap.parse_args()
    if args.opponent_team is None:
        args.opponent_team = "Copy" if args.opponent == "copy" else "Standing"
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        replay(args) if args.replay else run(args)
    except KeyboardInterrupt:
        sys.exit(130)


if __name__ == "__main__":
    main()
