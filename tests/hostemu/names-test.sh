#!/usr/bin/env bash
# File names and texts as Windows gives them: a Cyrillic folder and file name
# reach summary and redact whatever the code page, and every output is valid
# UTF-8 (a log's bytes that are not UTF-8 shown as "\xNN").
#   names-test.sh HOSTEMU_EXE BRISVANE_DLL
set -uo pipefail
hostemu="$1" dll="$2" fake=""
source "$(dirname "$0")/harness.sh"

folder="$work/Логи"
mkdir -p "$folder"
python3 "$here/../../bench/till-log.py" "$folder/журнал.log" --days 2
# A version text of another encoding: one byte that is not UTF-8.
sed 's/CURRENT VERSION: 37/CURRENT VERSION: 37\xff/' "$folder/журнал.log" >"$folder/версия.log"
W="Z:${folder//\//\\}"

valid_json() { python3 -c 'import json,sys; json.loads(sys.stdin.buffer.read().decode("utf-8"))' <<<"$out" ||
  fail "not JSON in UTF-8"; }
valid_utf8() { python3 -c 'import sys; sys.stdin.buffer.read().decode("utf-8")' <"$1" || fail "$1: not UTF-8"; }

# LANG gives Wine its code page: 1251 for Russian, 1252 for C.
for code_page in ru_RU.UTF-8 C.UTF-8; do
  export LC_ALL="" LANGUAGE="" LANG="$code_page"
  run "$code_page: summary --json" 0 summary "$W\\журнал.log" --json
  valid_json
  has '"calls":{"GetCardInfoEx":'
  run "$code_page: summary, the page" 0 summary "$W\\журнал.log" --html "$W\\страница.html"
  has "$W\\журнал.log"
  has "$W\\страница.html"
  valid_utf8 "$folder/страница.html"
  grep -qF "<h2>$W\\журнал.log</h2>" "$folder/страница.html" || fail "the page's heading"
  run "$code_page: redact" 0 redact "$W\\журнал.log" "$W\\копия.log"
  has "Wrote $W\\копия.log"
  [ -s "$folder/копия.log" ] || fail "no redacted copy"
  run "$code_page: a version that is not UTF-8, --json" 0 summary "$W\\версия.log" --json
  valid_json
  has '"versions":["37\\xFF"]'
  run "$code_page: a version that is not UTF-8, text" 0 summary "$W\\версия.log"
  has 'versions: 37\xFF (first'
  python3 -c 'import sys; sys.argv[1].encode("utf-8")' "$out" 2>/dev/null || fail "text not UTF-8"
  rm -f "$folder/страница.html" "$folder/копия.log"
done

finish "hostemu names tests"
