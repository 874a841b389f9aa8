#!/usr/bin/env bash
# The full fault soak: 10 000 card lookups and postings through brisvane_fast.dll
# (the DLL's code with shortened waits) under Wine, against the fake loyalty
# service injecting faults at random with a fixed seed. CI runs 1 000 calls as
# part of scripts/test.sh; this runs as many as asked and prints the figures
# (results, faults met, handles and private memory after 100 calls and at the end).
# Usage: scripts/soak.sh [calls, default 10000] [seed, default 20261207]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
BRISVANE_SOAK_CALLS="${1:-10000}" BRISVANE_SOAK_SEED="${2:-20261207}" \
  ctest --preset win32 -R '^soak_tests$' --verbose
