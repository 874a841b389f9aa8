#!/usr/bin/env bash
# Builds brisvane.dll and the host emulator, starts the fake
# loyalty service with the bundled sample guests (samples/demo), and plays a
# short shift at the till through the real DLL under Wine, in a scratch folder
# laid out like a POS host's working directory. Then a second act: the service
# stops, a lookup fails, and the demo shows what support would look at: the
# call's closing log lines, the connection check's verdict, the day's log summed
# up, and the day's log replayed through the DLL, every call the same. Exit 0
# only when every step gave what it should. Build and installation output is
# shown only when they fail.
#   BRISVANE_DEMO_ADDRESS  loopback address of the fake service (127.0.0.2)
#   BRISVANE_DEMO_KEEP=1   keep the till's folder (brisvane.log, debug files)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
work="$(mktemp -d /tmp/brisvane-demo.XXXXXX)"
till="$work/till"
service_pid=""
cleanup() {
  if [ -n "$service_pid" ] && kill -0 "$service_pid" 2>/dev/null; then
    kill "$service_pid" 2>/dev/null || true
    wait "$service_pid" 2>/dev/null || true
  fi
  if [ "${BRISVANE_DEMO_KEEP:-0}" = 1 ]; then
    echo "(the till's folder is kept: $till)"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
# quietly LOG TEXT COMMAND...: one line while COMMAND runs; its output only when it fails.
quietly() {
  local log="$work/$1.log" text="$2"
  shift 2
  echo "=== $text"
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "demo: $text failed" >&2
    exit 1
  fi
}
quietly install-deps "checking the packages it needs" scripts/install-deps.sh

addr="${BRISVANE_DEMO_ADDRESS:-127.0.0.2}"
samples=samples/demo

quietly configure "configuring the 32-bit Windows build" cmake --preset win32
quietly build "building brisvane.dll and hostemu.exe (32-bit Windows, MinGW)" \
  cmake --build --preset win32 --target brisvane hostemu

mkdir -p "$till"
cp build/win32/brisvane.dll build/win32/hostemu.exe "$till/"
sed "s|<ApiAddress>[^<]*</ApiAddress>|<ApiAddress>$addr</ApiAddress>|" "$samples/conf.xml" >"$till/conf.xml"

echo "=== Starting the fake loyalty service on $addr:80 with the sample guests"
python3 tools/fakeloyalty/fakeloyalty.py --http "$addr:80" --scenario "$samples/scenario.json" \
  --pid-file "$work/fakeloyalty.pid" --moved-by BRISVANE_DEMO_ADDRESS >"$work/fakeloyalty.log" 2>&1 &
service_pid=$!
for _ in $(seq 1 100); do
  [ -f "$work/fakeloyalty.pid" ] && break
  if ! kill -0 "$service_pid" 2>/dev/null; then
    # The service's own last line names the address and the setting that moves it.
    echo "demo: the fake service did not start: $(tail -n 1 "$work/fakeloyalty.log")" >&2
    exit 1
  fi
  sleep 0.1
done
[ -f "$work/fakeloyalty.pid" ] || { echo "demo: the fake service did not start in time" >&2; exit 1; }

export WINEPREFIX="$root/build/win32/wineprefix"
failures=0

# step TITLE STORY EXPECTED hostemu-arguments...: runs one hostemu command and
# checks that its output holds EXPECTED (a grep pattern) and, when STEP_RC is
# set, that it exits with that status. STEP_SHOW (a sed script) picks the lines
# shown; STEP_ALSO names one more pattern the output must hold.
step() {
  local title="$1" story="$2" expected="$3" out rc=0 pattern ok=1
  shift 3
  echo
  echo "=== $title"
  echo "$story" | fold -s -w 88
  echo
  out="$(scripts/wine-run.sh "$till/hostemu.exe" "$@" 2>&1)" || rc=$?
  printf '%s\n' "$out" | sed -n "${STEP_SHOW:-p}" | sed 's/^/    /'
  for pattern in "$expected" ${STEP_ALSO:+"$STEP_ALSO"}; do
    if ! grep -q -- "$pattern" <<<"$out"; then
      echo "!!! should have been seen: $pattern"
      ok=0
    fi
  done
  if [ -n "${STEP_RC:-}" ] && [ "$rc" != "$STEP_RC" ]; then
    echo "!!! hostemu exited with $rc, not $STEP_RC"
    ok=0
  fi
  [ "$ok" = 1 ] || failures=$((failures + 1))
  STEP_RC="" STEP_SHOW="" STEP_ALSO=""
}
STEP_RC="" STEP_SHOW="" STEP_ALSO=""

till_win="Z:$till"

step "The till starts" \
  "The host loads brisvane.dll and calls Init: the DLL writes its banner, version and conf.xml into brisvane.log." \
  "Init returned 0" \
  --brief "$till_win" init

step "The installer checks the settings" \
  "Before opening, hostemu's config report says what the DLL will use for an order of the hall (order category 1): address, port, token and the record slots of the bonus and deposit accounts." \
  "No warnings" \
  "$till_win" config "$samples/order-check.xml"

step "A guest is recognised" \
  "Anna presents card 1001 before ordering; the check's working mode 0 asks the service who she is. The till shows her name, level and bonus balance." \
  "returned 0" \
  --brief "$till_win" lookup 1001 "$samples/guest-check.xml"

step "A guest and the order's discount" \
  "Ivan presents card 1002 for his open order of 1420.00 (working mode 1): the DLL asks for the guest, then prices the order. The till shows the discount, the bonuses he may spend (sub-account 2) and his deposit (sub-account 3)." \
  "Max_discount     71.00" \
  --brief "$till_win" lookup 1002 "$samples/order-check.xml"

step "A blocked card" \
  "Card 1003 is presented; the service answers that it is blocked. The lookup still succeeds: the till marks the card blocked and shows the reason, and sells nothing on it." \
  "Blocked          1" \
  --brief "$till_win" lookup 1003 "$samples/guest-check.xml"

step "The order is paid and closed" \
  "Anna's order of 1525.00 is paid: 200.00 from bonuses (payment type 5), 300.00 from her deposit (type 6) and 1025.00 in cash. The DLL finds her in the bonus payment, prices the order and closes it at the service." \
  "TransactionsEx returned 0" \
  --brief "$till_win" transaction "$samples/paid-check.xml"

step "The order is returned" \
  "The same order is taken back; the DLL tells the service to return it." \
  "TransactionsEx returned 0" \
  --brief "$till_win" transaction "$samples/return-check.xml"

echo
echo "=== What the loyalty service received"
python3 - "$addr" <<'EOF' | sed 's/^/    /'
import json, sys, urllib.request
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
with opener.open("http://%s/__control/requests" % sys.argv[1], timeout=10) as r:
    records = json.load(r)["requests"]
for rec in records:
    body = bytes.fromhex(rec["body_hex"]).decode("utf-8", "replace")
    # The start names the order, the end of a close its write-offs.
    print("%s %s  %s" % (rec["method"], rec["path"],
                         body if len(body) <= 140 else body[:30] + " ... " + body[-100:]))
EOF

echo
echo "=== Second act: the loyalty service stops"
kill "$service_pid"
wait "$service_pid" 2>/dev/null || true
service_pid=""
till_log="$till_win/brisvane.log"

STEP_RC=0 STEP_ALSO="Windows error 12029" \
  STEP_SHOW='/^wine: /p;/returned/p;/SendRequestWrapper : TRY SEND REQUEST/,$p' step "A lookup while the service is down" \
  "Anna presents card 1001 again. The guest request cannot connect: Windows names the cause (12029, nothing accepts the connection), the DLL waits 10 s and checks whether www.google.com answers: without internet it gives up at once; with internet it waits 30 s and tries once more, in vain. The call's last lines: no line names the result, and the record dump is \"NULL\" with no line end. The till shows the lookup failed (result 1)." \
  "returned 1" \
  "$till_win" lookup 1001 "$samples/guest-check.xml"

STEP_RC=1 step "The installer runs the connection check" \
  "hostemu check tries each step the DLL's connection takes and names the one that fails." \
  "^Verdict: FAILED: nothing accepts connections" \
  "$till_win" check

STEP_RC=0 step "Support sums up the day's log" \
  "hostemu summary reads brisvane.log: the calls and their results, and the failures by cause." \
  "Windows error 12029" \
  summary "$till_log"

STEP_RC=0 step "Support replays the day's log" \
  "hostemu replay makes every call of the log again through the DLL, against the replies the log recorded (the failed one refused again, its 10 s pause waited for real): each call must do what it did at the till." \
  "^\([0-9]*\) calls: \1 same, 0 differ, 0 not replayable" \
  "$till_win" replay "$till_log"

echo
if [ "$failures" -ne 0 ]; then
  echo "=== Demo finished: $failures step(s) did not give what they should"
  exit 1
fi
echo "=== Demo finished: every step gave what it should"
