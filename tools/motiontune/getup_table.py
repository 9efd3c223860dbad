#!/usr/bin/python3
"""Measures the get-ups on real servers: K runs per robot type and side, each with its own seed.

Usage: tools/motiontune/getup_table.py [--types LIST] [--kinds front,back] [--trials K] [--servers N]
           [--port P] [--monitor-port M] [--mode sync|normal] [--drop D] [--vary V] [--seed S] [--time S]
Run from the top of the repository after building (build/tools/fieldtest/fieldtest).
It starts N rcssserver3d (via /work/simspark-conf/run-server.sh, or $MOTION_SERVER) on ports
P..P+N-1 and M..M+N-1, runs the field test's getup-front / getup-back scenario K times per robot
type with seeds S, S+1, ... (the seed draws the cycles whose joint commands are dropped, a share D
of them, and with --vary V also tips the robot a little differently, more lean, sideways roll, arms
elsewhere, up to V of the field test's widest variation) and prints per type and side:
runs, how many stood again (the field test's rise: its own fall test and the server agree for 1 s),
how many within 3 s, the median and the longest time from the stop motion's end until standing,
and how many fell again after standing (the torso more than 50 degrees from upright later on).
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

from motiontune import Servers, field_trial

FALL_TILT = 50
UP_Z, UP_TILT = 0.25, 30


def fell_after_standing(trace):
    """Whether the torso, once upright for 1 s, later tipped past FALL_TILT or dropped low."""
    up_since, stood = None, False
    for line in trace.splitlines():
        f = line.split()
        if len(f) < 6:
            continue
        try:
            t, z, tilt = float(f[0]), float(f[3]), float(f[5])
        except ValueError:
            continue
        if not stood:
            if z > UP_Z and tilt < UP_TILT:
                up_since = t if up_since is None else up_since
                stood = t - up_since >= 1.0
            else:
                up_since = None
        elif tilt > FALL_TILT or z < 0.15:
            return True
    return False


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--types", default="0,1,2,3,4")
    ap.add_argument("--kinds", default="front,back")
    ap.add_argument("--trials", type=int, default=20)
    ap.add_argument("--servers", type=int, default=2)
    ap.add_argument("--port", type=int, default=3500)
    ap.add_argument("--monitor-port", type=int, default=3600)
    ap.add_argument("--mode", choices=["sync", "normal"], default="sync")
    ap.add_argument("--drop", type=float, default=0.05)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--vary", type=float, default=0,
                    help="how much each seed varies the tip onto the front or back, 0 to 1 (the scenario's command)")
    ap.add_argument("--time", type=float, default=7)
    ap.add_argument("--data", default="data")
    a = ap.parse_args()
    top = os.getcwd()
    tool = os.path.join(top, "build/tools/fieldtest/fieldtest")
    launcher = os.environ.get("MOTION_SERVER", "/work/simspark-conf/run-server.sh")
    servers = Servers(launcher, a.servers, a.port, a.monitor_port, data=os.path.join(top, a.data), mode=a.mode)
    types = [int(t) for t in a.types.split(",")]
    kinds = a.kinds.split(",")

    def run(job):
        t, kind, seed = job
        with servers.lend() as (data, srv):
            for _ in range(3):
                csv = os.path.join(tempfile.gettempdir(), "getup-table-%d.csv" % srv.port)
                try:
                    row, trace = field_trial(tool, srv, data, t, "getup-" + kind, a.time, csv,
                                             ["--trace", "--drop", str(a.drop), "--seed", str(seed), "--command",
                                              str(a.vary)], timeout=180)
                    g = float(row[13]) if row[13] else -1
                    late = int(row[14])
                    return t, kind, seed, g, fell_after_standing(trace) if g >= 0 else False, late
                except (subprocess.TimeoutExpired, OSError, IndexError, ValueError) as e:
                    sys.stderr.write("type %d %s seed %d: %s; restarting the server\n" % (t, kind, seed, e))
                    srv.stop()
            return t, kind, seed, None, False, 0

    jobs = [(t, kind, a.seed + i) for t in types for kind in kinds for i in range(a.trials)]
    try:
        with ThreadPoolExecutor(a.servers) as pool:
            results = list(pool.map(run, jobs))
    finally:
        servers.close(remove_works=False)
    print("%s mode, drop %.2f, tip variation %.2f, seeds %d..%d" % (a.mode, a.drop, a.vary, a.seed,
                                                                     a.seed + a.trials - 1))
    print("%-5s %-6s %5s %6s %7s %9s %7s %12s %5s" % ("type", "side", "runs", "stood", "in 3 s", "median s",
                                                       "max s", "fell again", "late"))
    for t in types:
        for kind in kinds:
            rs = [r for r in results if r[0] == t and r[1] == kind and r[3] is not None]
            up = [r[3] for r in rs if r[3] >= 0]
            print("%-5d %-6s %5d %6d %7d %9s %7s %12d %5d" % (
                t, kind, len(rs), len(up), sum(g <= 3 for g in up),
                "%.2f" % statistics.median(up) if up else "-", "%.2f" % max(up) if up else "-",
                sum(r[4] for r in rs), sum(r[5] for r in rs)))
            bad = [r[2] for r in rs if r[3] < 0 or r[3] > 3 or r[4]]
            if bad:
                print("      failing seeds: %s" % " ".join(map(str, bad)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
