#!/usr/bin/python3
"""Tunes the walk's parameter file of one robot type by measurement.

Runs many short trials of the field-test tool against a running server (best a
real server in sync mode, so trials run faster than real time), each with a
candidate parameter file in a scratch copy of the data folder, and searches
with NLopt (Debian package python3-nlopt) for the parameters that give the
fastest steady forward walk without a fall; a fall in a shorter backward,
sideways or turning trial also costs. The best few are run again for the whole
check time in every walk and the fastest that falls in none is kept; with
--write it replaces data/skills/p<TYPE>.

  tools/walktune/walktune.py --type 0 --port 3411 --monitor-port 3421 --evals 60 --write

The server is not started here: start it first and give its ports.
"""

import argparse
import csv
import os
import shutil
import subprocess
import sys
import tempfile

import nlopt

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

# The parameter file: 16 numbers on 4 lines, in this order.
NAMES = ["minDx", "minDy", "thetaInc", "thetaRel", "maxThetaB", "thetaBMult",
         "heightCoM", "swingHeight", "legSeparation", "period",
         "dXmult", "dYmult", "thetaMult",
         "steps", "fComp", "bComp"]
LINES = [6, 4, 3, 3]
SCENARIOS = ["forward", "backward", "left", "right", "turn-left", "turn-right"]
OTHERS = ["backward", "left", "turn-left", "turn-right"]

# Hip-joint-to-ankle length of each robot type's straight leg (m).
LEG = {0: 0.2201, 1: 0.2567, 2: 0.2201, 3: 0.2758, 4: 0.2201}

# Tuned parameters and their search ranges; the COM height's upper bound
# stays below the straight leg.
def tuned(robot_type):
    return [
        ("period", 0.10, 0.40),
        ("dXmult", 0.10, 1.20),
        ("heightCoM", 0.70 * LEG[robot_type], 0.97 * LEG[robot_type]),
        ("swingHeight", 0.015, 0.09),
        ("minDx", -0.06, -0.005),
        ("legSeparation", 0.09, 0.14),
    ]


def read_params(path):
    with open(path) as f:
        values = [float(v) for v in f.read().split()]
    if len(values) != len(NAMES):
        sys.exit("%s: %d numbers, the walk needs %d" % (path, len(values), len(NAMES)))
    return dict(zip(NAMES, values))


def text_of(params):
    out, at = [], 0
    for n in LINES:
        row = []
        for name in NAMES[at:at + n]:
            v = params[name]
            row.append(str(int(round(v))) if name == "steps" else ("%.6g" % v))
        out.append(" ".join(row))
        at += n
    return "\n".join(out) + "\n"


def write_params(path, params):
    with open(path, "w") as f:
        f.write(text_of(params))


def run(args, data, robot_type, scenario, seconds):
    """One field-test run; the CSV row as a dict, or None when it did not run."""
    fd, out = tempfile.mkstemp(suffix=".csv")
    os.close(fd)
    cmd = [args.fieldtest, "--server", args.server, "--host", args.host,
           "--port", str(args.port), "--monitor-port", str(args.monitor_port),
           "--types", str(robot_type), "--scenarios", scenario, "--time", str(seconds),
           "--data", data, "--csv", out, "--team", args.team]
    try:
        subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=args.timeout)
        with open(out) as f:
            rows = list(csv.DictReader(f))
    except subprocess.TimeoutExpired:
        rows = []
    finally:
        os.unlink(out)
    if not rows or rows[0]["error"]:
        return None
    return {k: (float(v) if k not in ("scenario", "error") else v) for k, v in rows[0].items()}


