#!/usr/bin/python3
"""Tunes the kick record by CMA-ES on sync-mode runs of a field-test kick scenario, by default
omni-kick (dynamicKickToTarget: the ZMP walk up to a ball 1 m ahead, then the omnidirectional kick).

Usage: tools/fieldtest/walkkicktune.py [--port P] [--monitor-port M] [--types LIST]
           [--evaluations N] [--trials K] [--out FILE] [--start P1,P2,..] [--sigma S] [--seed N]
           [--tool PATH] [--scenario NAME]
Run from the top of the repository after building. It starts its own rcssserver3d in sync
mode on the given ports for every candidate and writes the best record found to FILE
(data/movs/parametrosOmnikick.txt by default). The record's parameters and their ranges are
kicktune.py's. A trial scores the ball's travel along the aim, less 5 when the robot falls and
less 0.1 per degree off the aim beyond 15; a candidate scores its worst trial (or the mean).
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import time
import math

import numpy as np
from cmaes import CMA

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kicktune  # noqa: E402


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--port", type=int, default=3540)
    ap.add_argument("--monitor-port", type=int, default=3640)
    ap.add_argument("--types", default="all")
    ap.add_argument("--evaluations", type=int, default=100)
    ap.add_argument("--trials", type=int, default=1)
    ap.add_argument("--out", default="data/movs/parametrosOmnikick.txt")
    ap.add_argument("--start", help="comma-separated parameters, in the order " + " ".join(kicktune.NAMES))
    ap.add_argument("--sigma", type=float, default=0.4)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--score", choices=["min", "mean"], default="min",
                    help="a candidate scores its worst trial (min) or the mean of its trials")
    ap.add_argument("--time", type=float, default=9)
    ap.add_argument("--scenario", default="omni-kick",
                    help="the field test's scenario a trial runs (default omni-kick: the agent's own approach "
                         "by the ZMP walk and its omnidirectional kick)")
    ap.add_argument("--tool", default="build/tools/fieldtest/fieldtest")
    a = ap.parse_args()
    start = [float(v) for v in a.start.split(",")] if a.start else kicktune.START
    top = os.getcwd()
    tool = os.path.abspath(a.tool)
    work = kicktune.scratch(os.path.join(top, "data"))
    server = os.environ.get("KICK_SERVER", "/work/simspark-conf/run-server.sh")
    log = open(os.path.join(work, "server.log"), "w")
    counter = [0]

    def evaluate(p):
        kicktune.write_record(os.path.join(work, "movs/parametrosOmnikick.txt"), p)
        srv = subprocess.Popen([server, "sync", str(a.port), str(a.monitor_port)], stdout=log, stderr=log)
        time.sleep(2)
        csv = os.path.join(work, "runs.csv")
        if os.path.exists(csv):
            os.remove(csv)
        counter[0] += 1
        try:
            subprocess.run([tool, "--server", "real", "--port", str(a.port), "--monitor-port", str(a.monitor_port),
                            "--types", a.types, "--scenarios", ",".join([a.scenario] * a.trials), "--time",
                            str(a.time), "--seed", str(a.seed * 1000 + counter[0]), "--csv", csv], cwd=work,
                           capture_output=True, timeout=400)
            rows = [r for r in open(csv).read().split("\n")[1:] if r]
        except (subprocess.TimeoutExpired, OSError):
            rows = []
        finally:
            srv.send_signal(signal.SIGINT)
            srv.wait()
        scores = []
        for line in rows:
            f = line.split(",")
            if len(f) >= 14 and f[11]:
                travel, angle, fell = float(f[11]), float(f[12]), int(f[9])
                scores.append(travel * math.cos(math.radians(angle)) - 5 * fell - 0.1 * max(0.0, abs(angle) - 15))
        runs = a.trials * (5 if a.types == "all" else len(a.types.split(",")))
        if len(scores) != runs:
            return -10, scores
        return (min(scores) if a.score == "min" else sum(scores) / len(scores)), scores

    x0 = np.array(start, dtype=float)
    scale = np.array(kicktune.SCALE)
    bounds = np.array([[(lo - s) / sc for lo, s, sc in zip(kicktune.LOW, start, kicktune.SCALE)],
                       [(hi - s) / sc for hi, s, sc in zip(kicktune.HIGH, start, kicktune.SCALE)]]).T
    opt = CMA(mean=np.zeros(len(start)), sigma=a.sigma, bounds=bounds, population_size=8, seed=a.seed)
    best, runs = evaluate(list(x0))
    best_p = list(x0)
    print("start %.3f %s" % (best, " ".join("%.2f" % s for s in runs)), flush=True)
    n = 1
    while n < a.evaluations:
        sols = []
        for _ in range(opt.population_size):
            z = opt.ask()
            p = list(x0 + z * scale)
            s, runs = evaluate(p)
            n += 1
            sols.append((z, -s))
            print("%d %.3f %s" % (n, s, " ".join("%.2f" % v for v in runs)), flush=True)
            if s > best:
                best, best_p = s, p
                kicktune.write_record(a.out, best_p)
                print("%d best %.3f" % (n, best), flush=True)
                print("  --start " + ",".join("%.4g" % v for v in p), flush=True)
        opt.tell(sols)
    print("done: best %.3f written to %s" % (best, a.out))
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
