#!/usr/bin/env bash
# The bundle's texts read in a plain editor on a till: no line wider than 100
# characters, no Markdown table left, no path into the source tree; every text
# of the bundle (documents, samples, SHA256SUMS) with CRLF line ends and, where
# it holds more than ASCII, a UTF-8 byte order mark. Also shows that the check
# fails on a text that breaks each rule.
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

# check-notepad-text FILE: one line per fault, exit 1 when there is one. A
# text of the bundle ends every line in CRLF and, when it holds more than
# ASCII, starts with one UTF-8 byte order mark (and has none when it does not).
check_notepad_text() {
  python3 - "$1" <<'PY'
import sys
data, bad = open(sys.argv[1], "rb").read(), 0
def fault(why):
    global bad
    print("%s: %s" % (sys.argv[1], why)); bad = 1
bom = b"\xef\xbb\xbf"
text = data[3:] if data.startswith(bom) else data
if text.startswith(bom): fault("two byte order marks")
if any(b > 0x7f for b in text) and not data.startswith(bom): fault("no UTF-8 byte order mark")
if data.startswith(bom) and not any(b > 0x7f for b in text): fault("a byte order mark on ASCII")
try: text.decode("utf-8")
except UnicodeDecodeError as e: fault("not UTF-8 at byte %d" % e.start)
if not data.endswith(b"\r\n"): fault("the last line has no CRLF")
for n, line in enumerate(data.split(b"\n")[:-1], 1):
    if not line.endswith(b"\r") or line.endswith(b"\r\r"): fault("line %d does not end in one CRLF" % n)
sys.exit(bad)
PY
}

fail=0
python3 "$src/scripts/md-to-text.py" "$src/docs/log-and-results.md" >"$work/log-and-results.txt"
python3 "$src/scripts/md-to-text.py" "$src/docs/configuration.md" >"$work/configuration.txt"
python3 "$src/scripts/md-to-text.py" "$src/docs/hostemu.md" >"$work/hostemu.txt"
cp "$src/docs/INSTALL.txt" "$work/INSTALL.txt"
cp "$src/docs/INSTALL.ru.txt" "$work/INSTALL.ru.txt"
for f in INSTALL.txt INSTALL.ru.txt log-and-results.txt configuration.txt hostemu.txt; do
  check_text "$work/$f" || fail=1
done
# Every text of the bundle as dist.sh writes it, SHA256SUMS included.
mkdir "$work/bundle"
"$src/scripts/bundle-texts.sh" "$work/bundle"
(cd "$work/bundle" && sha256sum ./*) | "$src/scripts/bundle-texts.sh" --one "$work/bundle/SHA256SUMS"
for f in "$work"/bundle/*; do
  case "$f" in
    */check.xml | */order.xml | */paid.xml | */return.xml)
      # Checks go to the DLL as the host's would: ASCII, never a mark in front.
      LC_ALL=C grep -q '[^ -~[:space:]]' "$f" && { echo "$f: more than ASCII"; fail=1; } ;;
    *) check_notepad_text "$f" || fail=1 ;;
  esac
done
for f in INSTALL.txt INSTALL.ru.txt log-and-results.txt hostemu.txt; do
  head -c 3 "$work/bundle/$f" | grep -q $'\xef\xbb\xbf' || { echo "$f: expected a byte order mark"; fail=1; }
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
printf 'Шаг\r\n' >"$work/no-bom.txt"
printf '\xef\xbb\xbfStep\r\n' >"$work/ascii-bom.txt"
printf '\xef\xbb\xbfШаг\r\nдва\n' >"$work/lf.txt"
printf '\xef\xbb\xbf\xef\xbb\xbfШаг\r\n' >"$work/two-boms.txt"
printf '\xef\xbb\xbf\xc8\xe0\xe3\r\n' >"$work/cp1251.txt"
for f in no-bom ascii-bom lf two-boms cp1251; do
  if check_notepad_text "$work/$f.txt" >/dev/null; then echo "the check passed a text with a $f fault"; fail=1; fi
done
[ "$fail" = 0 ] && echo "text-test: the bundle's texts read as text"
exit "$fail"
