#!/usr/bin/python3
"""Tunes a keyframe motion by CMA-ES on short sync-mode runs of the field test's scenarios.

Usage: tools/motiontune/motiontune.py --kind front|back [--type T] [--servers N] [--port P]
           [--monitor-port M] [--evaluations N] [--trials K] [--sigma S] [--time S] [--out FILE]
           [--start FILE]
Run from the top of the repository after building (build/tools/fieldtest/fieldtest).
The motions come from tools/motions/make_motions.py, or from a JSON file given by --start:
- front, back: the get-up's key frames (GETUP), each [seconds, hip pitch, knee, ankle pitch,
  shoulder pitch, shoulder roll, elbow roll, hip yaw-pitch, hip roll], the last entry the seconds
  to the walk-ready stance;
  run with the field test's getup-front or getup-back.
The super kick has its own tuner, tools/fieldtest/superkicktune.py.
It starts N rcssserver3d in sync mode on ports P..P+N-1 and M..M+N-1 (via
/work/simspark-conf/run-server.sh, or $MOTION_SERVER), keeps them for the whole search and runs
each candidate K times (the worst run counts), from scratch copies of data/ that differ only in
the tuned file. The best motion found goes to FILE as JSON (default KIND-TT.json) after every
improvement; paste it into make_motions.py.

Get-up score of a run: up to 1 for how upright and high the torso stayed over its best 0.4 s
(server's account), plus 1 for the last 0.5 s, plus the seconds (up to 2) with the torso above
0.25 m and within 30 degrees of upright, plus 2 and up to 1 more for a quick rise when
the field test saw the robot standing again (its own fall test and the server agree for 1 s),
plus SPEED (--speed) per second of standing sooner than 4 s after the stop motion's end.
"""
import argparse
import contextlib
import json
import math
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import numpy as np
from cmaes import CMA

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "motions"))
import make_motions  # noqa: E402

# Get-up frame value: scale of a step and the joint's range (left-side signs).
FRAME = [(0.08, 0.06, 1.0), (10, -25, 100), (10, -130, 1), (10, -45, 75), (15, -120, 120), (8, -1, 95),
         (10, -90, 1), (10, -90, 1), (8, -25, 45)]
W = len(FRAME)
LAST = (0.1, 0.2, 1.5)
STAND_Z = 0.30
def flatten(frames):
    out = []
    for f in frames[:-1]:
        out += list(f) + [0] * (W - len(f))
    return out + [frames[-1]]


def unflatten(v, n):
    frames = [[round(float(x), 3 if i == 0 else 1) for i, x in enumerate(v[W * k:W * k + W])] for k in range(n)]
    return frames + [round(float(v[W * n]), 3)]


def limits(n):
    spec = FRAME * n + [LAST]
    return [s for s, _, _ in spec], [lo for _, lo, _ in spec], [hi for _, _, hi in spec]


def run_score(trace, getup_s, speed=0.0):
    """Score of one run from its trace lines (t x y z heading tilt) and the field test's rise time;
    speed weighs each second of rising sooner than 4 s."""
    pts = []
    up = 0
    for line in trace.splitlines():
        f = line.split()
        if len(f) < 6:
            continue
        try:
            z, tilt = float(f[3]), float(f[5])
        except ValueError:
            continue
        pts.append(min(1.0, max(0.0, z / STAND_Z)) * max(0.0, math.cos(math.radians(tilt))))
        up += z > 0.25 and tilt < 30
    if not pts:
        return 0.0
    w = 20
    best = max(sum(pts[i:i + w]) / len(pts[i:i + w]) for i in range(0, max(1, len(pts) - w + 1)))
    last = sum(pts[-25:]) / len(pts[-25:])
    s = best + last + min(2.0, up * 0.02)
    if getup_s is not None and getup_s >= 0:
        s += 2 + max(0.0, 3 - getup_s) / 3 + speed * max(0.0, 4 - getup_s)
    return s


def scratch(data, tuned):
    """A scratch copy of data/ made of links, but for movs/TUNED: a folder is copied, a file left to be written."""
    d = tempfile.mkdtemp(prefix="tune")
    for name in os.listdir(data):
        if name != "movs":
            os.symlink(os.path.join(data, name), os.path.join(d, name))
    os.mkdir(os.path.join(d, "movs"))
    for name in os.listdir(os.path.join(data, "movs")):
        if name != tuned:
            os.symlink(os.path.join(data, "movs", name), os.path.join(d, "movs", name))
    if os.path.isdir(os.path.join(data, "movs", tuned)):
        shutil.copytree(os.path.join(data, "movs", tuned), os.path.join(d, "movs", tuned))
    return d


