#!/usr/bin/env bash
# hostemu replay under Wine: a till's log made against the fake service (lookups
# in modes 0, 1 and 16, a close, a return, a close whose guest is found through the
# check's card holder, and a lookup whose request is refused)
# is replayed through the same DLL; then with one recorded reply changed, a
# recorded request body edited, the log housekeeping's outcome changed, cut at
# both ends, and with bad arguments; and a lookup the service held past the time
# limit, replayed.
#   replay-test.sh HOSTEMU_EXE BRISVANE_DLL FAKE_ADDRESS NO_LISTENER_ADDRESS
# Needs the fake service on FAKE_ADDRESS:80, WINEPREFIX, and HOSTEMU_REPLAY_ADDRESS
# (where the replay's own server looks for a free port 80).
set -uo pipefail
hostemu="$1" dll="$2" fake="$3" nolistener="$4"
source "$(dirname "$0")/harness.sh"
tok="$(token replay)"

scenario "$tok" "$(python3 - <<'EOF'
import json
guest = {"Status": 1, "ClientId": "501", "LastName": "Петрова", "FirstName": "Анна",
         "MiddleName": "Сергеевна", "LoyaltyLevel": "Золото", "BonusBalance": "1250.50",
         "DiscountId": 3, "BonusId": 7, "NotPayType": 0}
discount = {"Status": 1, "FIO": "Петрова Анна", "NotPayType": 0, "BonusId": 7, "DiscountId": 3,
            "SumDiscount": 30.5, "MaxBonus": 250.0, "MaxDeposit": 800.0,
            "Message": "Скидка", "LoyaltyLevel": "Золото", "PrintMessage": "Спасибо!"}
paths = {"GuestInfo": {"body": json.dumps(guest, ensure_ascii=False)},
         "GetDiscount": {"body": json.dumps(discount, ensure_ascii=False)},
         "CloseOrder": {"body": "{\"Status\":1}"}, "ReturnOrder": {"body": "{\"Status\":1}"}}
print(json.dumps(paths))
EOF
)"

cp "$work/cat1.xml" "$work/close.xml"
for mode in 0 16 2; do sed "s/chmode=\"1\"/chmode=\"$mode\"/" "$work/close.xml" >"$work/mode$mode.xml"; done
sed 's/<PAYMENT code="5"[^>]*>//' "$work/close.xml" >"$work/holder.xml"
sed -i 's/$/\r/' "$work/mode0.xml"  # a host's check with CR LF line ends

# --- the till's day: calls 1 to 8
good_conf "$fake" "$tok" other
run "record" 0 "$T" init
run "record" 0 "$T" lookup 1001 "$work/mode0.xml"
run "record" 0 "$T" lookup 79161234567 "$work/close.xml"
run "record" 0 "$T" lookup 1001 "$work/mode16.xml"
run "record" 0 "$T" transaction "$work/close.xml"
run "record" 0 "$T" transaction "$work/mode2.xml"
has "TransactionsEx returned 0"
run "record" 0 "$T" transaction "$work/holder.xml"
has "TRY GET ClientId from API WITH {\"CardToken\":1001}"
has "TransactionsEx returned 0"
good_conf "$nolistener" "$tok" other  # the service is down for call 8: refused, 10 s pause, the probe
run "record" 0 "$T" lookup 1002 "$work/mode0.xml"
has "dwExitCode != 0"
cp "$till/brisvane.log" "$work/day.log"
# The test DLL's probe goes where nothing listens, as at a till without internet
# (with internet the call would wait 30 s more and try again): the same 10 s on
# every machine.
waits=10
case_name="the probe of the test DLL"
grep -qF "GOOGLE NOT WORKING, ERROR!" "$work/day.log" || fail "the probe of call 8 did not fail"
good_conf "$fake" "$tok" other
sums="$(md5sum "$till/conf.xml" "$till/brisvane.log")"

# The replay's scratch folders (under the Wine prefix's %TEMP%) that are not in $1.
temp="$(echo "$WINEPREFIX"/drive_c/users/*/Temp | cut -d' ' -f1)"
scratch_folders() { ls -d "$temp"/hostemu-* 2>/dev/null | sort; }
new_scratch_folders() { comm -13 <(printf '%s\n' "$1") <(scratch_folders); }
scratch_before="$(scratch_folders)"

