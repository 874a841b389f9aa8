#!/usr/bin/env bash
# A second build of the same sources, copied to another folder and built in
# a build folder of another name, gives the shipped programs byte for byte as
# the tested build has them: no path, time or build folder leaks into them.
#   reproducible-test.sh SOURCE-DIR BUILD-DIR
set -uo pipefail
src="$1"
build="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
copy="$work/another/checkout/of/brisvane"
mkdir -p "$copy"
# The tracked files as they are now, and new ones not yet added.
(cd "$src" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 -I{} sh -c 'test -e "{}" && printf "%s\0" "{}"' |
  tar --null -T - -cf -) | tar -xf - -C "$copy" || { echo "FAIL copying the sources"; exit 1; }

# The copy has no git: it gets the commit id and time the tested build used.
id="$(sed -n 's/^#define BRISVANE_BUILD_ID "\(.*\)"$/\1/p' "$build/generated/BuildId.h")"
epoch="$(head -n 1 "$build/generated/BuildEpoch.txt")"
cmake -S "$copy" -B "$work/b2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBRISVANE_BUILD_ID="$id" \
  -DBRISVANE_BUILD_EPOCH="$epoch" >"$work/configure.log" 2>&1 ||
  { tail -n 20 "$work/configure.log"; echo "FAIL configure"; exit 1; }
cmake --build "$work/b2" -j2 --target brisvane hostemu >"$work/build.log" 2>&1 ||
  { tail -n 20 "$work/build.log"; echo "FAIL build"; exit 1; }

fail=0
for name in brisvane.dll hostemu.exe; do
  if cmp "$build/$name" "$work/b2/$name"; then
    echo "ok   $name: identical ($(stat -c %s "$build/$name") bytes)"
  else
    echo "FAIL $name differs between $build and a build in $work/b2"
    fail=1
  fi
done
exit $fail