class Server:
    """One rcssserver3d started through the launcher (sync or normal mode) on its own ports."""

    def __init__(self, launcher, port, mport, log, mode="sync"):
        self.launcher, self.port, self.mport, self.log, self.mode = launcher, port, mport, log, mode
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen([self.launcher, self.mode, str(self.port), str(self.mport)], stdout=self.log,
                                     stderr=self.log, preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_DFL))
        time.sleep(2)

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self):
        if self.running():
            self.proc.send_signal(signal.SIGINT)
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None


class Servers:
    """N servers on ports P..P+N-1 and M..M+N-1, each with its folder to run in (a scratch copy of
    data/ when `works` is given), lent to one run at a time."""

    def __init__(self, launcher, n, port, mport, works=None, data=None, mode="sync"):
        self.works = works or [data] * n
        self.logs = [open(os.path.join(w, "server.log") if works else os.devnull, "w") for w in self.works]
        self.servers = [Server(launcher, port + i, mport + i, self.logs[i], mode) for i in range(n)]
        self.free = list(range(n))
        self.lock = threading.Lock()

    @contextlib.contextmanager
    def lend(self):
        """A free (folder, server), the server started if it is not running."""
        with self.lock:
            k = self.free.pop()
        try:
            if not self.servers[k].running():
                self.servers[k].start()
            yield self.works[k], self.servers[k]
        finally:
            with self.lock:
                self.free.append(k)

    def close(self, remove_works):
        for s in self.servers:
            s.stop()
        if remove_works:
            for w in self.works:
                shutil.rmtree(w, ignore_errors=True)


def field_trial(tool, srv, work, robot_type, scenario, seconds, csv, extra=(), timeout=120):
    """One field-test run of `scenario` for `robot_type` on srv (started if it is not running), in the
    folder work, its row written to csv: the row's fields and the run's standard error. Raises
    subprocess.TimeoutExpired, OSError (also for an error the row reports), IndexError or ValueError."""
    if os.path.exists(csv):
        os.remove(csv)
    if not srv.running():
        srv.start()
    r = subprocess.run([tool, "--server", "real", "--port", str(srv.port), "--monitor-port", str(srv.mport),
                        "--types", str(robot_type), "--scenarios", scenario, "--time", str(seconds), "--settle",
                        "0.5", "--csv", csv] + list(extra), cwd=work, capture_output=True, text=True,
                       timeout=timeout)
    row = open(csv).read().split("\n")[1].split(",")
    if row[-1].strip():
        raise OSError(row[-1])
    return row, r.stderr


def search(evaluate, x0, scale, lo, hi, a, workers, saved, out):
    """CMA-ES from x0 in steps of scale within lo..hi (a.sigma, a.population, a.evaluations), each
    generation's candidates scored by evaluate on `workers` threads (higher is better); saved(v)
    of every better one goes to out as JSON. Ends on KeyboardInterrupt too; returns the best score."""
    bounds = np.array([(lo - x0) / scale, (hi - x0) / scale]).T
    opt = CMA(mean=np.zeros(len(x0)), sigma=a.sigma, bounds=bounds, population_size=a.population or None,
              seed=int(time.time()))
    pool = ThreadPoolExecutor(workers)
    best = -100.0
    try:
        best = evaluate(x0)
        print("start %.3f" % best, flush=True)
        done = 1
        while done < a.evaluations:
            zs = [opt.ask() for _ in range(opt.population_size)]
            vs = [x0 + z * scale for z in zs]
            ss = list(pool.map(evaluate, vs))
            done += len(zs)
            opt.tell([(z, -s) for z, s in zip(zs, ss)])
            i = int(np.argmax(ss))
            print("%d gen best %.3f mean %.3f" % (done, ss[i], sum(ss) / len(ss)), flush=True)
            if ss[i] > best:
                best = ss[i]
                with open(out, "w") as f:
                    json.dump(saved(vs[i]), f)
                print("  best %.3f %s" % (best, json.dumps(saved(vs[i]))), flush=True)
    except KeyboardInterrupt:
        pass
    finally:
        pool.shutdown(wait=True, cancel_futures=True)
    return best