run "replay through the same DLL" 0 "$T" replay "Z:$work/day.log"
for c in "1  Init" "2  GetCardInfoEx(1001)" "3  GetCardInfoEx(79161234567)" "4  GetCardInfoEx" \
         "5  TransactionsEx" "6  TransactionsEx" "7  TransactionsEx" "8  GetCardInfoEx(1002)"; do
  has "call $c  result "
done
has "call 8  GetCardInfoEx(1002): the DLL's own waits make this call take about $waits s"
[ "$(grep -c ': same$' <<<"$out")" -eq 8 ] || fail "every call should be the same"
has "8 calls: 8 same, 0 differ, 0 not replayable"
[ "$(md5sum "$till/conf.xml" "$till/brisvane.log")" = "$sums" ] ||
  fail "the replay touched the folder's conf.xml or brisvane.log"
left="$(new_scratch_folders "$scratch_before")"
[ -z "$left" ] || fail "the replay left its scratch folder behind: $left"

run "one call" 0 "$T" replay "Z:$work/day.log" --call 3
has "call 3  GetCardInfoEx(79161234567)  result 0: same"
has "1 call: 1 same"
lacks "call 2 "
# A Russian UI without --lang: the verdict in Russian, the log's lines as they are.
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "one call, Russian UI" 0 "$T" replay "Z:$work/day.log" --call 3
has "вызов 3  GetCardInfoEx(79161234567)  результат 0: совпадает"
has "1 вызов: совпадают — 1, расходятся — 0, воспроизвести нельзя — 0"
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "no such call, Russian UI" 2 "$T" replay "Z:$work/day.log" --call 99
has "hostemu: в журнале 8 вызовов, вызова 99 нет"
lang=(--lang en)

# The host's own values in fields the lookup does not write come back from the
# recorded dump; a field the lookup writes is made again, not copied from it.
python3 - "$work/day.log" "$work/host.log" "$work/owner.log" <<'EOF'
import sys
log = open(sys.argv[1], "rb").read()
dump = log.index(b"GetCardInfoEx RESULT INFO : Info - ")
head, tail = log[:dump], log[dump:]
host = tail.replace(b"Access_amount5: 0;", b"Access_amount5: 777;", 1).replace(
    b"Comment: ;", b"Comment: host note;", 1)
open(sys.argv[2], "wb").write(head + host)
owner = tail.replace(b"Card_owner: ", b"Card_owner: X", 1)
open(sys.argv[3], "wb").write(head + owner)
EOF
run "host values in the record" 0 "$T" replay "Z:$work/host.log" --call 2
has "call 2  GetCardInfoEx(1001)  result 0: same"
run "a value the lookup writes" 1 "$T" replay "Z:$work/owner.log" --call 2
has "call 2  GetCardInfoEx(1001)  result 0: DIFFERS: log entry"

# A host that passed no card record: the replay passes none either.
python3 - "$work/day.log" "$work/norecord.log" <<'EOF'
import sys
log = open(sys.argv[1], "rb").read()
start = log.rindex(b"\n", 0, log.index(b"GetCardInfoEx from File1 Started!")) + 1
end = log.rindex(b"\n", 0, log.index(b"GetConfig : TRY GET configuration", start)) + 1
open(sys.argv[2], "wb").write(
    log[:end] + log[start:start + 22] + b"GetCardInfoEx : ERROR card record is NULL RETURN 1\r\n")
EOF
run "no card record" 0 "$T" replay "Z:$work/norecord.log" --call 2
has "call 2  GetCardInfoEx  result 1: same"

# The close answered {"Status":2} instead of {"Status":1}.
python3 - "$work/day.log" "$work/refused.log" <<'EOF'
import sys
log = open(sys.argv[1], "rb").read()
at = log.index(b"ANSWER FROM URL v1/CloseOrder/")
reply = log.index(b'{"Status":1}', at)
open(sys.argv[2], "wb").write(log[:reply] + b'{"Status":2}' + log[reply + 12:])
EOF
run "a changed reply" 1 "$T" replay "Z:$work/refused.log"
has "call 5  TransactionsEx  result 1: DIFFERS: result 1, recorded 0"
has 'jsonResultRequest["Status"].GetInt() != 1 RETURNS 1{"Status":2}'
has "7 same, 1 differ"

