#!/usr/bin/python3
"""Tunes the kick record by CMA-ES on short sync-mode runs of one of the field test's kick scenarios.

Usage: tools/fieldtest/kicktune.py [--port P] [--monitor-port M] [--types LIST]
           [--evaluations N] [--trials K] [--out FILE] [--start P1,P2,..] [--sigma S] [--rest S]
           [--scenario NAME] [--time S] [--seed S] [--angle-penalty W] [--fall-penalty F] [--cap C]
           [--tune NAMES] [--record NAME] [--tool PATH]
       tools/fieldtest/kicktune.py --table N [--mode sync|normal] [--types LIST] [--scenario NAME] ...
Run from the top of the repository after building (build/tools/fieldtest/fieldtest).
The scenario is kick by default (the kick alone, the ball at the foot); walk-kick (the
walk-and-kick engine, then the kick) and omni-kick (the agent's own ZMP-walk approach and
omnidirectional kick) tune it for an approach.
It starts its own rcssserver3d in sync mode on the given ports (via
/work/simspark-conf/run-server.sh, or $KICK_SERVER), runs each candidate record
K times per robot type from a scratch copy of data/, and writes the best record found to FILE
(data/movs/RECORD by default) with a newline at the end, after its settle line
(the seconds the kick stands on both feet in its last phase's stance before phase 1).
RECORD (--record) is parametrosOmnikick.txt, the record every robot type shares, by default;
parametrosOmnikickT<N>.txt is type N's own record, which the kick reads first. While the shared
record is tuned, the tuned types' own records are left out of the scratch copy, so that they
kick with the candidate.
The back phase's speed limits (back_roll_v: both legs' rolls, back_v: the kicking leg's pitch
joints, back_support_v: the support leg's) are tuned too; a --start without them keeps 2, 3, 2.
The support leg's pitch joints may move during the kick: kick_sup_hip/knee/ankle (deg) are added
to its hip, knee and ankle targets in the kick phase, lift_sup_hip/knee/ankle in the lift phase
(a pre-load), at sup_v rad/s in both; a --start without them keeps 0, 0, 0, 0, 0, 0, 3 (the
support leg holds its stance at 3 rad/s).
By default the search leaves the support leg's moves at the --start's values; --tune NAMES
searches only the named parameters (e.g. kick_sup_hip,kick_sup_knee,sup_v), the rest kept.
The score of a trial is the ball's travel along the aim, less F (--fall-penalty, 5) when the
kicker falls and less W (--angle-penalty) per degree beyond 15 off the aim, at most C (--cap);
a candidate scores its worst run, or with --score mean the mean of its runs.
With --table N it searches nothing: it runs the records in data/ (each type its own or the
shared one, as the kick reads them) N times per robot type (the seeds vary the ball's place)
and prints per type the runs that reached the kick without a fall,
the ball's travel (median, min), its angle off the aim (median, max), the runs of 2 m within
20 degrees without a fall, and the falls before, in and after the kick.
"""
import argparse
import math
import os
import shutil
import signal
import subprocess
import sys

import numpy as np
from cmaes import CMA

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "motiontune"))
from motiontune import Server, scratch  # noqa: E402

NAMES = ["shift_s", "lift_s", "kick_s", "back_s", "roll", "lift_hip", "lift_knee", "lift_ankle",
         "kick_hip", "kick_knee", "kick_ankle", "lean", "kick_roll", "shift_speed", "leg_roll", "settle",
         "end_lean", "back_roll_v", "back_v", "back_support_v", "kick_sup_hip", "kick_sup_knee",
         "kick_sup_ankle", "lift_sup_hip", "lift_sup_knee", "lift_sup_ankle", "sup_v"]
# The record in data/.
START = [0.7088, 0.08337, 0.3822, 0.9996, 11.61, -0.2104, -111.6, 19.37, 66.32, -5.188, -23.56, -0.93, -0.926, 0.4084,
         6.065, 0.5, 6, 1.984, 3.453, 2, 0, 0, 0, 0, 0, 0, 3]
# The back phase's speeds of a --start that stops after end_lean.
BACK_SPEEDS = [2, 3, 2]
# The support leg's moves of a --start that stops after back_support_v: it holds its stance.
SUPPORT = [0, 0, 0, 0, 0, 0, 3]
SCALE = [0.1, 0.08, 0.06, 0.15, 3, 12, 15, 12, 15, 10, 12, 4, 3, 0.3, 5, 0.15, 4, 0.6, 1.0, 0.5,
         8, 8, 8, 6, 6, 6, 1.0]
