#!/usr/bin/env python3
"""Endurance and cost of the agent on a server.

  endurance.py game   [options]   two teams of eleven play a whole game
  endurance.py alone  [options]   one agent: N cycles standing, N after kick-off

game: without --port it starts the practice server in sync mode on ports the
system chooses, which kicks off both halves once all 22 have joined and ends
the game after two halves of 300 s. With --port (and --monitor-port) it joins
a running server instead and starts each half itself with (kickOff None) on
the monitor port, stopping at GameOver or after --max-seconds. Player 1 of the
first team talks to the server through a relay of this script that counts
cycles and reads the game time and play mode from its messages. Every
--sample seconds it reads each agent's resident memory, CPU time and the size
of its output. At the end it prints a table per agent: whether it lived to
the end, memory at game minute 1 and at the end (the growth), the bytes of
output per game minute (after minute 1 too), and CPU per cycle.

alone: one agent joins a running sync-mode server (--port, --monitor-port)
through the counting relay. After --warmup cycles it stands --cycles cycles,
then the script sends (kickOff Left) and the agent plays --cycles cycles
more; CPU per cycle of each phase comes from the agent's own accounting
(/proc/PID/stat, user + system), read while the server waits for it.

Everything the script started is stopped at the end, also on Ctrl-C: agents
with SIGTERM, a practice server with SIGINT. Output of the agents goes to
--out (default logs/endurance/).
"""

import argparse
import os
import re
import select
import signal
import socket
import struct
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
TICKS = os.sysconf("SC_CLK_TCK")
PAGE = os.sysconf("SC_PAGE_SIZE")


def robot_types():
    """Robot type per shirt number, read from start.sh's table (index 0 unused)."""
    with open(os.path.join(ROOT, "start.sh")) as f:
        m = re.search(r"^robot_types=\(x\s+([0-9 ]+)\)", f.read(), re.M)
    if not m:
        sys.exit("no robot_types table in start.sh")
    types = [None] + [int(t) for t in m.group(1).split()]
    if len(types) != 12:
        sys.exit("start.sh's robot_types table does not have 11 entries")
    return types


def robot_file(robot_type):
    return "nao.xml" if robot_type == 0 else "nao%d.xml" % robot_type


def reap(proc, timeout=5):
    """Waits for a signalled process, killing it after timeout seconds."""
    try:
        proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def end_process(proc, sig):
    if proc.poll() is None:
        proc.send_signal(sig)
    reap(proc)


def cpu_seconds(pid):
    """User plus system CPU time of a process, in seconds; None when gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS
    except (OSError, IndexError, ValueError):
        return None


def rss_kib(pid):
    try:
        with open("/proc/%d/statm" % pid) as f:
            return int(f.read().split()[1]) * PAGE // 1024
    except (OSError, IndexError, ValueError):
        return None


def frame(text):
    data = text.encode()
    return struct.pack("!I", len(data)) + data


class Monitor:
    """The server's monitor port, for trainer commands only."""

    def __init__(self, host, port):
        self.sock = socket.create_connection((host, port))
        threading.Thread(target=self._drain, daemon=True).start()

    def _drain(self):
        try:
            while self.sock.recv(65536):
                pass
        except OSError:
            pass

    def send(self, command):
        self.sock.sendall(frame(command))


GS_T = re.compile(rb"\(t ([-0-9.]+)\)")
GS_PM = re.compile(rb"\(pm ([A-Za-z_]+)\)")


class Relay:
    """Passes one agent's link through, counting the server's messages and
    reading the game time and play mode. on_message(n) runs before message n
    (from 1) is passed on, so in sync mode the agent is idle then."""

    def __init__(self, host, port, on_message=None):
        self.server = (host, port)
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.port = self.listener.getsockname()[1]
        self.messages = 0
        self.game_time = 0.0
        self.play_mode = ""
        self.closed = False
        self.on_message = on_message
        threading.Thread(target=self._run, daemon=True).start()

    def _run(self):
        try:
            agent, _ = self.listener.accept()
            server = socket.create_connection(self.server)
        except OSError:
            self.closed = True
            return
        for s in (agent, server):
            s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        pending = b""
        try:
            while True:
                ready, _, _ = select.select([agent, server], [], [])
                if agent in ready:
                    data = agent.recv(65536)
                    if not data:
                        break
                    server.sendall(data)
                if server in ready:
                    data = server.recv(65536)
                    if not data:
                        break
                    pending += data
                    out = b""
                    while len(pending) >= 4:
                        (n,) = struct.unpack("!I", pending[:4])
                        if len(pending) < 4 + n:
                            break
                        body = pending[4 : 4 + n]
                        self.messages += 1
                        m = GS_T.search(body)
                        if m:
                            self.game_time = float(m.group(1))
                        m = GS_PM.search(body)
                        if m:
                            self.play_mode = m.group(1).decode()
                        if self.on_message:
                            if out:
                                agent.sendall(out)
                                out = b""
                            self.on_message(self.messages)
                        out += pending[: 4 + n]
                        pending = pending[4 + n :]
                    if out:
                        agent.sendall(out)
        except OSError:
            pass
        self.closed = True


