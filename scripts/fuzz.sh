#!/usr/bin/env bash
# Long fuzzing runs: every fuzz target (or the ones named), each for SECONDS
# (default 60) or until it has run RUNS inputs, then a table of how many inputs
# each ran and whether it crashed.
#   scripts/fuzz.sh [SECONDS] [--runs RUNS] [--jobs JOBS] [TARGET...]
#   e.g. scripts/fuzz.sh 600 setplay_points
#        scripts/fuzz.sh 36000 --runs 10000000 --jobs 3
# JOBS targets run at once (default 1), each niced. With clang installed the
# targets run under libFuzzer (folder build-fuzz/); the corpus each one grows is
# kept in build-fuzz/corpus/TARGET (started from fuzz/seeds/TARGET) and an input
# that crashes is left in build-fuzz/crashes/. Without clang they run under our
# own mutation driver in the sanitizer build (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
seconds=60
runs=-1
jobs=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    [0-9]*) seconds=$1; shift ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do
    name=$(basename "$f" .cpp)
    [ "$name" = FuzzDriver ] || targets+=("$name")
  done
fi
build_jobs=${QV_JOBS:-2}
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

dict_of() {
  [ -f "$top/fuzz/dicts/$1.dict" ] && echo "-dict=$top/fuzz/dicts/$1.dict" || true
}

if command -v clang++ >/dev/null 2>&1; then
  cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQV_LIBFUZZER=ON \
        -DQV_TESTS=OFF -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j "$build_jobs" --target $(printf 'libfuzzer_%s ' "${targets[@]}") >/dev/null
  mkdir -p build-fuzz/crashes
  run_one() {
    local t=$1 corpus="$top/build-fuzz/corpus/$1" log="$results/$1.log"
    mkdir -p "$corpus"
    cp -n fuzz/seeds/"$t"/* "$corpus"/
    # The readers' own complaints are dropped (close_fd_mask); what leaks on
    # the way out of a reader that ends the program is not looked for.
    nice -n 10 build-fuzz/fuzz/libfuzzer_"$t" -max_total_time="$seconds" -runs="$runs" -close_fd_mask=3 \
         -detect_leaks=0 -print_final_stats=1 -artifact_prefix="$top/build-fuzz/crashes/$t-" \
         $(dict_of "$t") "$corpus" >"$log" 2>&1 && echo ok >"$results/$t.status" || echo CRASH >"$results/$t.status"
  }
  engine="libFuzzer"
  count() { sed -n 's/^stat::number_of_executed_units: *//p' "$results/$1.log"; }
else
  scripts/setup.sh build-asan -DQV_SANITIZE=ON -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
  run_one() {
    local t=$1 limit=""
    [ "$runs" -ge 0 ] && limit="-runs=$runs"
    (cd build-asan && nice -n 10 fuzz/fuzz_"$t" -seconds="$seconds" $limit -seed="$RANDOM" \
       $(dict_of "$t") "$top/fuzz/seeds/$t") >"$results/$t.log" 2>&1 \
      && echo ok >"$results/$t.status" || echo CRASH >"$results/$t.status"
  }
  engine="our driver"
  count() { sed -n 's/.* and \([0-9]*\) generated inputs.*/\1/p' "$results/$1.log"; }
fi

# At most JOBS targets at a time.
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  (start=$(date +%s); run_one "$t"; echo $(( $(date +%s) - start )) >"$results/$t.seconds") &
  running=$((running + 1))
done
wait

status=0
printf '%-22s %12s %8s  %s\n' target inputs seconds "result ($engine)"
for t in "${targets[@]}"; do
  result=$(cat "$results/$t.status")
  printf '%-22s %12s %8s  %s\n' "$t" "$(count "$t")" "$(cat "$results/$t.seconds")" "$result"
  if [ "$result" != ok ]; then
    status=1
    grep -m 3 -E 'ERROR|SUMMARY|Test unit written|crash-input' "$results/$t.log" | sed 's/^/    /' || true
  fi
done
exit $status