# Call 8 as a till whose probe went the other way logs it (with internet the
# probe succeeds and the call tries again; without, it gives up). That alone
# is no difference.
python3 - "$work/day.log" "$work/probe.log" "$tok" <<'EOF'
import sys
log = open(sys.argv[1], "rb").read()
failed = b"GOOGLE NOT WORKING, ERROR!"
if failed in log:
    line = log.rindex(failed)
    stamp = log[log.rindex(b"\n[", 0, line) + 1:][:22]
    retry = (b"GOOGLE WORKS, TRY ANOTHER ONE TO v1/GuestInfo/" + sys.argv[3].encode() +
             b" WITH Content-Type:application/json;\r\n" + stamp +
             b"SendRequest : RETURN vector<char> dwExitCode != 0 1\r\n" + stamp +
             b"SendRequestWrapper : RESPONSE WAS NULL AGAIN, ERROR!")
    open(sys.argv[2], "wb").write(log[:line] + retry + log[line + len(failed):])
else:
    line = log.rindex(b"GOOGLE WORKS, TRY ANOTHER ONE TO ")
    again = b"RESPONSE WAS NULL AGAIN, ERROR!"
    end = log.index(again, line) + len(again)
    open(sys.argv[2], "wb").write(log[:line] + failed + log[end:])
EOF
run "a probe that went the other way" 0 "$T" replay "Z:$work/probe.log" --call 8
has "call 8  GetCardInfoEx(1002)  result 1: same up to the connectivity probe"
has "1 call: 0 same, 0 differ, 0 not replayable, 1 same but for the connectivity probe"

# The close's recorded request body edited: the DLL sends what it sends, so the
# replay names that request and exits 1.
python3 - "$work/day.log" "$work/body.log" <<'EOF'
import sys
log = open(sys.argv[1], "rb").read()
at = log.index(b" WITH {", log.index(b"TRY SEND REQUEST TO v1/CloseOrder/")) + 6
open(sys.argv[2], "wb").write(log[:at] + b'{"Edited":1,' + log[at + 1:])
EOF
run "an edited request body" 1 "$T" replay "Z:$work/body.log" --call 5
has "call 5  TransactionsEx  result 0: DIFFERS: request "
has ": v1/CloseOrder/$tok with body {"
has ', recorded {"Edited":1,'
has "1 call: 0 same, 1 differ"

# A till whose big log the close cleared: the housekeeping's outcome depends on
# the till's log size, so only it may differ.
sed '0,/ClearTheLog : Failed!/s//ClearTheLog : Success!/' "$work/day.log" >"$work/cleared.log"
cmp -s "$work/day.log" "$work/cleared.log" && fail "no housekeeping line to edit"
run "the housekeeping's outcome" 0 "$T" replay "Z:$work/cleared.log" --call 5
has "call 5  TransactionsEx  result 0: same"

# A lookup whose guest request the service held past the module's time limit:
# the replay's server holds that request as long, and the DLL gives up the same way.
held="$(token held)"
scenario "$held" '{"GuestInfo": {"action": "hang", "max_s": 120}}'
good_conf "$fake" "$held" other
run "record a held reply" 0 "$T" init
run "record a held reply" 0 "$T" lookup 1001 "$work/mode0.xml"
has "GetCardInfoEx(1001) returned 1 (failed)"
cp "$till/brisvane.log" "$work/held.log"
good_conf "$fake" "$tok" other
grep -qF "WAIT_TIMEOUT v1/GuestInfo/$held" "$work/held.log" || fail "the lookup was not held"
run "a held reply replayed" 0 "$T" replay "Z:$work/held.log" --call 10
has "call 10  GetCardInfoEx(1001)  result 1: same"
has "1 call: 1 same, 0 differ"