def score(row, seconds):
    """Higher is better: steady forward speed, a fall costs more than any speed."""
    if row is None:
        return -2.0
    if row["falls"] > 0:
        return -1.0 + row["progress"] / seconds + row["fall_at"] / seconds * 0.5
    return row["steady"] - 0.002 * abs(row["turned"]) - 0.05 * abs(row["drift"])


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--type", type=int, required=True, choices=range(5), help="robot type 0..4")
    ap.add_argument("--server", default="real", choices=["real", "practice"])
    ap.add_argument("--host", default="127.0.0.1")
    ap.add_argument("--port", type=int, default=3100, help="agent port")
    ap.add_argument("--monitor-port", type=int, default=3200)
    ap.add_argument("--team", default="WalkTune")
    ap.add_argument("--evals", type=int, default=60, help="forward trials of the search")
    ap.add_argument("--time", type=float, default=8.0, help="seconds of each search trial")
    ap.add_argument("--check-time", type=float, default=30.0, help="seconds of each check run")
    ap.add_argument("--finalists", type=int, default=4, help="best search trials run again for the check time")
    ap.add_argument("--timeout", type=float, default=300.0, help="seconds before a trial is given up")
    ap.add_argument("--data", default=os.path.join(REPO, "data"))
    ap.add_argument("--fieldtest", default=os.path.join(REPO, "build", "tools", "fieldtest", "fieldtest"))
    ap.add_argument("--start", help="parameter file to start the search from (default: the data folder's)")
    ap.add_argument("--write", action="store_true", help="write the best file into the data folder")
    args = ap.parse_args()

    name = "p%d" % args.type
    original = os.path.join(args.data, "skills", name)
    start = read_params(args.start or original)
    scratch = tempfile.mkdtemp(prefix="walktune-")
    work = os.path.join(scratch, "data")
    shutil.copytree(args.data, work)
    candidate = os.path.join(work, "skills", name)
    space = tuned(args.type)

    best = {"score": None, "params": dict(start), "row": None}
    tried = []  # (score, params) of every search trial

    def evaluate(x, grad):
        params = dict(start)
        for (pname, lo, hi), v in zip(space, x):
            params[pname] = min(hi, max(lo, float(v)))
        write_params(candidate, params)
        row = run(args, work, args.type, "forward", args.time)
        s = score(row, args.time)
        if s > 0:
            # The other walks share the file: a fall in any of them costs.
            for scenario in OTHERS:
                other = run(args, work, args.type, scenario, args.time / 2)
                if other is None or other["falls"] > 0:
                    s -= 0.5
        if best["score"] is None or s > best["score"]:
            best.update(score=s, params=params, row=row)
        tried.append((s, params))
        shown = " ".join("%s=%.4g" % (p[0], params[p[0]]) for p in space)
        print("%7.3f  %s" % (s, shown), flush=True)
        return s

    opt = nlopt.opt(nlopt.LN_SBPLX, len(space))
    opt.set_lower_bounds([lo for _, lo, _ in space])
    opt.set_upper_bounds([hi for _, _, hi in space])
    opt.set_initial_step([(hi - lo) / 6 for _, lo, hi in space])
    opt.set_max_objective(evaluate)
    opt.set_maxeval(args.evals)
    x0 = [min(hi, max(lo, start[p])) for p, lo, hi in space]
    try:
        opt.optimize(x0)
    except (nlopt.RoundoffLimited, RuntimeError) as e:
        print("search ended early: %s" % e)

    # A short trial is noisy: run the best few again for the whole check time and
    # keep the fastest that does not fall (the starting file if none).
    tried.sort(key=lambda t: -t[0])
    final = {"score": None, "params": dict(start)}
    finalists = [start] + [p for _, p in tried[:args.finalists]]
    for params in finalists:
        write_params(candidate, params)
        rows = {sc: run(args, work, args.type, sc, args.check_time) for sc in SCENARIOS}
        falls = sum(1 for r in rows.values() if r is None or r["falls"] > 0)
        s = score(rows["forward"], args.check_time)
        print("final %7.3f falls %d  %s" % (s, falls, " ".join("%s=%.4g" % (p[0], params[p[0]]) for p in space)),
              flush=True)
        if falls == 0 and (final["score"] is None or s > final["score"]):
            final.update(score=s, params=params)
    best.update(final)
    write_params(candidate, best["params"])
    print("\nbest %s:\n%s" % (best["score"], text_of(best["params"])))
    print("%-10s %8s %9s %9s %9s %9s %6s" % ("scenario", "time s", "progress", "mean/s", "steady/s", "drift m", "falls"))
    for scenario in SCENARIOS:
        row = run(args, work, args.type, scenario, args.check_time)
        if row is None:
            print("%-10s did not run" % scenario)
            continue
        print("%-10s %8.2f %9.2f %9.3f %9.3f %9.3f %6d" % (scenario, row["seconds"], row["progress"], row["mean"],
                                                          row["steady"], row["drift"], row["falls"]), flush=True)
    if args.write:
        write_params(original, best["params"])
        print("wrote %s" % original)
    shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
