#!/usr/bin/env bash
# The shipped programs import only what the reviewed allow-list holds, and the
# check fails, naming the function and the file, once an import is missing
# from the list.
#   imports-test.sh CHECKER ALLOW-LIST FILE...
set -uo pipefail
checker="$1"
allow="$2"
shift 2
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail=0
expect() { # name, wanted exit code, wanted text in the output or "", command...
  local name="$1" rc="$2" text="$3"
  shift 3
  local out got
  out="$("$@" 2>&1)"
  got=$?
  if [ "$got" != "$rc" ] || { [ -n "$text" ] && ! grep -qF "$text" <<<"$out"; }; then
    echo "FAIL $name: exit $got (wanted $rc)${text:+, wanted \"$text\"}"
    echo "$out" | tail -n 5
    fail=1
  else
    echo "ok   $name"
  fi
}

expect "shipped files within the allow-list" 0 "" "$checker" "$allow" "$@"

# DLL names compare without case, as the Windows loader does.
awk '/^[A-Za-z]/ { $1 = tolower($1) } { print }' "$allow" >"$work/lower.txt"
expect "DLL names in lower case" 0 "" "$checker" "$work/lower.txt" "$@"

for file in "$@"; do
  name="$(basename "$file")"
  # One of the file's own imports, dropped from the list.
  import="$("$checker" --list "$allow" "$file" | sed -n "s/^$name: //p" | tail -n 1)"
  dll="${import%%!*}"
  fn="${import#*!}"
  grep -vxF "$dll $fn" "$allow" >"$work/short.txt"
  expect "$name without $import in the list" 1 "$name imports $import, which is not in $work/short.txt" \
    "$checker" "$work/short.txt" "$file"
done

printf 'KERNEL32.dll\n' >"$work/bad.txt"
expect "malformed allow-list line" 2 "bad allow-list line" "$checker" "$work/bad.txt" "$1"
exit $fail
