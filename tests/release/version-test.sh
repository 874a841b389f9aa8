#!/usr/bin/env bash
# The version resources of the shipped programs: the version of
# src/host/Version.h, the commit they were built from (as git names it now,
# "-dirty" with uncommitted changes to tracked files) and a copyright line.
#   version-test.sh SOURCE-DIR FILE...
set -uo pipefail
src="$1"
shift
version="$(sed -n 's/^#define BRISVANE_VERSION \([0-9][0-9]*\)$/\1/p' "$src/src/host/Version.h")"
[ -n "$version" ] || { echo "FAIL no version in $src/src/host/Version.h"; exit 1; }
if commit="$(git -C "$src" rev-parse --verify HEAD 2>/dev/null)"; then
  [ -n "$(git -C "$src" status --porcelain --untracked-files=no)" ] && commit="$commit-dirty"
  year="$(git -C "$src" log -1 --format=%cd --date=format:%Y)"
else
  # Sources without git: the build names no commit.
  commit="unknown"
  year="$(date -u -d "@${SOURCE_DATE_EPOCH:-0}" +%Y)"
fi
fail=0
for file in "$@"; do
  name="$(basename "$file")"
  rc="$(LC_ALL=C i686-w64-mingw32-windres -i "$file" -O rc 2>&1)"
  while IFS='|' read -r key want; do
    got="$(sed -n "s/^ *VALUE \"$key\", \"\(.*\)\"\$/\1/p" <<<"$rc")"
    if [ "$got" != "$want" ]; then
      echo "FAIL $name $key: \"$got\", wanted \"$want\""
      fail=1
    else
      echo "ok   $name $key: $got"
    fi
  done <<EOT
FileVersion|$version
ProductVersion|$version ($commit)
Comments|Built from commit $commit
LegalCopyright|Copyright (C) $year the brisvane authors
OriginalFilename|$name
EOT
  if ! grep -qE "^ *FILEVERSION $version, 0, 0, 0$" <<<"$rc"; then
    echo "FAIL $name: numeric FILEVERSION is not $version,0,0,0"
    fail=1
  fi
done
exit $fail