# From the middle of call 3 to the middle of call 5.
python3 - "$work/day.log" "$work/cut.log" <<'EOF'
import sys
log = open(sys.argv[1], "rb").read()
start = log.index(b"GetDiscount", log.index(b"79161234567"))
start = log.rindex(b"\n", 0, start) + 1
close = log.index(b"TransactionsEx : Started")
end = log.index(b"ANSWER FROM URL v1/GetDiscount/", close)
open(sys.argv[2], "wb").write(log[start:end])
EOF
run "a log cut at both ends" 0 "$T" replay "Z:$work/cut.log"
has "call 1  (unknown): not replayable: the log starts within this call"
has "call 2  GetCardInfoEx  result 0: same"  # mode 16 sends no card
has "call 3  TransactionsEx: not replayable: the log does not show what became of request 1 (v1/GetDiscount/$tok)"
has "3 calls: 1 same, 0 differ, 2 not replayable"

# --- summary and redact (they read files only: no folder)
run "summary of the day" 0 summary "Z:$work/day.log"
has "  Calls: Init 1, GetCardInfoEx 4, TransactionsEx 3"
has "    GetCardInfoEx: 3 returned 0, 1 returned 1"
has "    TransactionsEx: 3 returned 0"
# A till with internet probes successfully and tries once more.
retried="$(grep -c "GOOGLE WORKS, TRY ANOTHER ONE TO" "$work/day.log")"
has "  Exchanges with the service: $((11 + retried)), $((1 + retried)) failed"
has "    $((1 + retried))  Windows error 12029: "
has "  Connectivity probe: $((1 - retried)) failed, $retried succeeded"
has " s  call 8 GetCardInfoEx at "
has "  Restarts (Init): 1; versions: 37 (first "
has ": $((1 + retried)) exchange"

# A day with refused sends and a gateway's 502 page.
tok502="gateway-$$"
scenario "$tok502" '{"GuestInfo": {"status": 502, "body": "<html><body>502 Bad Gateway</body></html>"},
                     "ReturnOrder": {"status": 502, "body": "<html><body>502 Bad Gateway</body></html>"}}'
mv "$till/brisvane.log" "$work/day-kept.log"
good_conf "$nolistener" "$tok502" other
run "errors day" 0 "$T" init
run "errors day" 0 "$T" lookup 79161234567 "$work/mode0.xml"
good_conf "$fake" "$tok502" other
run "errors day" 0 "$T" lookup 1001 "$work/mode0.xml"
has "HTTP status 502"
run "errors day" 0 "$T" transaction "$work/mode2.xml"
has "TransactionsEx returned 1"
mv "$till/brisvane.log" "$work/errors.log"
mv "$work/day-kept.log" "$till/brisvane.log"
run "summary as JSON" 0 summary "Z:$work/errors.log" --json
python3 - "$work/errors.log" "$out" <<'EOF_PY' || fail "the JSON is not the log's"
import json, re, sys
log = open(sys.argv[1], "rb").read().decode("latin-1")
got = json.loads(sys.argv[2])
stamps = re.findall(r"^\[(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d)\] ", log, re.M)
want = {"calls": {"Init": 1, "GetCardInfoEx": 2, "TransactionsEx": 1},
        "results": {"GetCardInfoEx": {"1": 2}, "TransactionsEx": {"1": 1}},
        "errors": {"Windows error 12029": log.count("Windows error 12029:"),
                   "HTTP status 502": log.count("SendRequest : HTTP status 502")},
        "first": stamps[0], "last": stamps[-1]}
assert want["errors"]["HTTP status 502"] == 2 and want["errors"]["Windows error 12029"] >= 1, want
for key, value in want.items():
    assert got[key] == value, (key, got[key], value)
EOF_PY
run "two tills" 0 summary "Z:$work/day.log" "Z:$work/errors.log"
has "Total of 2 logs"
has "  Calls: Init 2, GetCardInfoEx 6, TransactionsEx 4"
: >"$work/empty.log"
run "a log without a call" 2 summary "Z:$work/day.log" "Z:$work/empty.log"
has "empty.log holds no call"

