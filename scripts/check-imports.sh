#!/usr/bin/env bash
# Lists every function that the given Windows programs import and fails on any
# that the allow-list does not hold: the files must load on Windows XP SP3, so
# a new import is a reviewed decision, not an accident of a new compiler or
# library version.
#   scripts/check-imports.sh [--list] ALLOW-LIST FILE...
# The allow-list holds one "DLL function" pair a line; '#' starts a comment.
# --list also prints every import as "file: DLL!function".
set -euo pipefail
list=0
if [ "${1:-}" = "--list" ]; then
  list=1
  shift
fi
if [ $# -lt 2 ]; then
  echo "usage: check-imports.sh [--list] ALLOW-LIST FILE..." >&2
  exit 2
fi
allow="$1"
shift
[ -r "$allow" ] || { echo "check-imports: cannot read the allow-list $allow" >&2; exit 2; }

# "dll function" in lower case for the DLL name (Windows matches it without case).
allowed="$(sed -e 's/#.*//' "$allow" | awk 'NF == 2 { print tolower($1) " " $2 } NF != 2 && NF != 0 {
  print "check-imports: bad allow-list line: " $0 > "/dev/stderr"; exit 2 }')"

status=0
for file in "$@"; do
  [ -r "$file" ] && [ -f "$file" ] || { echo "check-imports: cannot read $file" >&2; status=1; continue; }
  if ! dump="$(LC_ALL=C i686-w64-mingw32-objdump -p "$file" 2>&1)"; then
    echo "check-imports: $file is no Windows program objdump can read: $(tail -n 1 <<<"$dump")" >&2
    status=1
    continue
  fi
  # objdump prints each import table as "DLL Name: X" followed by lines of
  # "<vma> <hint> <name>"; an import by ordinal shows "<none>" or nothing for
  # its name.
  imports="$(awk '
    /^\tDLL Name: / { dll = $3; next }
    /^\t[0-9a-f]+\t/ && dll != "" {
      if ($3 == "" || $3 == "<none>") print dll " #ordinal " $2; else print dll " " $3 }
    /^$/ { dll = "" }' <<<"$dump")"
  if [ -z "$imports" ]; then
    echo "check-imports: $file: no import table found" >&2
    status=1
    continue
  fi
  count=0
  while read -r dll fn ordinal; do
    count=$((count + 1))
    if [ "$fn" = "#ordinal" ]; then
      # A number means another function on another Windows version: never allowed.
      echo "check-imports: $(basename "$file") imports $dll by ordinal $ordinal, not by name" >&2
      status=1
      continue
    fi
    [ $list -eq 1 ] && echo "$(basename "$file"): $dll!$fn"
    if ! grep -qxF "$(tr 'A-Z' 'a-z' <<<"$dll") $fn" <<<"$allowed"; then
      echo "check-imports: $(basename "$file") imports $dll!$fn, which is not in $allow" >&2
      status=1
    fi
  done <<<"$imports"
  echo "check-imports: $(basename "$file"): $count imports checked"
done
exit $status