def search_options(ap, what, port, monitor_port, trials, sigma, time, drop):
    """The options of a CMA-ES search on field-test runs (see search and Servers): servers and their
    first ports, the search's size and step, the runs, and where `what` (the tuned values) start and go."""
    ap.add_argument("--servers", type=int, default=2)
    ap.add_argument("--port", type=int, default=port)
    ap.add_argument("--monitor-port", type=int, default=monitor_port)
    ap.add_argument("--evaluations", type=int, default=300)
    ap.add_argument("--trials", type=int, default=trials)
    ap.add_argument("--sigma", type=float, default=sigma, help="initial step, in units of each value's scale")
    ap.add_argument("--time", type=float, default=time, help="seconds of each run")
    ap.add_argument("--population", type=int, default=0, help="CMA-ES population (default: its own)")
    ap.add_argument("--out", help="where the best %s go (JSON)" % what)
    ap.add_argument("--start", help="JSON file with the %s to start from" % what)
    ap.add_argument("--drop", type=float, default=drop,
                    help="share of cycles whose joint commands the field test drops, drawn anew for every run")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--kind", choices=["front", "back"], required=True)
    ap.add_argument("--type", type=int, default=0, choices=[0, 1, 3, 4], help="robot type (2 uses type 0's get-ups)")
    search_options(ap, "frames", port=3411, monitor_port=3421, trials=1, sigma=0.6, time=6, drop=0)
    ap.add_argument("--vary", type=float, default=0,
                    help="how much each run's seed varies the tip onto the front or back, 0 to 1")
    ap.add_argument("--score", choices=["min", "mean"], default="min",
                    help="a candidate scores its worst run (min) or the mean of its runs")
    ap.add_argument("--fixed-seeds", action="store_true",
                    help="every candidate runs the same seeds 1..K (with --vary or --drop), so that they compare alike")
    ap.add_argument("--speed", type=float, default=0,
                    help="score weight of each second of standing sooner than 4 s after the stop motion")
    ap.add_argument("--durations-only", action="store_true",
                    help="tune only the key frames' seconds, keep the angles as they start")
    ap.add_argument("--frames", help="tune every key frame's seconds and all values of frames A-B "
                    "(counted from 0), keep the other angles as they start")
    ap.add_argument("--tune-frames", type=int, default=0,
                    help="tune only the first N key frames, keep the rest as they start")
    a = ap.parse_args()
    tname = "T%d" % a.type
    frames = json.load(open(a.start)) if a.start else make_motions.getup_frames(a.kind, tname)
    n = len(frames) - 1
    file_name = ("GetupFront" if a.kind == "front" else "GetupBack") + tname
    scenario = "getup-" + a.kind
    out = a.out or "%s-%s.json" % (a.kind, tname)
    top = os.getcwd()
    tool = os.path.join(top, "build/tools/fieldtest/fieldtest")
    launcher = os.environ.get("MOTION_SERVER", "/work/simspark-conf/run-server.sh")
    servers = Servers(launcher, a.servers, a.port, a.monitor_port,
                      works=[scratch(os.path.join(top, "data"), "getup") for _ in range(a.servers)])
    rng = random.Random()

    def evaluate(v):
        with servers.lend() as (work, srv):
            make_motions.write(work, "getup/%s.xml" % file_name, file_name, make_motions.getup(unflatten(v, n)))
            scores = []
            for k in range(a.trials):
                seed = k + 1 if a.fixed_seeds else rng.randrange(1, 10 ** 9)
                extra = (["--trace"] + (["--drop", str(a.drop), "--seed", str(seed)] if a.drop > 0 or a.vary > 0 else [])
                         + (["--command", str(a.vary)] if a.vary > 0 else []))
                try:
                    row, trace = field_trial(tool, srv, work, a.type, scenario, a.time, os.path.join(work, "runs.csv"),
                                             extra)
                    g = float(row[13]) if len(row) > 13 and row[13] else None
                    scores.append(run_score(trace, g, a.speed))
                except (subprocess.TimeoutExpired, OSError, IndexError, ValueError):
                    srv.stop()
                    scores.append(0.0)
            return min(scores) if a.score == "min" else sum(scores) / len(scores)

    def interrupted(*_):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, interrupted)
    full = np.array(flatten(frames), dtype=float)
    scale, lo, hi = (np.array(v, dtype=float) for v in limits(n))
    full = np.clip(full, lo, hi)
    # The tuned part of the vector; the rest stays as it starts.
    if a.durations_only or a.frames:
        lo_f, hi_f = (int(x) for x in a.frames.split("-")) if a.frames else (n, n - 1)
        tuned = sorted(set([W * k for k in range(n)] + [W * n] +
                           [i for k in range(lo_f, min(hi_f, n - 1) + 1) for i in range(W * k, W * k + W)]))
    else:
        tuned = list(range(W * a.tune_frames if 0 < a.tune_frames < n else len(full)))

    def whole(v):
        vec = full.copy()
        vec[tuned] = v
        return vec

    try:
        best = search(lambda v: evaluate(whole(v)), full[tuned], scale[tuned], lo[tuned], hi[tuned], a, a.servers,
                      lambda v: unflatten(whole(v), n), out)
    finally:
        servers.close(remove_works=True)
    print("done: best %.3f in %s" % (best, out))


if __name__ == "__main__":
    sys.exit(main())