class Agents:
    def __init__(self, agent, out, data):
        self.agent = agent
        self.out = out
        self.data = data
        self.types = robot_types()
        self.procs = []  # (team, unum, Popen, log path)

    def start(self, host, port, team, unum):
        d = os.path.join(self.out, team)
        os.makedirs(d, exist_ok=True)
        path = os.path.join(d, "player%d.log" % unum)
        log = open(path, "wb")
        p = subprocess.Popen(
            [self.agent, "-h", host, "-p", str(port), "-t", team, "-u", str(unum),
             "-robot", robot_file(self.types[unum])],
            cwd=self.data, stdout=log, stderr=subprocess.STDOUT)
        log.close()
        self.procs.append((team, unum, p, path))
        return p

    def stop(self):
        for _, _, p, _ in self.procs:
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
        for _, _, p, _ in self.procs:
            reap(p)


def start_practice_server(build, out):
    path = os.path.join(out, "practice-server.log")
    log = open(path, "wb")
    server = subprocess.Popen(
        [os.path.join(build, "tools/practice_server/practice-server"), "--port", "0",
         "--monitor-port", "0", "--sync", "--kickoff-after", "22"],
        stdout=log, stderr=subprocess.STDOUT)
    log.close()
    for _ in range(100):
        with open(path) as f:
            first = f.readline().split()
        if len(first) >= 3:
            return server, path, int(first[2])
        time.sleep(0.1)
    server.send_signal(signal.SIGINT)
    sys.exit("the practice server did not start; see " + path)


def last_status(path):
    """now, t and pm of the practice server's last status line."""
    try:
        with open(path, "rb") as f:
            f.seek(0, 2)
            f.seek(max(0, f.tell() - 4096))
            lines = f.read().decode(errors="replace").splitlines()
    except OSError:
        return None
    for line in reversed(lines):
        m = re.match(r"now ([0-9.]+) t ([0-9.]+) pm (\S+)", line)
        if m:
            return float(m.group(1)), float(m.group(2)), m.group(3)
    return None


def game(args):
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    agents = Agents(os.path.abspath(args.agent), out, os.path.abspath(args.data))
    server = None
    status = None
    host = args.host
    port = args.port
    monitor = None
    if port is None:
        server, status, port = start_practice_server(os.path.abspath(args.build), out)
        host = "127.0.0.1"
    elif args.monitor_port:
        monitor = Monitor(host, args.monitor_port)
    relay = Relay(host, port)
    teams = [args.team, args.opponent]

    samples = {}  # (team, unum) -> list of (game time, rss KiB, cpu s, log bytes)
    first_cycle = None
    try:
        for unum in range(1, 12):
            for i, team in enumerate(teams):
                via_relay = i == 0 and unum == 1
                agents.start("127.0.0.1" if via_relay else host, relay.port if via_relay else port,
                             team, unum)
            time.sleep(args.join_gap)
        started = time.time()
        kicked = set()
        while True:
            time.sleep(args.sample)
            if status:
                s = last_status(status)
                if s is None:
                    continue
                now, t, pm = s
            else:
                now, t, pm = None, relay.game_time, relay.play_mode
            if first_cycle is None and pm and pm != "BeforeKickOff":
                first_cycle = (relay.messages, now)
            if monitor and pm == "BeforeKickOff":
                half = 1 if t < 300 else 2
                if half not in kicked and time.time() - started > 3:
                    monitor.send("(kickOff None)")
                    kicked.add(half)
            for team, unum, p, path in agents.procs:
                rss = rss_kib(p.pid) if p.poll() is None else None
                cpu = cpu_seconds(p.pid) if p.poll() is None else None
                try:
                    size = os.path.getsize(path)
                except OSError:
                    size = None
                samples.setdefault((team, unum), []).append((t, relay.messages, rss, cpu, size))
            dead = [p for _, _, p, _ in agents.procs if p.poll() is not None]
            print("t %7.2f pm %-16s cycles %7d agents alive %2d" %
                  (t, pm, relay.messages, len(agents.procs) - len(dead)), flush=True)
            if pm == "GameOver" or relay.closed:
                break
            if args.max_seconds and time.time() - started > args.max_seconds:
                break
        report_game(agents, samples, first_cycle)
    finally:
        agents.stop()
        if server:
            end_process(server, signal.SIGINT)


