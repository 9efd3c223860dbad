#!/usr/bin/env bash
# Sets everything up, builds, and plays a short game.
#
#   ./play.sh                   our team against an opponent team on the practice server
#   ./play.sh -s                our team against eleven players that never move (still-team),
#                               two halves of two and a half minutes
#   ./play.sh -h HOST -p PORT   our team alone on a simulation server at HOST:PORT
#
# Everything it starts is stopped at the end, or on Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")"

play_seconds=30
host=""
port=""
still=false
while getopts "h:p:s" opt; do
  case $opt in
    h) host=$OPTARG ;;
    p) port=$OPTARG ;;
    s) still=true; play_seconds=300 ;;
    *) echo "usage: $0 [-h HOST] [-p PORT] | $0 [-s]" >&2; exit 2 ;;
  esac
done

scripts/setup.sh build
if [ ! -x build/agent ]; then
  echo "Built everything under build/. The agent program does not exist yet, so there is nothing to play."
  exit 0
fi

team=$(sed -n 's/^NOME=//p' data/config.ini | tail -n 1)
opponent=Opponent
[ "$team" != "$opponent" ] || opponent=Rivals
mkdir -p logs
server_pid=""
tail_pid=""
still_pid=""
teams=()

stop_all() {
  trap - EXIT INT TERM
  if [ ${#teams[@]} -gt 0 ]; then
    args=()
    for t in "${teams[@]}"; do args+=(-t "$t"); done
    ./kill.sh "${args[@]}" || true
  fi
  if [ -n "$still_pid" ]; then
    kill -TERM "$still_pid" 2>/dev/null || true
    wait "$still_pid" 2>/dev/null || true
  fi
  if [ -n "$server_pid" ]; then
    kill -TERM "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  if [ -n "$tail_pid" ]; then
    kill "$tail_pid" 2>/dev/null || true
    wait "$tail_pid" 2>/dev/null || true
  fi
}
trap stop_all EXIT
trap 'exit 130' INT TERM

if [ -n "$host$port" ]; then
  host=${host:-127.0.0.1}
  port=${port:-3100}
  echo "== $team joins the simulation server at $host:$port (logs in logs/$team/)"
  teams+=("$team")
  ./start.sh -h "$host" -p "$port" -t "$team"
  echo "== playing for $play_seconds seconds; watch it with the server's monitor"
  sleep "$play_seconds"
  echo "== stopping the team"
  exit 0
fi

# The practice server takes free ports, so a real server on 3100 is no obstacle.
server_log=logs/practice-server.log
build/tools/practice_server/practice-server --port 0 --monitor-port 0 --kickoff-after 22 \
  >"$server_log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  [ -s "$server_log" ] && break
  sleep 0.1
done
read -r _ _ server_port _ monitor_port _ <"$server_log" || true
if [ -z "${server_port:-}" ]; then
  echo "$0: the practice server did not start; see $server_log" >&2
  exit 1
fi
echo "== practice server on port $server_port; it kicks off once 22 players have joined"

if $still; then
  opponent=Still
  [ "$team" != "$opponent" ] || opponent=Statues
  echo "== starting $team, one player a second, against $opponent, eleven players that never move (logs in logs/)"
  teams+=("$team")
  build/tools/still_team/still-team --port "$server_port" --team "$opponent" >"logs/$opponent.log" 2>&1 &
  still_pid=$!
  ./start.sh -p "$server_port" -t "$team" >"logs/start-$team.txt"
else
  echo "== starting $team and $opponent, one player a second each (logs in logs/)"
  teams+=("$team" "$opponent")
  ./start.sh -p "$server_port" -t "$team" >"logs/start-$team.txt" &
  start_ours=$!
  ./start.sh -p "$server_port" -t "$opponent" >"logs/start-$opponent.txt" &
  start_theirs=$!
  wait "$start_ours" "$start_theirs"
fi

# One monitor command, framed by its 4-byte big-endian length.
monitor() {
  local n=${#1}
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((n >> 24 & 255)) $((n >> 16 & 255)) $((n >> 8 & 255)) \
    $((n & 255)))%s" "$1" >"/dev/tcp/127.0.0.1/$monitor_port"
}

half=$((play_seconds / 2))
echo "== two halves of $half seconds; the practice server's status, once a simulated second:"
tail -n +1 -f "$server_log" &
tail_pid=$!
sleep "$half"
# The clock jumps to the end of the first half; the server kicks the second off.
monitor "(time 299.9)" || true
sleep "$half"
echo "== stopping both teams and the practice server"