# In Russian (the UI language, no --lang): the words change; the DLL's texts,
# the numbers and the JSON stay as they are.
run "summary as JSON in English" 0 summary "Z:$work/day.log" "Z:$work/errors.log" --json
english_json="$out"
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "summary in Russian" 0 summary "Z:$work/day.log" "Z:$work/errors.log" --html "Z:$work/page-ru.html"
has "  Вызовы: Init 1, GetCardInfoEx 4, TransactionsEx 3"
has "    GetCardInfoEx: 3 с результатом 0, 1 с результатом 1"
has "  Сбои по причинам:"
has "  ошибка Windows 12029: "
has "Всего журналов: 2"
has "Страница: Z:$work/page-ru.html"
lacks " returned "
grep -qF '<html lang="ru">' "$work/page-ru.html" || fail "the Russian page does not say it is Russian"
grep -qF '<th>Причина</th><th>Количество</th><th>Значение</th>' "$work/page-ru.html" ||
  fail "the Russian page's table heads are not Russian"
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "summary as JSON in Russian" 0 summary "Z:$work/day.log" "Z:$work/errors.log" --json
[ "$out" = "$english_json" ] || fail "the JSON depends on the language"
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "a log without a call, in Russian" 2 summary "Z:$work/empty.log"
has "empty.log нет вызовов (ни один Init, GetCardInfoEx или TransactionsEx в нём не начинается)"
lang=(--lang en)

# The page as a browser shows it: headless Chromium's DOM against the logs' own counts.
run "summary page" 0 summary "Z:$work/day.log" "Z:$work/errors.log" --html "Z:$work/page.html"
has "The page: Z:$work/page.html"
if command -v chromium >/dev/null; then
  HOME="$work" timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu \
    --user-data-dir="$work/chromium" --dump-dom "file://$work/page.html" \
    >"$work/page.dom" 2>"$work/chromium.err"
  case_name="the page in Chromium"
  out="$(cat "$work/chromium.err")"
  python3 - "$work/page.dom" "$work/day.log" "$work/errors.log" <<'EOF_PY' || fail "the page does not show the logs' numbers"
import sys
from html.parser import HTMLParser
class Cells(HTMLParser):
    def __init__(self):
        super().__init__()
        self.section, self.key, self.shown, self.svgs = None, None, {}, {}
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "section":
            self.section = a["id"]
        if tag == "svg":
            self.svgs[self.section] = self.svgs.get(self.section, 0) + 1
        for name in ("data-calls", "data-error", "data-probes-failed"):
            if name in a:
                self.key = (self.section, name, a[name] or "")
    def handle_data(self, data):
        if self.key:
            self.shown[self.key] = int(data)
            self.key = None
dom = open(sys.argv[1], encoding="utf-8").read()
assert "<script" not in dom and "<link" not in dom
cells = Cells()
cells.feed(dom)
logs = [open(name, "rb").read().decode("latin-1") for name in sys.argv[2:]]
def counts(log):
    return {("data-calls", "Init"): log.count("Init : Started"),
            ("data-calls", "GetCardInfoEx"): log.count("GetCardInfoEx from File1 Started!"),
            ("data-calls", "TransactionsEx"): log.count("TransactionsEx : Started"),
            ("data-error", "Windows error 12029"): log.count("Windows error 12029:"),
            ("data-error", "HTTP status 502"): log.count("SendRequest : HTTP status 502"),
            ("data-probes-failed", ""): log.count("GOOGLE NOT WORKING, ERROR!")}
sections = {"log-1": counts(logs[0]), "log-2": counts(logs[1]),
            "total": counts(logs[0] + logs[1])}
for section, want in sections.items():
    for (attr, key), n in want.items():
        shown = cells.shown.get((section, attr, key), 0 if attr == "data-error" else None)
        assert shown == n, (section, attr, key, shown, n)
    assert cells.svgs.get(section, 0) >= 1, section  # a timeline per day
assert sections["total"][("data-calls", "GetCardInfoEx")] == 6
EOF_PY
else
  fail "chromium is not installed (scripts/install-deps.sh installs it)"
fi

# Redact: nothing of the tokens, names or numbers presented is left, and the copy
# replays as the log does.
sums="$(md5sum "$work/day.log")"
run "redact" 0 redact "Z:$work/day.log" "Z:$work/red.log"
has "  API tokens: "
has "  names: "
has "  phone and card numbers: "
[ "$(md5sum "$work/day.log")" = "$sums" ] || fail "redact changed its log"
case_name="nothing personal left"
out=""
python3 - "$work/red.log" "$tok" <<'EOF_PY' || fail "the redacted log still holds personal data"
import sys
red = open(sys.argv[1], "rb").read()
for secret in [sys.argv[2], "Петрова", "Анна", "Сергеевна"]:
    for form in {secret.encode("utf-8"), secret.encode("cp1251")}:
        assert form not in red, secret
