#!/usr/bin/env bash
# Long fuzzing runs: every fuzz target (or the ones named) for SECONDS each
# (default 60), then how many inputs each one ran with no crash.
#   scripts/fuzz.sh [SECONDS] [TARGET...]        e.g. scripts/fuzz.sh 600 setplay_points
# With clang installed the targets run under libFuzzer (folder build-fuzz/);
# otherwise under our own mutation driver in the sanitizer build (build-asan/).
# Inputs that crash are left in the working directory (crash-*).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do
    name=$(basename "$f" .cpp)
    [ "$name" = FuzzDriver ] || targets+=("$name")
  done
fi
jobs=${QV_JOBS:-2}

if command -v clang++ >/dev/null 2>&1; then
  cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQV_LIBFUZZER=ON \
        -DQV_TESTS=OFF -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  for t in "${targets[@]}"; do cmake --build build-fuzz -j "$jobs" --target "libfuzzer_$t" >/dev/null; done
  for t in "${targets[@]}"; do
    corpus=$(mktemp -d)
    cp fuzz/seeds/"$t"/* "$corpus"/
    runs=$(build-fuzz/fuzz/libfuzzer_"$t" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
             "$corpus" 2>&1 | sed -n 's/^stat::number_of_executed_units: *//p')
    rm -rf "$corpus"
    echo "$t: $runs inputs under libFuzzer in $seconds s, no crash"
  done
else
  scripts/setup.sh build-asan -DQV_SANITIZE=ON -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
  for t in "${targets[@]}"; do
    build-asan/fuzz/fuzz_"$t" -seconds="$seconds" -seed="$RANDOM" fuzz/seeds/"$t"
  done
fi
