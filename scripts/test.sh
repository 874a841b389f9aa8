#!/usr/bin/env bash
# Builds and runs every test: the source formatting, native, native under
# ASan+UBSan, the 32-bit Windows build (unit tests and the real DLL) under Wine,
# and each fuzz target for a bounded time (FUZZ_SECONDS per target, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
passed=0
failed=0
if ! scripts/install-deps.sh; then
  echo "=== the packages could not be installed" >&2
  echo "Total: 0 passed, 1 failed"
  exit 1
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT

echo "=== format"
if scripts/check-format.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  status=1
fi

# The fake service of a preset's tests listens on addresses of the build's
# CMake cache; a taken one (another test run, another server) is named here in
# one line instead of failing the fixture and every test behind it.
taken_address() {  # taken_address PRESET: prints "ADDRESS:PORT VARIABLE" or nothing
  local cache="build/$1/CMakeCache.txt" args=()
  local fake untrusted revocation
  fake=$(sed -n 's/^BRISVANE_FAKE_ADDRESS:STRING=//p' "$cache")
  args+=("$fake:80" BRISVANE_FAKE_ADDRESS)
  if [ "$1" = win32 ]; then
    untrusted=$(sed -n 's/^BRISVANE_UNTRUSTED_ADDRESS:STRING=//p' "$cache")
    revocation=$(sed -n 's/^BRISVANE_REVOCATION_ADDRESS:STRING=//p' "$cache")
    args+=("$fake:443" BRISVANE_FAKE_ADDRESS "$untrusted:443" BRISVANE_UNTRUSTED_ADDRESS
           "$revocation:443" BRISVANE_REVOCATION_ADDRESS)
  fi
  python3 - "${args[@]}" <<'EOF_PY'
import socket, sys
pairs = sys.argv[1:]
for where, variable in zip(pairs[0::2], pairs[1::2]):
    host, port = where.rsplit(":", 1)
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        s.bind((host, int(port)))
    except OSError:
        print(where, variable)
        break
    finally:
        s.close()
EOF_PY
}

# A stage whose configure or build fails counts as one failure; the run goes on
# with the next stage, so that the Total line always closes the output.
build_failed() {  # build_failed STAGE
  echo "=== $1: configure or build FAILED" >&2
  failed=$((failed + 1))
  status=1
}

for preset in native asan win32; do
  echo "=== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    build_failed "$preset"
    continue
  fi
  if taken=$(taken_address "$preset") && [ -n "$taken" ]; then
    echo "=== $preset: ${taken% *} is taken; move this build's fake service with" \
         "cmake --preset $preset -D${taken#* }=127.0.x.y" >&2
    failed=$((failed + 1))
    status=1
    continue
  fi
  # The Windows build's tests run in the tills' language (Wine then uses code
  # page 1251, as a Russian Windows): the product and the tests must not
  # depend on English texts of the system or the tools.
  lang=()
  if [ "$preset" = win32 ]; then
    lang=(env -u LC_ALL -u LANGUAGE LANG=ru_RU.UTF-8)
    echo "=== $preset: tests (LANG=ru_RU.UTF-8)"
  else
    echo "=== $preset: tests"
  fi
  "${lang[@]}" ctest --preset "$preset" | tee "$out" || status=1
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
if ! cmake --preset fuzz >/dev/null || ! cmake --build --preset fuzz; then
  build_failed fuzz
elif scripts/fuzz.sh "${FUZZ_SECONDS:-60}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  status=1
fi
echo "Total: $passed passed, $failed failed"
exit $status
