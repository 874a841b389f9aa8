#!/usr/bin/env bash
# Benchmark: 200 exchanges through SendRequestWrapper against 200 bare
# SendRequest exchanges of the same request, with the same client, on loopback
# against the fake loyalty service; prints the ratio of medians.
#   scripts/bench-transport.sh [win32|native] [count]
# win32 (default) runs the DLL's own build of the transport (WinInet) under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-win32}"
count="${2:-200}"
addr=127.0.4.8
scripts/install-deps.sh >/dev/null
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target transportbench >/dev/null
build="build/$preset"
state="$build/bench-fakeloyalty"
work="$(mktemp -d)"
trap 'tests/fixtures/fake-service.sh stop "$state"; rm -rf "$work"' EXIT
tests/fixtures/fake-service.sh start "$state" "$addr"
python3 - "$addr" <<'PY'
import sys, urllib.request
body = b'{"token": "bench", "paths": {"GuestInfo": {"body": "{\\"Status\\":1,\\"FIO\\":\\"Bench Guest\\"}"}}}'
urllib.request.urlopen(urllib.request.Request("http://%s/__control/scenario" % sys.argv[1], data=body, method="POST")).read()
PY
root="$(pwd)"
exe="$root/$build/transportbench"
if [ "$preset" = win32 ]; then
  (cd "$work" && WINEPREFIX="$root/$build/wineprefix" "$root/scripts/wine-run.sh" "$exe.exe" "$addr" v1/GuestInfo/bench "$count")
else
  (cd "$work" && "$exe" "$addr" v1/GuestInfo/bench "$count")
fi
