#!/usr/bin/env bash
# Builds and runs every test: native, native under ASan+UBSan, the
# 32-bit Windows build (unit tests and the real DLL) under Wine, and each
# fuzz target for a bounded time (FUZZ_SECONDS per target, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

status=0
for preset in native asan win32; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: tests"
  ctest --preset "$preset" || status=1
done

echo "=== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
scripts/fuzz.sh "${FUZZ_SECONDS:-60}" || status=1
exit $status
