#!/usr/bin/env bash
# The bundle's texts read in a plain editor on a till: no line wider than 100
# characters, no Markdown table left, no path into the source tree. Also shows
# that the check fails on a text that breaks each rule.
#   text-test.sh SOURCE-DIR
set -uo pipefail
src="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# check-text FILE: prints one line per fault, exit 1 when there is one.
check_text() {
  python3 - "$1" <<'PY'
import re, sys
bad = 0
for n, line in enumerate(open(sys.argv[1], encoding="utf-8").read().split("\n"), 1):
    why = []
    if len(line) > 100: why.append("%d characters" % len(line))
    if re.match(r"\s*\|", line): why.append("a table row")
    if re.search(r"(^|[\s(`])(docs|src|tools|scripts|samples|tests)/", line): why.append("a source path")
    for w in why:
        print("%s:%d: %s" % (sys.argv[1], n, w)); bad = 1
sys.exit(bad)
PY
}

fail=0
python3 "$src/scripts/md-to-text.py" "$src/docs/log-and-results.md" >"$work/log-and-results.txt"
python3 "$src/scripts/md-to-text.py" "$src/docs/configuration.md" >"$work/configuration.txt"
python3 "$src/scripts/md-to-text.py" "$src/docs/hostemu.md" >"$work/hostemu.txt"
cp "$src/docs/INSTALL.txt" "$work/INSTALL.txt"
for f in INSTALL.txt log-and-results.txt configuration.txt hostemu.txt; do
  check_text "$work/$f" || fail=1
done
# Every record field of the lookup table survives the conversion.
for field in Card_owner Owner_id Max_discount Printer_comment Access_amount8; do
  grep -q "$field" "$work/log-and-results.txt" || { echo "log-and-results.txt lost $field"; fail=1; }
done

# The check itself must catch each fault.
printf '%s\n' "$(printf 'x%.0s' $(seq 101))" >"$work/wide.txt"
printf '| a | b |\n' >"$work/table.txt"
printf 'see docs/INSTALL.txt\n' >"$work/path.txt"
for f in wide table path; do
  if check_text "$work/$f.txt" >/dev/null; then echo "the check passed a text with a $f fault"; fail=1; fi
done
[ "$fail" = 0 ] && echo "text-test: the bundle's texts read as text"
exit "$fail"
