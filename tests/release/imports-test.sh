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

# The listing holds what the DLL is known to import: the check read the
# imports, whatever objdump's wording.
list="$("$checker" --list "$allow" "$1")"
for import in WININET.DLL!HttpSendRequestA KERNEL32.dll!CreateThread; do
  expect "$(basename "$1") lists $import" 0 "$(basename "$1"): $import" echo "$list"
done

for file in "$@"; do
  name="$(basename "$file")"
  # An import from the middle of the file's list, dropped from the allow-list.
  imports="$("$checker" --list "$allow" "$file" | sed -n "s/^$name: //p")"
  import="$(sed -n "$(( ($(wc -l <<<"$imports") + 1) / 2 ))p" <<<"$imports")"
  dll="${import%%!*}"
  fn="${import#*!}"
  grep -vxF "$dll $fn" "$allow" >"$work/short.txt"
  expect "$name without $import in the list" 1 "$name imports $import, which is not in $work/short.txt" \
    "$checker" "$work/short.txt" "$file"
done

# Files the check cannot take: an import by ordinal, no imports at all, no
# Windows program, no file.
printf 'LIBRARY helper.dll\nEXPORTS\n  helper @7 NONAME\n' >"$work/helper.def"
i686-w64-mingw32-dlltool -d "$work/helper.def" -l "$work/libhelper.a"
printf 'int helper(void);\nint start(void) { return helper(); }\n' >"$work/ordinal.c"
printf 'int start(void) { return 0; }\n' >"$work/none.c"
for prog in ordinal none; do
  i686-w64-mingw32-gcc -nostdlib -e _start "$work/$prog.c" -L"$work" -lhelper -o "$work/$prog.exe"
done
expect "an import by ordinal" 1 "ordinal.exe imports helper.dll by ordinal 7, not by name" \
  "$checker" "$allow" "$work/ordinal.exe"
expect "no import table" 1 "$work/none.exe: no import table found" "$checker" "$allow" "$work/none.exe"
expect "not a Windows program" 1 "$allow is no Windows program objdump can read" \
  "$checker" "$allow" "$allow"
expect "a missing file" 1 "cannot read $work/missing.exe" "$checker" "$allow" "$work/missing.exe"

printf 'KERNEL32.dll\n' >"$work/bad.txt"
expect "malformed allow-list line" 2 "bad allow-list line" "$checker" "$work/bad.txt" "$1"
exit $fail
