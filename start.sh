#!/usr/bin/env bash
# Starts the team: players 1 to 11, one after the other.
#
#   ./start.sh [-h HOST] [-p PORT] [-t TEAM]
#
# HOST and PORT name the simulation server (default 127.0.0.1 and 3100); TEAM
# defaults to NOME in data/config.ini. The players run in data/, each logs to
# logs/TEAM/playerN.log, and their process ids are added to logs/TEAM/pids for
# kill.sh. The agent program is build/agent, or $QV_AGENT when set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

host=127.0.0.1
port=3100
team=$(sed -n 's/^NOME=//p' "$here/data/config.ini" 2>/dev/null | tail -n 1)
agent=${QV_AGENT:-$here/build/agent}

usage() {
  echo "usage: $0 [-h HOST] [-p PORT] [-t TEAM]" >&2
  exit 2
}
while getopts "h:p:t:" opt; do
  case $opt in
    h) host=$OPTARG ;;
    p) port=$OPTARG ;;
    t) team=$OPTARG ;;
    *) usage ;;
  esac
done
[ $OPTIND -gt $# ] || usage

if [ -z "$team" ] || [[ "$team" == */* ]] || [[ "$team" =~ [[:space:]] ]]; then
  echo "$0: no usable team name '$team': give -t TEAM or set NOME in data/config.ini" >&2
  exit 1
fi
if [ ! -x "$agent" ]; then
  echo "$0: no agent program at $agent (build it first)" >&2
  exit 1
fi

# Robot type of each shirt number. The server accepts at most 7 robots of one
# type, at most 9 of any two types together, and at least 3 types per team;
# with three types among the first three players every subset that joins keeps
# to these rules.
#            shirt:  1 2 3 4 5 6 7 8 9 10 11
robot_types=(x       0 1 2 0 1 2 3 4 0 1  2)
robot_file() {
  if [ "$1" -eq 0 ]; then echo nao.xml; else echo "nao$1.xml"; fi
}

logs="$here/logs/$team"
mkdir -p "$logs"
for unum in $(seq 1 11); do
  file=$(robot_file "${robot_types[$unum]}")
  log="$logs/player$unum.log"
  (cd "$here/data" && exec "$agent" -h "$host" -p "$port" -t "$team" -u "$unum" -robot "$file") \
    >"$log" 2>&1 &
  pid=$!
  echo "$pid $unum" >>"$logs/pids"
  echo "player $unum of $team: process $pid, robot $file, log $log"
  # The server can stall when several robots join at once: one a second.
  if [ "$unum" -lt 11 ]; then
    sleep 1
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$0: player $unum has already ended; see $log" >&2
  fi
done