LOW = [0.2, 0.02, 0.04, 0.2, 5, -25, -125, -40, 0, -110, -40, -10, -8, 0.3, -15, 0, -8, 0.1, 0.5, 0.3,
       -40, -40, -30, -25, -30, -25, 1]
HIGH = [0.9, 0.8, 0.5, 1.6, 22, 40, 0, 70, 95, 0, 70, 20, 12, 3, 15, 0.8, 14, 3, 6.1, 3,
        25, 40, 30, 25, 40, 25, 6.1]
MAX = 6.1395447
FIRST = len(NAMES) - len(BACK_SPEEDS) - len(SUPPORT)


def record(p):
    """The 100 numbers of a kick record from the parameters."""
    (d1, d2, d3, d4, roll, lh, lk, la, kh, kk, ka, lean, kroll, v, lr, _, end_lean, roll_v, back_v, support_v,
     sh, sk, sa, ph, pk, pa, sv) = p
    # The stance the kick settles in first and ends in, leaning forward by end_lean.
    base = [0, 0, 22 - end_lean, -44, 22 + end_lean, 0]
    # Positive lean tilts the body forward over the support foot.
    support = [0, -roll, 22 - lean + ph, -44 + pk, 22 + lean + pa, roll]
    slow = [2, v, 3, 3, 3, v]
    held = [2, v, sv, sv, sv, v]
    kick = [2, v, MAX, MAX, MAX, v]
    phases = [
        (d1, [0, -roll, 22, -44, 22, roll], [0, -roll, 22, -44, 22, roll], slow, slow),
        (d2, support, [0, -roll + lr, lh, lk, la, roll - lr], held, kick),
        (d1 + d3, [0, -roll - kroll, 22 - lean + sh, -44 + sk, 22 + lean + sa, roll + kroll],
         [0, -roll + lr, kh, kk, ka, roll - lr], held, kick),
        (d2 + d4, base, base, [2, roll_v, support_v, support_v, support_v, roll_v],
         [2, roll_v, back_v, back_v, back_v, roll_v]),
    ]
    out = []
    for t, l, r, lv, rv in phases:
        out += [t] + l + r + lv + rv
    return out


def write_record(path, p):
    with open(path, "w") as f:
        f.write("# Right-foot kick on the left leg: four phases of time, left and right leg targets (deg),\n")
        f.write("# left and right speed limits. Phase k ends at T(k-1) + T(k) from the start (T0 = 0).\n")
        f.write("# settle: seconds on both feet in the last phase's stance before phase 1.\n")
        f.write("settle %.4g\n" % p[15])
        f.write(" ".join("%.4g" % v for v in record(p)) + "\n")


def run_tool(cmd, cwd, timeout):
    """Runs the field test in its own process group and returns its standard error; on a time-out
    the whole group goes (each trial runs in a child of the tool), then TimeoutExpired is raised."""
    proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                            start_new_session=True)
    try:
        return proc.communicate(timeout=timeout)[1]
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        raise


