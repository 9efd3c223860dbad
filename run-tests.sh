#!/usr/bin/env bash
# Sets everything up, builds, and runs every test twice: a normal build and a
# build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

scripts/setup.sh build
scripts/setup.sh build-asan -DQV_SANITIZE=ON -DQV_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
echo "== tests (normal build)"
ctest --test-dir build --output-on-failure -j "$jobs" || status=1
echo "== tests (sanitizer build)"
ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
exit $status
