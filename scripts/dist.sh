#!/usr/bin/env bash
# Builds the release folder dist/: brisvane.dll, hostemu.exe, a commented
# sample conf.xml, sample checks, the installation note (English and
# Russian) and the log and configuration references as plain text, with their
# SHA-256 sums; every text as Notepad reads it (scripts/bundle-texts.sh). The
# two programs are the very files the tests ran (stripped by the build; full
# copies stay in build/win32/unstripped/), signed when a certificate and key
# are given.
#   scripts/dist.sh [--cert CERT --key KEY [--timestamp URL]]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

cert=""
key=""
stamp=""
while [ $# -gt 0 ]; do
  case "$1" in
    --cert) cert="${2:?--cert needs a file}"; shift 2 ;;
    --key) key="${2:?--key needs a file}"; shift 2 ;;
    --timestamp) stamp="${2:?--timestamp needs a URL}"; shift 2 ;;
    *) echo "usage: dist.sh [--cert CERT --key KEY [--timestamp URL]]" >&2; exit 2 ;;
  esac
done
if [ -n "$cert$key$stamp" ] && { [ -z "$cert" ] || [ -z "$key" ]; }; then
  echo "dist: signing needs both --cert and --key" >&2
  exit 2
fi

scripts/install-deps.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target brisvane hostemu

# The host finds the exports by their plain names; refuse a DLL that lost one.
# (Tools whose text is read here run in the C locale: their words are not translated.)
exports="$(LC_ALL=C i686-w64-mingw32-objdump -p build/win32/brisvane.dll |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | LC_ALL=C sort | tr '\n' ' ')"
if [ "$exports" != "GetCardInfoEx Init TransactionsEx " ]; then
  echo "dist: brisvane.dll exports '$exports', expected GetCardInfoEx Init TransactionsEx" >&2
  exit 1
fi
# Tills run Windows XP SP3 and later: refuse an import outside the reviewed list.
scripts/check-imports.sh scripts/allowed-imports.txt build/win32/brisvane.dll build/win32/hostemu.exe

rm -rf dist
mkdir -p dist
cp build/win32/brisvane.dll build/win32/hostemu.exe dist/
if [ -n "$cert" ]; then
  scripts/sign.sh "$cert" "$key" ${stamp:+"$stamp"} -- dist/brisvane.dll dist/hostemu.exe
else
  echo "dist: unsigned (give --cert and --key to sign)"
fi
scripts/bundle-texts.sh dist
(cd dist && sha256sum brisvane.dll hostemu.exe conf.xml check.xml order.xml paid.xml return.xml \
  INSTALL.txt INSTALL.ru.txt log-and-results.txt configuration.txt hostemu.txt) | scripts/bundle-texts.sh --one dist/SHA256SUMS
echo "dist: ready, built from commit $(sed -n 's/^#define BRISVANE_BUILD_ID "\(.*\)"$/\1/p' build/win32/generated/BuildId.h)"
ls -l dist
