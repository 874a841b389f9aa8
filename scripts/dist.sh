#!/usr/bin/env bash
# Builds the release folder dist/: brisvane.dll, hostemu.exe, a commented
# sample conf.xml, the installation note and the log and configuration
# references, in Windows line endings where people read them, with their
# SHA-256 sums.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target brisvane hostemu

# The host finds the exports by their plain names; refuse a DLL that lost one.
exports="$(i686-w64-mingw32-objdump -p build/win32/brisvane.dll |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')"
if [ "$exports" != "GetCardInfoEx Init TransactionsEx " ]; then
  echo "dist: brisvane.dll exports '$exports', expected GetCardInfoEx Init TransactionsEx" >&2
  exit 1
fi

rm -rf dist
mkdir -p dist
cp build/win32/brisvane.dll build/win32/hostemu.exe dist/
i686-w64-mingw32-strip --strip-debug dist/brisvane.dll dist/hostemu.exe
sed 's/$/\r/' samples/conf.xml >dist/conf.xml
sed 's/$/\r/' docs/INSTALL.txt >dist/INSTALL.txt
sed 's/$/\r/' docs/log-and-results.md >dist/log-and-results.txt
sed 's/$/\r/' docs/configuration.md >dist/configuration.txt
(cd dist && sha256sum brisvane.dll hostemu.exe conf.xml INSTALL.txt log-and-results.txt \
  configuration.txt >SHA256SUMS)
echo "dist: ready"
ls -l dist