def table(a, tool, work, server, log, run_time):
    """Runs the record in data/ --table times per robot type (the seeds vary the start) and prints,
    per type: runs that reached the kick without a fall, the ball's travel (median, min), its angle
    off the aim (median, max of the absolute), the runs of 2 m within 20 degrees, and the falls
    before, in and after the kick."""
    if os.path.exists(os.path.join("data", "movs", a.record)):
        shutil.copy(os.path.join("data", "movs", a.record), os.path.join(work, "movs"))
    types = list(range(5)) if a.types == "all" else [int(t) for t in a.types.split(",")]
    csv = os.path.join(work, "table.csv")
    print("type  reached  ball m median/min  off-aim deg median/max  2m<20deg  falls (before/in/after kick)")
    for t in types:
        srv = Server(server, a.port, a.monitor_port, log, a.mode)
        srv.start()
        try:
            err = run_tool([tool, "--server", "real", "--port", str(a.port), "--monitor-port",
                            str(a.monitor_port), "--types", str(t), "--scenarios", ",".join([a.scenario] * a.table),
                            "--time", str(run_time), "--seed", str(a.seed * 1000 + 100 * t), "--csv", csv], work,
                           60 * a.table * (1 if a.mode == "sync" else 4))
            rows = [r.split(",") for r in open(csv).read().split("\n")[1:] if r]
            starts = [l.split()[2:] for l in err.split("\n") if l.startswith("omni-kick started")]
            seen = [" ".join(v[2:]) for v in starts]
            models = [l.split()[3:5] for l in err.split("\n") if l.startswith("omni-kick model ball")]
            starts = [float(v[0]) for v in starts]
        except (subprocess.TimeoutExpired, OSError):
            rows, starts, seen, models = [], [], [], []
        finally:
            srv.stop()
        if len(starts) != len(rows):
            starts, seen = [-1.0] * len(rows), [""] * len(rows)
        if len(models) != len(rows):
            models = [["nan", "nan"]] * len(rows)
        travel, angle, good, before, during, after, reached = [], [], 0, 0, 0, 0, 0
        for f, k, b, mb in zip(rows, starts, seen, models):
            fell, at = int(f[9]), float(f[10])
            m, deg = (float(f[11]), float(f[12])) if f[11] else (0.0, 0.0)
            travel.append(m)
            angle.append(abs(deg))
            if k >= 0 and not (fell and at < k):
                reached += 1
            if fell:
                if k < 0 or at < k:
                    before += 1
                elif at < k + a.kick_seconds:
                    during += 1
                else:
                    after += 1
            if m >= 2 and abs(deg) <= 20 and not fell:
                good += 1
            if a.verbose:
                print("  type %d: ball %.2f m %.1f deg, kick at %.2f s (ball seen at %s), %s, start check's ball %s" %
                      (t, m, deg, k, b, "fell at %.2f s" % at if fell else "no fall", " ".join(mb)), flush=True)
        n = len(rows)
        if n == 0:
            print("%4d  no runs" % t, flush=True)
            continue
        print("%4d  %2d/%-2d    %5.2f / %5.2f      %5.1f / %5.1f          %2d/%-2d     %d (%d/%d/%d)" %
              (t, reached, n, float(np.median(travel)), min(travel), float(np.median(angle)), max(angle), good, n,
               before + during + after, before, during, after), flush=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--port", type=int, default=3431)
    ap.add_argument("--monitor-port", type=int, default=3441)
    ap.add_argument("--types", default="0", help="robot types, comma-separated or all; the worst run counts")
    ap.add_argument("--evaluations", type=int, default=120)
    ap.add_argument("--trials", type=int, default=2)
    ap.add_argument("--record", default="parametrosOmnikick.txt",
                    help="the record's file in movs/ (default parametrosOmnikick.txt, shared by every type)")
    ap.add_argument("--out", help="where the best record goes (default data/movs/RECORD)")
    ap.add_argument("--start", help="comma-separated parameters to start from, in the order " + " ".join(NAMES))
    ap.add_argument("--score", choices=["min", "mean"], default="min",
                    help="a candidate scores its worst run (min) or the mean of its runs")
    ap.add_argument("--rest", type=float, default=4, help="seconds the ball is given to come to rest")
    ap.add_argument("--sigma", type=float, default=0.6, help="initial step, in units of each parameter's scale")
    ap.add_argument("--scenario", default="kick", help="the field test's scenario a trial runs (default kick)")
    ap.add_argument("--time", type=float, help="seconds of each run (default: the rest and 1.5 s)")
    ap.add_argument("--seed", type=int, default=1, help="seed of the search and of the runs' seeds")
    ap.add_argument("--fall-penalty", type=float, default=5, help="score lost by a run with a fall (default 5)")
    ap.add_argument("--tune", help="comma-separated names of the parameters to search (default all but the "
                    "support leg's moves)")
    ap.add_argument("--cap", type=float, default=math.inf,
                    help="a run scores at most this much, so that a mean favours many good runs over a few long ones")
    ap.add_argument("--angle-penalty", type=float, default=0,
                    help="score lost per degree beyond 15 off the aim (default 0)")
    ap.add_argument("--tool", default="build/tools/fieldtest/fieldtest")
    ap.add_argument("--table", type=int, metavar="N",
                    help="no search: run the record in data/ N times per type and print the table")
    ap.add_argument("--mode", choices=["sync", "normal"], default="sync", help="the server's mode for --table")
    ap.add_argument("--kick-seconds", type=float, default=1.4,
                    help="for --table: a fall this soon after the kick starts counts as in the kick")
    ap.add_argument("--verbose", action="store_true",
                    help="for --table: a line per run, with the ball (m ahead, left of the torso) as the player's field "
                    "positions, the server and the start check's body model had it when the kick started")
    a = ap.parse_args()
    start = [float(v) for v in a.start.split(",")] if a.start else list(START)
    if len(start) == FIRST:
        start += BACK_SPEEDS
    if len(start) == FIRST + len(BACK_SPEEDS):
        start += SUPPORT
    if len(start) != len(START):
        ap.error("--start needs %d (or %d or %d) numbers" % (len(START), FIRST + len(BACK_SPEEDS), FIRST))
    names = a.tune.split(",") if a.tune else NAMES[:len(NAMES) - len(SUPPORT)]
    if any(n not in NAMES for n in names):
        ap.error("--tune takes names among " + " ".join(NAMES))
    run_time = a.time if a.time is not None else a.rest + 1.5
    top = os.getcwd()
    tool = os.path.abspath(a.tool)
    if a.out is None:
        a.out = os.path.join("data", "movs", a.record)
    work = scratch(os.path.join(top, "data"), a.record)
    if not a.table and a.record == "parametrosOmnikick.txt":
        for t in range(5) if a.types == "all" else [int(t) for t in a.types.split(",")]:
            own = os.path.join(work, "movs", "parametrosOmnikickT%d.txt" % t)
            if os.path.lexists(own):
                os.remove(own)
    server = os.environ.get("KICK_SERVER", "/work/simspark-conf/run-server.sh")
    log = open(os.path.join(work, "server.log"), "w")
    counter = [0]

    def evaluate(p):
        write_record(os.path.join(work, "movs", a.record), p)
        srv = Server(server, a.port, a.monitor_port, log)
        srv.start()
        csv = os.path.join(work, "runs.csv")
        if os.path.exists(csv):
            os.remove(csv)
        counter[0] += 1
        try:
            run_tool([tool, "--server", "real", "--port", str(a.port), "--monitor-port", str(a.monitor_port),
                      "--types", a.types, "--scenarios", ",".join([a.scenario] * a.trials), "--time",
                      str(run_time), "--seed", str(a.seed * 1000 + counter[0]), "--csv", csv], work, 400)
            rows = [r for r in open(csv).read().split("\n")[1:] if r]
        except (subprocess.TimeoutExpired, OSError):
            rows = []
        finally:
            srv.stop()
        scores = []
        for line in rows:
            f = line.split(",")
            if len(f) >= 14 and f[11]:
                travel, angle, fell = float(f[11]), float(f[12]), int(f[9])
                scores.append(min(a.cap, travel * math.cos(math.radians(angle)) - a.fall_penalty * fell
                                  - a.angle_penalty * max(0.0, abs(angle) - 15)))
        runs = a.trials * (5 if a.types == "all" else len(a.types.split(",")))
        if len(scores) != runs:
            return -10, scores
        return (min(scores) if a.score == "min" else sum(scores) / len(scores)), scores

    if a.table:
        table(a, tool, work, server, log, run_time)
        shutil.rmtree(work, ignore_errors=True)
        return 0
    x0 = np.array(start, dtype=float)
    tuned = [NAMES.index(n) for n in names]
    scale = np.zeros(len(start))
    scale[tuned] = np.array(SCALE)[tuned]
    bounds = np.array([[(LOW[i] - start[i]) / SCALE[i] for i in tuned],
                       [(HIGH[i] - start[i]) / SCALE[i] for i in tuned]]).T
    opt = CMA(mean=np.zeros(len(tuned)), sigma=a.sigma, bounds=bounds, population_size=8, seed=a.seed)
    best, runs = evaluate(list(x0))
    best_p = list(x0)
    print("start %.3f %s" % (best, " ".join("%.2f" % s for s in runs)), flush=True)
    n = 1
    while n < a.evaluations:
        sols = []
        for _ in range(opt.population_size):
            z = opt.ask()
            step = np.zeros(len(start))
            step[tuned] = z
            p = list(x0 + step * scale)
            s, runs = evaluate(p)
            n += 1
            sols.append((z, -s))
            print("%d %.3f %s" % (n, s, " ".join("%.2f" % v for v in runs)), flush=True)
            if s > best:
                best, best_p = s, p
                write_record(a.out, best_p)
                print("%d best %.3f %s" % (n, best, " ".join("%s=%.4g" % kv for kv in zip(NAMES, p))), flush=True)
                print("  --start " + ",".join("%.4g" % v for v in p), flush=True)
        opt.tell(sols)
    print("done: best %.3f written to %s" % (best, a.out))
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
