#!/usr/bin/env bash
# Sets everything up, builds, and plays.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build
if [ ! -x build/agent ]; then
  echo "Built everything under build/. The agent program does not exist yet, so there is nothing to play."
  exit 0
fi
