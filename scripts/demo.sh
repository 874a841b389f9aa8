#!/usr/bin/env bash
# The main job: builds brisvane.dll and runs it in the host emulator under Wine,
# in a scratch folder laid out like a POS host's working directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target brisvane hostemu

work="$(mktemp -d /tmp/brisvane-demo.XXXXXX)"
trap 'rm -rf "$work"' EXIT
cp build/win32/brisvane.dll build/win32/hostemu.exe samples/conf.xml "$work/"

export WINEPREFIX="$root/build/win32/wineprefix"
echo
echo "=== The till starts: the host loads brisvane.dll and calls Init"
scripts/wine-run.sh "$work/hostemu.exe" "Z:$work" init
