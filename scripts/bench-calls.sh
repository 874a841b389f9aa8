#!/usr/bin/env bash
# Cost of the exported calls under Wine: medians over 200 calls of a guest-only
# GetCardInfoEx, a guest+discount GetCardInfoEx and a close (TransactionsEx)
# through the real brisvane.dll against the fake loyalty service on loopback,
# each against two floors: the bare one (WinInet POSTs of the same bodies plus
# open-append-close writes of the same log entries) and the full one, which
# adds every other piece of I/O that brisvane.dll does on every call (each send on a
# fresh worker thread, init.txt emptied at that thread's start and end,
# conf.xml read, the posting's look at the log size); the log growth per call;
# and TransactionsEx with a 9.9 MB log against an empty one. Every figure
# carries the load average it was measured at: on a busy machine thread
# start-up under Wine inflates the figures about fourfold.
#   scripts/bench-calls.sh [count, default 200]
# BRISVANE_BENCH_ADDRESS moves the fake service (default 127.0.4.14);
# BRISVANE_BENCH_DLL measures another build of the DLL (an absolute path).
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-200}"
addr="${BRISVANE_BENCH_ADDRESS:-127.0.4.14}"
scripts/install-deps.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target brisvane callbench >/dev/null
build="build/win32"
state="$build/callbench-fakeloyalty"
work="$(mktemp -d)"
trap 'tests/fixtures/fake-service.sh stop "$state"; rm -rf "$work"' EXIT
tests/fixtures/fake-service.sh start "$state" "$addr"
python3 - "$addr" <<'PY'
import json, sys, urllib.request
guest = {"Status": 1, "NotPayType": 0, "ClientId": "00123", "LoyaltyLevel": "Gold", "DiscountId": 3,
         "BonusId": 4, "BonusBalance": "150.25", "LastName": "Ivanov", "FirstName": "Ivan",
         "MiddleName": "I"}
discount = {"Status": 1, "FIO": "Ivanov I I", "NotPayType": 0, "BonusId": 4, "DiscountId": 3,
            "SumDiscount": 12.5, "MaxBonus": 100.75, "MaxDeposit": 40, "Message": "hello",
            "LoyaltyLevel": "Gold", "PrintMessage": "thanks"}
done = {"Status": 1}
paths = {"GuestInfo": {"body": json.dumps(guest)}, "GetDiscount": {"body": json.dumps(discount)},
         "CloseOrder": {"body": json.dumps(done)}}
for token in ("bench-guest", "bench-discount", "bench-close"):
    body = json.dumps({"token": token, "paths": paths}).encode()
    urllib.request.urlopen(urllib.request.Request("http://%s/__control/scenario" % sys.argv[1],
                                                  data=body, method="POST")).read()
PY
root="$(pwd)"
(cd "$work" && WINEPREFIX="$root/$build/wineprefix" "$root/scripts/wine-run.sh" \
  "$root/$build/callbench.exe" "Z:${BRISVANE_BENCH_DLL:-$root/$build/brisvane.dll}" "$addr" "$count" "Z:/proc/loadavg")
