#!/usr/bin/env bash
# Builds and runs every test: native, native under ASan+UBSan, the
# 32-bit Windows build (unit tests and the real DLL) under Wine, and each
# fuzz target for a bounded time (FUZZ_SECONDS per target, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

status=0
passed=0
failed=0
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for preset in native asan win32; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: tests"
  ctest --preset "$preset" | tee "$out" || status=1
  # "N% tests passed, F tests failed out of T"
  if line=$(grep -E 'tests failed out of [0-9]+' "$out" | tail -n 1); then
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
  else
    failed=$((failed + 1))
  fi
done

echo "=== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
if scripts/fuzz.sh "${FUZZ_SECONDS:-60}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  status=1
fi
echo "Total: $passed passed, $failed failed"
exit $status