for number in [b"79161234567", b'cardcode="1001"', b":1001}", b":1002}"]:
    assert number not in red, number
EOF_PY
run "redacted replay" 0 "$T" replay "Z:$work/red.log"
has "8 calls: 8 same, 0 differ, 0 not replayable"
run "summary of the copy" 0 summary "Z:$work/red.log" --json
red_json="$out"
run "summary of the log" 0 summary "Z:$work/day.log" --json
[ "$out" = "$red_json" ] || fail "the redacted log sums up differently"
# A power cut's zero bytes before a call: the call stays a call of its own in
# the log and in its redacted copy, which replays and sums up the same.
python3 - "$work/day.log" "$work/zeros.log" <<'EOF_PY'
import sys
log = open(sys.argv[1], "rb").read()
at = log.rindex(b"\r\n[", 0, log.index(b"GetCardInfoEx from", log.index(b"GetCardInfoEx from") + 1)) + 2
open(sys.argv[2], "wb").write(log[:at] + b"\0" * 4096 + log[at:])
EOF_PY
run "redact a log with zero bytes" 0 redact "Z:$work/zeros.log" "Z:$work/zeros-red.log"
has "damaged stretches (zero bytes a power cut left, and what follows them): 1, 4096 bytes removed"
run "redacted replay of a log with zero bytes" 0 "$T" replay "Z:$work/zeros-red.log"
has "8 calls: 8 same, 0 differ, 0 not replayable"
run "summary of its copy" 0 summary "Z:$work/zeros-red.log" --json
[ "$out" = "$red_json" ] || fail "a log with zero bytes sums up differently"
# A guest reply nested 150 000 arrays deep (300 KB, which the DLL survives and
# logs): redact and summary read it on the 1 MiB stack of hostemu's thread.
python3 - "$work/day.log" "$work/deep.log" <<'EOF_PY'
import sys
log = open(sys.argv[1], "rb").read()
start = log.index(b"\r\n", log.index(b"ANSWER FROM URL v1/GuestInfo/")) + 2
end = log.index(b"\r\n[", start)
open(sys.argv[2], "wb").write(log[:start] + b"[" * 150000 + b"]" * 150000 + log[end:])
EOF_PY
run "redact a deeply nested reply" 0 redact "Z:$work/deep.log" "Z:$work/deep-red.log"
has "  API tokens: "
run "summary of a deeply nested reply" 0 summary "Z:$work/deep.log"
has "  Calls: Init 1, GetCardInfoEx 4, TransactionsEx 3"
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "redact, Russian UI" 0 redact "Z:$work/day.log" "Z:$work/red-ru.log"
has "Записана обезличенная копия Z:$work/red-ru.log ("
has "  токены API: заменено "
cmp -s "$work/red.log" "$work/red-ru.log" || fail "the copy depends on the language"
lang=(--lang en)
run "redact onto its log" 2 redact "Z:$work/day.log" "Z:$work/./day.log"
has "is the log itself"
[ "$(md5sum "$work/day.log")" = "$sums" ] || fail "redact wrote over its log"
run "redact with a folder" 2 "$T" redact "Z:$work/day.log" "Z:$work/x.log"
has "unknown command redact"

# --- failed calls and a UTF-16 conf.xml, each recorded in a log of its own
fresh_log() { rm -f "$till/brisvane.log"; }
# A service name that did not resolve at the till: the replay's server can
# only refuse the connection, a different Windows error, and is the same.
good_conf "brisvane-nowhere-$$.invalid" "$tok" other
fresh_log
run "record" 0 "$T" init
run "record" 0 "$T" lookup 1001 "$work/mode0.xml"
has "Windows error 12007"
cp "$till/brisvane.log" "$work/unresolved.log"
# The same log as a Russian Windows words it.
python3 - "$work/unresolved.log" "$work/russian.log" <<'EOF_PY'
import re, sys
log = open(sys.argv[1], "rb").read()
ru = "Не удается разрешить имя или адрес сервера".encode("cp1251")
out, n = re.subn(rb"(Windows error \d+: )[^\r\n]*", lambda m: m.group(1) + ru, log)
assert n > 0
open(sys.argv[2], "wb").write(out)
EOF_PY
good_conf "$fake" "$tok" other
for log in unresolved russian; do
  run "unresolvable name, $log texts" 0 "$T" replay "Z:$work/$log.log"
  has "call 2  GetCardInfoEx(1001)  result 1: same"
  has "2 calls: 2 same, 0 differ"
