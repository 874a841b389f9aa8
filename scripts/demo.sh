#!/usr/bin/env bash
# The main job: builds brisvane.dll and the host emulator, starts the fake
# loyalty service with the bundled sample guests (samples/demo), and plays a
# short shift at the till through the real DLL under Wine, in a scratch folder
# laid out like a POS host's working directory. Exit 0 when every step gave
# what the till should see.
#   BRISVANE_DEMO_ADDRESS  loopback address of the fake service (127.0.0.2)
#   BRISVANE_DEMO_KEEP=1   keep the till's folder (brisvane.log, debug files)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh

addr="${BRISVANE_DEMO_ADDRESS:-127.0.0.2}"
samples=samples/demo

echo "=== Building brisvane.dll and hostemu.exe (32-bit Windows, MinGW)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target brisvane hostemu

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

# step TITLE STORY EXPECTED hostemu-arguments...: runs one host call and checks
# that its output holds EXPECTED (a grep pattern).
step() {
  local title="$1" story="$2" expected="$3" out
  shift 3
  echo
  echo "=== $title"
  echo "$story" | fold -s -w 88
  echo
  out="$(scripts/wine-run.sh "$till/hostemu.exe" "$@" 2>&1)" || true
  printf '%s\n' "$out" | sed 's/^/    /'
  if ! grep -q -- "$expected" <<<"$out"; then
    echo "!!! the till should have seen: $expected"
    failures=$((failures + 1))
  fi
}

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
if [ "$failures" -ne 0 ]; then
  echo "=== Demo finished: $failures step(s) did not give what the till should see"
  exit 1
fi
echo "=== Demo finished: every step gave what the till should see"
