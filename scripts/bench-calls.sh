#!/usr/bin/env bash
# Cost of the exported calls under Wine: medians over 200 calls of a guest-only
# GetCardInfoEx, a guest+discount GetCardInfoEx and a close (TransactionsEx)
# through the real brisvane.dll against the fake loyalty service on loopback,
# each against its floor (bare WinInet POSTs of the same bodies plus bare
# open-append-close writes of the same log entries); the log growth per call;
# and TransactionsEx with a 9.9 MB log against an empty one.
#   scripts/bench-calls.sh [count, default 200]
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-200}"
addr=127.0.4.14
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
  "$root/$build/callbench.exe" "Z:$root/$build/brisvane.dll" "$addr" "$count")