done

# conf.xml saved as UTF-16: Init's copy in the log is read back and replayed.
python3 - "$till/conf.xml" <<'EOF_PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read().replace("<Configuration>",
                                                          "<Configuration><!-- Смена -->")
open(sys.argv[1], "wb").write(text.encode("utf-16"))
EOF_PY
fresh_log
run "record" 0 "$T" init
run "record" 0 "$T" lookup 1001 "$work/mode0.xml"
cp "$till/brisvane.log" "$work/utf16conf.log"
run "config of a UTF-16 conf.xml" 1 "$T" config "$work/close.xml"
has "conf.xml is saved as UTF-16"
good_conf "$fake" "$tok" other
run "a log whose conf.xml copy is UTF-16" 0 "$T" replay "Z:$work/utf16conf.log"
has "2 calls: 2 same, 0 differ, 0 not replayable"
# Saved by Notepad, with CR LF line ends: the DLL reads such a file in text mode
# and keeps its CRs (never side by side with the LF byte), so the replay gives
# it the file in the same encoding; Init is the same too.
python3 - "$till/conf.xml" <<'EOF_PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read().replace("<Configuration>",
                                                          "<Configuration><!-- Смена -->")
open(sys.argv[1], "wb").write(text.replace("\n", "\r\n").encode("utf-16"))
EOF_PY
fresh_log
run "record" 0 "$T" init
run "record" 0 "$T" lookup 1001 "$work/mode0.xml"
cp "$till/brisvane.log" "$work/utf16crlf.log"
good_conf "$fake" "$tok" other
run "a UTF-16 conf.xml with CR LF, Init included" 0 "$T" replay "Z:$work/utf16crlf.log"
has "call 1  Init  result 0: same"
has "2 calls: 2 same, 0 differ, 0 not replayable"

# Two replays at once take an address each.
for i in 1 2; do
  "$wine_run" "$till/hostemu.exe" "${lang[@]}" "$T" replay "Z:$work/day.log" --call 8 >"$work/both$i.out" 2>&1 &
done
wait
out="$(cat "$work/both1.out" "$work/both2.out" | tr -d '\r')"
case_name="two replays at once"
[ "$(grep -c ': same$' <<<"$out")" -eq 2 ] || fail "both replays should be the same"
[ "$(grep -o 'come from http://[0-9.]*' <<<"$out" | sort -u | wc -l)" -eq 2 ] ||
  fail "the two replays shared an address"

# Ctrl+C during a call: the scratch folder, whose log holds the full token, goes too.
# Only a folder this replay made counts: one left by a killed run before matches
# as well, and a Ctrl+C sent before Wine has started the program is lost.
scratch_before="$(scratch_folders)"
"$wine_run" "$till/hostemu.exe" "${lang[@]}" "$T" replay "Z:$work/day.log" --call 8 >"$work/int.out" 2>&1 &
pid=$!
scratch=""
for _ in $(seq 1 120); do
  scratch=""
  for folder in $(new_scratch_folders "$scratch_before"); do
    grep -qF "$HOSTEMU_REPLAY_ADDRESS" "$folder/conf.xml" 2>/dev/null && scratch="$folder/conf.xml"
  done
  [ -n "$scratch" ] && [ -e "$(dirname "$scratch")/brisvane.log" ] && break
  sleep 0.25
done
case_name="Ctrl+C"
out="$(cat "$work/int.out")"
if [ -z "$scratch" ]; then
  fail "no scratch folder of the replay appeared in $temp"
  kill "$pid" 2>/dev/null
  wait "$pid"