def report_game(agents, samples, first_cycle):
    print()
    print("%-10s %4s %6s %10s %10s %9s %10s %10s %10s" %
          ("team", "unum", "alive", "rss@1min", "rss@end", "growth", "B/min", "B/min>1", "cpu/cyc"))
    print("%-10s %4s %6s %10s %10s %9s %10s %10s %10s" %
          ("", "", "", "KiB", "KiB", "KiB", "all", "after 1", "ms"))
    for team, unum, p, _ in agents.procs:
        rows = [r for r in samples.get((team, unum), []) if r[2] is not None]
        alive = "yes" if p.poll() is None else "DIED %s" % p.returncode
        if not rows:
            print("%-10s %4d %6s" % (team, unum, alive))
            continue
        at1 = next((r for r in rows if r[0] >= 60), rows[-1])
        end = rows[-1]
        minutes = end[0] / 60 if end[0] > 0 else None
        per_min = end[4] / minutes if minutes else 0
        later = (end[4] - at1[4]) / ((end[0] - at1[0]) / 60) if end[0] > at1[0] else 0
        kick = next((r for r in rows if r[0] > 0), rows[0])
        cycles = end[1] - kick[1]
        cpu = (end[3] - kick[3]) / cycles * 1000 if cycles > 0 else 0
        print("%-10s %4d %6s %10d %10d %9d %10.0f %10.0f %10.3f" %
              (team, unum, alive, at1[2], end[2], end[2] - at1[2], per_min, later, cpu))
    print("cycles counted by player 1 of the first team; cpu/cyc is user+system CPU over the")
    print("cycles since the game clock started; B/min is output bytes per game minute.")


def alone(args):
    state = {"marks": {}}
    pid = {"agent": None}
    want = {args.warmup: "start", args.warmup + args.cycles: "standing"}

    def on_message(n):
        if n in want and pid["agent"]:
            state["marks"][want[n]] = (n, cpu_seconds(pid["agent"]), time.time())

    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    monitor = Monitor(args.host, args.monitor_port)
    relay = Relay(args.host, args.port, on_message)
    agents = Agents(os.path.abspath(args.agent), out, os.path.abspath(args.data))
    try:
        p = agents.start("127.0.0.1", relay.port, args.team, 1)
        pid["agent"] = p.pid
        while "standing" not in state["marks"]:
            if relay.closed or p.poll() is not None:
                sys.exit("the agent or the link ended before the standing phase was over")
            time.sleep(0.05)
        kick_at = relay.messages
        monitor.send("(kickOff Left)")
        while relay.play_mode == "BeforeKickOff" and relay.messages < kick_at + 200:
            time.sleep(0.01)
        start = relay.messages + 2
        want[start] = "kicked"
        want[start + args.cycles] = "played"
        while "played" not in state["marks"]:
            if relay.closed or p.poll() is not None:
                sys.exit("the agent or the link ended before the play phase was over")
            time.sleep(0.05)
        m = state["marks"]
        print("%-22s %8s %12s %14s" % ("phase", "cycles", "cpu ms/cyc", "wall ms/cyc"))
        for name, a, b in (("standing", "start", "standing"), ("after kick-off", "kicked", "played")):
            n = m[b][0] - m[a][0]
            print("%-22s %8d %12.3f %14.3f" % (name, n, (m[b][1] - m[a][1]) / n * 1000,
                                              (m[b][2] - m[a][2]) / n * 1000))
        print("peak resident memory %d KiB; play mode at the end %s; output %d bytes" %
              (rss_kib(p.pid) or 0, relay.play_mode, os.path.getsize(agents.procs[0][3])))
    finally:
        agents.stop()


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = ap.add_subparsers(dest="mode", required=True)
    for name in ("game", "alone"):
        p = sub.add_parser(name, help="see above")
        p.add_argument("--agent", default=os.path.join(ROOT, "build/agent"), help="agent program")
        p.add_argument("--data", default=os.path.join(ROOT, "data"), help="the agent's working folder")
        p.add_argument("--out", default=os.path.join(ROOT, "logs/endurance"), help="output folder")
        p.add_argument("--host", default="127.0.0.1")
        p.add_argument("--team", default="Ours")
    g = sub.choices["game"]
    g.add_argument("--build", default=os.path.join(ROOT, "build"), help="build folder (practice server)")
    g.add_argument("--port", type=int, help="agent port of a running server (default: practice server)")
    g.add_argument("--monitor-port", type=int, help="its monitor port, for the kick-offs")
    g.add_argument("--opponent", default="Copy")
    g.add_argument("--sample", type=float, default=1.0, help="seconds between samples")
    g.add_argument("--join-gap", type=float, default=0.5, help="seconds between shirt numbers")
    g.add_argument("--max-seconds", type=float, help="stop after this many wall seconds")
    a = sub.choices["alone"]
    a.add_argument("--port", type=int, required=True, help="agent port of a sync-mode server")
    a.add_argument("--monitor-port", type=int, required=True)
    a.add_argument("--warmup", type=int, default=100, help="cycles before the standing phase")
    a.add_argument("--cycles", type=int, default=1500, help="cycles of each phase")
    args = ap.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        game(args) if args.mode == "game" else alone(args)
    except KeyboardInterrupt:
        sys.exit(130)


if __name__ == "__main__":
    main()
