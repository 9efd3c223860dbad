#!/usr/bin/env bash
# Installs what the project needs from Debian's packages (only what is missing),
# then configures and builds one build folder.
#   scripts/setup.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libxml2-dev googletest libgtest-dev libgmock-dev libbenchmark-dev libboost-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  $sudo apt-get install -y "${missing[@]}"
fi

build_dir=${1:-build}
shift || true
jobs=${QV_JOBS:-$(nproc 2>/dev/null || echo 2)}
cmake -S . -B "$build_dir" -DQV_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$jobs"