else
  kill -INT "$pid"
  wait "$pid"
  status=$?
  [ "$status" -eq 58 ] || fail "exit status $status, expected 58 (0xC000013A: ended by Ctrl+C)"
  [ ! -e "$(dirname "$scratch")" ] || fail "the scratch folder $(dirname "$scratch") is left behind"
fi

# --- bad arguments and unreadable logs
run "no log" 2 "$T" replay
has "replay takes one log file"
run "missing log" 2 "$T" replay "Z:$work/none.log"
has "cannot read log file"
run "call beyond the log" 2 "$T" replay "Z:$work/cut.log" --call 4
has "the log holds 3 calls; there is no call 4"
run "call 99" 2 "$T" replay "Z:$work/day.log" --call 99
has "there is no call 99"
run "a chosen call that is not replayable" 2 "$T" replay "Z:$work/cut.log" --call 1
has "not replayable: the log starts within this call"
has "1 call: 0 same, 0 differ, 1 not replayable"
: >"$work/empty.log"
run "an empty file" 2 "$T" replay "Z:$work/empty.log"
has "nothing to replay in Z:$work/empty.log: the file is empty"
python3 -c 'import sys; open(sys.argv[2], "wb").write(open(sys.argv[1], "rb").read().decode("cp1251").encode("utf-16"))' \
  "$work/day.log" "$work/day16.log"
run "a UTF-16 copy of the log" 2 "$T" replay "Z:$work/day16.log"
has "the file is a UTF-16 copy of a log"
has "replay needs brisvane.log as the till wrote it"
run "not a brisvane.log" 2 "$T" replay "Z:$work/close.xml"
has "the file holds no entry of a brisvane.log"
# Internet Options that send the replay's URL to a proxy: stop, name the exception.
http_proxy="http://$nolistener:3128" run "a proxy in the way" 3 "$T" replay "Z:$work/day.log"
has "through the proxy $nolistener:3128"
has "add $HOSTEMU_REPLAY_ADDRESS to the proxy's exceptions"
has "a pattern such as ${HOSTEMU_REPLAY_ADDRESS%.*}.* serves too"
lacks "calls: "
http_proxy="http://$nolistener:3128" no_proxy="$HOSTEMU_REPLAY_ADDRESS" \
  run "a proxy that the replay's address bypasses" 0 "$T" replay "Z:$work/day.log" --call 3
has "1 call: 1 same"
# A bypass entry that the bypass list's rules cover but this WinInet does not
# honour (Wine's no_proxy takes no wildcards): a request of the replay's own
# finds out, and the replay stops instead of blaming the DLL.
http_proxy="http://$nolistener:3128" no_proxy="${HOSTEMU_REPLAY_ADDRESS%.*}.*" \
  run "a bypass entry WinInet does not honour" 3 "$T" replay "Z:$work/day.log" --call 3
has "sent as the DLL sends it did not reach the replay's own server"
has "the exception ${HOSTEMU_REPLAY_ADDRESS%.*}.* is already there but did not take effect for WinInet: add the exact name $HOSTEMU_REPLAY_ADDRESS"
lacks "DIFFERS"
mkdir -p "$work/nodll"
echo "not a DLL" >"$work/nodll/brisvane.dll"
run "a brisvane.dll that is no DLL" 3 "Z:$work/nodll" replay "Z:$work/day.log"
has "cannot load"
has "nothing can be replayed"
lacks "calls: "
# A DLL without the module's exports: Wine's own version.dll (32-bit) in its place.
mkdir -p "$work/noexports"
for d in syswow64 system32; do  # syswow64 holds the 32-bit DLLs of a 64-bit prefix
  [ -e "$WINEPREFIX/drive_c/windows/$d/version.dll" ] &&
    cp "$WINEPREFIX/drive_c/windows/$d/version.dll" "$work/noexports/brisvane.dll" && break
done
run "a DLL without the exports" 3 "Z:$work/noexports" replay "Z:$work/day.log"
has "noexports\\brisvane.dll has no export Init"
lacks "calls: "
run "call zero" 2 "$T" replay "Z:$work/cut.log" --call 0
run "call with a lookup" 2 "$T" lookup 1 "$work/mode0.xml" --call 1
has "--call is an option of replay and show only"

finish "hostemu replay tests"
