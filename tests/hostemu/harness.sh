# The hostemu test scripts' shared harness, sourced after they set $hostemu,
# $dll and $fake: a scratch folder, a till folder in it with hostemu and the
# DLL, and the checks. Each case runs hostemu, keeps its output in $out and its
# exit status in $status; a failed check prints the case and that output.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_run="$here/../../scripts/wine-run.sh"

work="$(mktemp -d /tmp/hostemu-test.XXXXXX)"
trap 'rm -rf "$work"' EXIT
failures=0
out="" status=0 case_name=""

till="$work/till"
mkdir -p "$till"
cp "$hostemu" "$till/"
cp "$dll" "$till/brisvane.dll"  # a test build of the DLL goes under the name a host loads
T="Z:$till"

# The sample check: a close (mode 1) at place 1, a card holder 1001, one dish,
# a bonus payment of guest 501 on interface 7 and a cash payment.
cat >"$work/cat1.xml" <<'EOF'
<INTERFACES><INTERFACE interface="7"/></INTERFACES>
<HOLDERS><ITEM cardcode="1001"/></HOLDERS>
<CHECK restaurantcode="R1" chmode="1"></CHECK>
<CHECKDATA orderguid="{G-1}" checknum="17" order_cat="1" closedatetime="2025-03-14 19:42:10">
<CHECKLINES><LINE type="dish" id="{D1}" name="Soup" servprint_id="{K}" servprint="Kitchen" quantity="1" price="300" sum="300"/></CHECKLINES>
<CHECKPAYMENTS><PAYMENT code="5" account="501" interface="7" sum="100"/><PAYMENT code="1" sum="200"/></CHECKPAYMENTS>
</CHECKDATA>
EOF

fail() {
  echo "FAIL [$case_name] $*"
  printf '%s\n' "$out" | sed 's/^/    | /'
  failures=$((failures + 1))
}
# The cases read English texts whatever the UI language (CI runs Wine with a
# Russian one); a case about the language itself empties or changes $lang.
lang=(--lang en)
run() {  # run NAME EXPECTED_STATUS hostemu-arguments...
  case_name="$1"
  local expected="$2"
  shift 2
  out="$("$wine_run" "$till/hostemu.exe" "${lang[@]}" "$@" 2>&1)"
  status=$?
  out="${out//$'\r'/}"  # the Windows console's line ends
  [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected"
}
has() { grep -qF -- "$1" <<<"$out" || fail "output lacks: $1"; }
lacks() { ! grep -qF -- "$1" <<<"$out" || fail "output has: $1"; }

scenario() {  # scenario TOKEN PATHS_JSON: what the fake service answers for TOKEN
  python3 - "$fake" "$1" "$2" <<'EOF_PY' || { echo "cannot set a scenario on $fake"; exit 1; }
import json, sys, urllib.request
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
body = json.dumps({"token": sys.argv[2], "paths": json.loads(sys.argv[3])}).encode()
req = urllib.request.Request("http://%s/__control/scenario" % sys.argv[1], data=body, method="POST")
opener.open(req, timeout=10).read()
EOF_PY
}

token() {  # token PREFIX: an API token no other test process uses
  echo "$1-$$-$(date +%s%N)"
}
requests() {  # requests TOKEN: one line per request the fake service received for it
  python3 - "$fake" "$1" <<'EOF_PY'
import json, sys, urllib.request
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
url = "http://%s/__control/requests?token=%s" % (sys.argv[1], sys.argv[2])
for r in json.loads(opener.open(url, timeout=10).read())["requests"]:
    print(r["method"], r["path"], bytes.fromhex(r["body_hex"]).decode())
EOF_PY
}

# conf.xml of the till folder: as given on stdin, or one of two usual shapes.
conf() { cat >"$till/conf.xml"; }
good_conf() {  # good_conf ADDRESS TOKEN1 TOKEN2: places 1 (the fallback) and 2, both accounts
  conf <<EOF
<Configuration>
  <ApiAddress>$1</ApiAddress>
  <SSL>false</SSL>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default="true">$2</LoyltyApiToken></PlaceOfService>
  <PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken>$3</LoyltyApiToken></PlaceOfService>
  <BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>
  <DepositAccount><CurrencyCode>6</CurrencyCode><CardSubAccount>3</CardSubAccount></DepositAccount>
</Configuration>
EOF
}
check_conf() {  # check_conf ADDRESS SSL TOKEN1 [TOKEN2]: place 1 is the fallback, no accounts
  conf <<EOF
<Configuration><ApiAddress>$1</ApiAddress><SSL>$2</SSL>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default="true">$3</LoyltyApiToken></PlaceOfService>
  <PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken>${4:-other}</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF
}

finish() {  # finish NAME: the summary line and the exit status
  if [ "$failures" -ne 0 ]; then
    echo "$1: $failures failure(s)"
    exit 1
  fi
  echo "$1: all passed"
}
