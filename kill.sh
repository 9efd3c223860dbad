#!/usr/bin/env bash
# Ends the players that start.sh started, by their process ids.
#
#   ./kill.sh [-t TEAM]
#
# Without -t every team started from this folder is ended.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

teams=()
while getopts "t:" opt; do
  case $opt in
    t) teams+=("$OPTARG") ;;
    *) echo "usage: $0 [-t TEAM]" >&2; exit 2 ;;
  esac
done
if [ ${#teams[@]} -eq 0 ]; then
  for f in "$here"/logs/*/pids; do
    [ -e "$f" ] && teams+=("$(basename "$(dirname "$f")")")
  done
fi

pids=()
for team in "${teams[@]}"; do
  list="$here/logs/$team/pids"
  [ -e "$list" ] || continue
  while read -r pid unum; do
    # Only a process that is still that player: ids are reused.
    args=$(ps -o args= -p "$pid" 2>/dev/null || true)
    case " $args " in
      *" -t $team -u $unum "*) kill -TERM "$pid" 2>/dev/null && pids+=("$pid") ;;
    esac
  done <"$list"
  rm -f "$list"
done

# Wait up to five seconds, then force the rest.
alive=("${pids[@]+"${pids[@]}"}")
for _ in $(seq 1 50); do
  left=()
  for pid in "${alive[@]+"${alive[@]}"}"; do
    if kill -0 "$pid" 2>/dev/null; then left+=("$pid"); fi
  done
  alive=("${left[@]+"${left[@]}"}")
  [ ${#alive[@]} -eq 0 ] && break
  sleep 0.1
done
for pid in "${alive[@]+"${alive[@]}"}"; do
  kill -KILL "$pid" 2>/dev/null || true
done
echo "ended ${#pids[@]} players"
