#!/usr/bin/env bash
# Tests of the host emulator under Wine: its usage errors, init, lookup and
# transaction against the fake loyalty service, and the configuration report's
# warnings on crafted conf.xml files.
#   hostemu-test.sh HOSTEMU_EXE BRISVANE_DLL FAKE_ADDRESS NO_LISTENER_ADDRESS TLS_HOST UNTRUSTED_HOST
# Needs the fake service on FAKE_ADDRESS:80 and, for the connection check, on
# TLS_HOST:443, UNTRUSTED_HOST:443 and revocation.TLS_HOST:443 (ctest fixture
# "fakeloyalty"), and WINEPREFIX in the environment. The connection check's
# cases set values in that prefix's registry for a moment (and remove them).
set -uo pipefail
hostemu="$1" dll="$2" fake="$3" no_listener="$4" tls_host="$5" untrusted_host="$6"
source "$(dirname "$0")/harness.sh"

check() { cat >"$work/$1"; }

sed 's/chmode="1"/chmode="0"/' "$work/cat1.xml" >"$work/guest.xml"
sed 's/order_cat="1"/order_cat="3"/' "$work/cat1.xml" >"$work/cat3.xml"
sed 's/order_cat="1"/order_cat="12"/' "$work/cat1.xml" >"$work/cat12.xml"
sed 's/ order_cat="1"//' "$work/cat1.xml" >"$work/nocat.xml"
check nodata.xml <<'EOF'
<CHECK restaurantcode="R1" chmode="0"></CHECK>
EOF

# --- usage errors: a message and a non-zero exit, never a crash
good_conf "$fake" tok-a tok-b
run "no arguments" 2
has "usage: hostemu"
run "folder only" 2 "$T"
has "hostemu --help: every command"
run "unknown command" 2 "$T" fly
has "unknown command fly"
run "unknown option" 2 --loud "$T" init
has "unknown option --loud"
run "init with extra argument" 2 "$T" init now
has "init takes no further arguments"
run "lookup without check" 2 "$T" lookup 1001
has "lookup takes a card or phone number and a check file"
run "lookup with a non-number" 2 "$T" lookup 12ab "$work/cat1.xml"
has "not a 64-bit number: 12ab"
run "lookup with a number beyond 64 bits" 2 "$T" lookup 99999999999999999999 "$work/cat1.xml"
has "not a 64-bit number: 99999999999999999999"
run "transaction with a missing check" 2 "$T" transaction "$work/none.xml"
has "cannot read check file"
run "config without check" 2 "$T" config
has "config takes one check file"
# A check named without a folder: the console's folder, then the till's; else each place and why.
cp "$work/cat1.xml" "$till/in-till.xml"
run "a check in the till's folder" 0 "$T" config in-till.xml
has "No warnings."
printf '\xff\xfe<\0C\0' >"$till/utf16.xml"
run "a check nowhere" 2 "$T" config utf16.xml
has "hostemu: cannot read check file utf16.xml:"
grep -qE '^  [A-Z]:\\.*\\utf16.xml: no such file$' <<<"$out" || fail "the console's folder is not named"
has "till\utf16.xml: not XML (a check starts with \"<\")"
run "help" 0 --help
has "hostemu [--dll PATH] [--brief] <folder> lookup"
# The exit statuses in the words of docs/hostemu.md (its paragraph "Exit status: ...").
python3 - "$here/../../docs/hostemu.md" "$out" <<'EOF_PY' || fail "--help and docs/hostemu.md give other exit statuses"
import sys
docs = " ".join(open(sys.argv[1], encoding="utf-8").read().split())
start = docs.index("Exit status: ")
paragraph = docs[start:docs.index(").", docs.index(" 3: ", start)) + 2]
assert paragraph in " ".join(sys.argv[2].split()), paragraph
EOF_PY

# --- the language: Windows' UI language (Wine takes it from LANG), else --lang
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "Russian UI: help" 0 --help
has "Использование: hostemu [--dll ПУТЬ] [--brief] <папка> init"
# A usage line longer than the line goes on under its first argument.
grep -qzF $'               hostemu [--dll ПУТЬ] [--brief] <папка> lookup <номер-карты-или-телефона>\n                       <чек.xml>\n' <<<"$out" ||
  fail "the lookup's usage line does not go on under its first argument"
has "Код завершения: 0: выполнено (init, lookup, transaction: функция вызвана"
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "Russian UI: a complaint" 2 "$T" lookup 1001
has "hostemu: для lookup укажите номер карты или телефона и файл чека"
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "Russian UI, --lang en" 2 --lang en "$T" lookup 1001
has "hostemu: lookup takes a card or phone number and a check file"
lacks "вызов"
LC_ALL="" LANGUAGE="" LANG=en_US.UTF-8 run "English UI" 0 --help
has "usage: hostemu [--dll PATH] [--brief] <folder> init"
LC_ALL="" LANGUAGE="" LANG=en_US.UTF-8 run "English UI, --lang ru" 2 "$T" --lang ru transaction "$work/none.xml"
has "не удаётся прочитать файл чека"
LC_ALL="" LANGUAGE="" LANG=en_US.UTF-8 run "unknown language" 2 --lang fr "$T" init
has "hostemu: --lang takes ru or en"
lang=(--lang en)
run "folder without the DLL" 1 "Z:$work" init
has "cannot load Z:\\"
has "(error 126: the DLL, or a DLL it needs, was not found)"
has "(a path with blanks needs the quotes)"
run "folder that does not exist" 1 "Z:$work/nowhere" init
has "cannot enter folder"

# --- --dll: the DLL where the host loads it from, the folder its working folder
mkdir -p "$work/Host App" "$work/host folder"
cp "$dll" "$work/Host App/brisvane.dll"
cp "$till/conf.xml" "$work/host folder/"
run "init with the DLL outside the folder" 0 --dll "Z:$work/Host App/brisvane.dll" "Z:$work/host folder" init
has "Init returned 0"
[ -f "$work/host folder/brisvane.log" ] || fail "no brisvane.log in the working folder"
run "--dll naming no file" 1 "$T" init --dll "Z:$work/Host App/none.dll"
has "cannot load Z:\\"
has "none.dll (error 126: "
run "--dll for a command without a folder" 2 --dll "Z:$work/Host App/brisvane.dll" summary x.log
has "--dll goes with the commands that take a folder"
run "a DLL without the exports" 1 --dll 'C:\windows\system32\kernel32.dll' "$T" init
has "hostemu: C:\windows\system32\kernel32.dll has no export Init"

# --- a path with blanks typed without quotes: one line with the quoted form
slip() {  # slip NAME QUOTED-FORM hostemu-arguments...
  local name="$1" quoted="$2"
  shift 2
  run "$name" 2 "$@"
  has "seems split at a blank; a path with blanks must be in double quotes: $quoted"
  [ "$(wc -l <<<"$out")" -eq 1 ] || fail "more than one line"
}
slip "--dll split, then the folder" "--dll \"Z:$work/Host App/brisvane.dll\"" \
  --dll "Z:$work/Host" "App/brisvane.dll" "$T" lookup 1001 "$work/cat1.xml"
slip "--dll split, no folder" "--dll \"Z:$work/Host App/brisvane.dll\"" \
  --dll "Z:$work/Host" "App/brisvane.dll" init
slip "folder split, its head not a folder" "\"Z:$work/host folder\"" \
  "Z:$work/host" folder config "$work/cat1.xml"
mkdir -p "$work/host"
slip "folder split, its head a folder too" "\"Z:$work/host folder\"" \
  "Z:$work/host" folder lookup 1001 "$work/cat1.xml"
run "a folder and a mistyped command" 2 "$T" lokup 1001 "$work/cat1.xml"
has "hostemu: unknown command lokup"
lacks "split at a blank"

# --- version: the DLL's version resource, its product version naming the commit
run "version" 0 "$T" version
has "Built for       32-bit x86"
has "File version    37.0.0.0"
grep -Eq "^Product version 37 \([0-9a-f]{40}(-dirty)?\)$" <<<"$out" ||
  fail "the product version names no commit"
run "version of a DLL outside the folder" 0 --dll "Z:$work/Host App/brisvane.dll" "Z:$work/host folder" version
has "Host App"
cp "$work/cat1.xml" "$work/Host App/not-a-dll.dll"
run "version of a file that is no program" 1 "$T" version --dll "Z:$work/Host App/not-a-dll.dll"
has "not a Windows program"

# --- init
run "init" 0 "$T" init
has "Init returned 0"
has "CURRENT VERSION: 37"
has "<ApiAddress>$fake</ApiAddress>"
[ -f "$till/init.txt" ] || fail "no init.txt beside the DLL's working folder"
run "init brief" 0 --brief "$T" init
has "Init : Ended"
lacks "CURRENT VERSION"

# --- lookup against the fake service
tok="$(token hemu-look)"
good_conf "$fake" "$tok" other
scenario "$tok" '{"GuestInfo": {"by_body": [
  {"contains": "\"CardToken\":1003}", "body": "{\"Status\":2,\"ErrorMessage\":\"Карта заблокирована. Продажа по карте невозможна.\"}"}],
  "default": {"body": "{\"Status\":1,\"ClientId\":\"501\",\"LastName\":\"Петрова\",\"FirstName\":\"Анна\",\"MiddleName\":\"Сергеевна\",\"LoyaltyLevel\":\"Золото\",\"BonusBalance\":\"1250.50\",\"DiscountId\":3,\"BonusId\":7,\"NotPayType\":0}"}},
 "GetDiscount": {"body": "{\"Status\":1,\"FIO\":\"Петрова Анна\",\"NotPayType\":0,\"BonusId\":7,\"DiscountId\":3,\"SumDiscount\":30.5,\"MaxBonus\":250.0,\"MaxDeposit\":800.0,\"LoyaltyLevel\":\"Золото\",\"PrintMessage\":\"Спасибо!\"}"},
 "CloseOrder": [{"body": "{\"Status\":1}"}, {"body": "{\"Status\":2}"}],
 "ReturnOrder": {"body": "{\"Status\":1}"}}'
run "guest lookup" 0 "$T" lookup 1001 "$work/guest.xml"
has "GetCardInfoEx(1001) returned 0 (answered)"
has "Card_owner       Петрова Анна Сергеевна"
has "Access_amount    1250.50"
has "Screen_comment   Золото"
has "Ended successfully! RETURN 0"
has "TRY SEND REQUEST TO v1/GuestInfo/$tok"
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "Russian UI: guest lookup" 0 "$T" lookup 1001 "$work/guest.xml"
has "GetCardInfoEx(1001) вернула 0 (ответ получен)"
has "--- запись карты ---"
has "  Card_owner       Петрова Анна Сергеевна"
has "--- записи журнала, сделанные этим вызовом ---"
has "Ended successfully! RETURN 0"  # the log's own lines as the DLL wrote them
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "Russian UI: config" 0 "$T" config "$work/cat1.xml"
has "== Сервер программы лояльности"
has "Предупреждений нет."
lang=(--lang en)
run "guest and discount lookup, brief" 0 --brief "$T" lookup 1001 "$work/cat1.xml"
has "Max_discount     30.50"
has "Access_amount2   250.00"
has "Access_amount3   800.00"
has "Printer_comment  Спасибо!"
lacks "Comment          "
lacks "TRY SEND REQUEST"
[ "$(grep -c '^\[' <<<"$out")" -eq 1 ] || fail "brief output should hold one closing log line"
run "blocked card" 0 --brief "$T" lookup 1003 "$work/guest.xml"
has "Blocked          1"
has "Block_reason     Карта заблокирована. Продажа по карте невозможна."
has "Error: Карта заблокирована. Продажа по карте невозможна RETURN 0"
run "show the calls already in the log" 0 show "Z:$till/brisvane.log"
has "GetCardInfoEx : Ended successfully! RETURN 0"
has "Card_owner: Петрова Анна Сергеевна"  # Windows-1251 in the log
has "  result: 0"

# --- transactions against the fake service
run "close confirmed" 0 "$T" transaction "$work/cat1.xml"
has "TransactionsEx returned 0 (posted)"
has "TRY SEND REQUEST TO v1/CloseOrder/$tok"
has "Ended RETURN 0"
run "close refused" 0 --brief "$T" transaction "$work/cat1.xml"
has "TransactionsEx returned 1 (not posted)"
has 'jsonResultRequest["Status"].GetInt() != 1 RETURNS 1{"Status":2}'
sed 's/chmode="1"/chmode="2"/' "$work/cat1.xml" >"$work/return.xml"
run "return" 0 --brief "$T" transaction "$work/return.xml"
has "TransactionsEx returned 0 (posted)"

# --- the configuration report
rm -f "$till/brisvane.log" "$till"/inputBuf_*.txt
good_conf "$fake" secret-hall-token-1234 secret-delivery-token-5678
run "config of a sound conf.xml" 0 "$T" config "$work/cat1.xml"
has "ApiAddress  \"$fake\""
has "plain HTTP on port 80"
has "requests go to http://$fake:80/v1/GuestInfo/<token>"
has "place #1 matches"
has "token \"secr****************34\" (22 characters)"
has "MaxBonus -> sub-account 2 (Access_amount2)"
has "MaxDeposit -> sub-account 3 (Access_amount3)"
has "the bonus payment of the selected interface names the guest: account \"501\""
has "No warnings."
lacks "secret-hall-token-1234"
lacks "secret-delivery-token-5678"
[ ! -e "$till/brisvane.log" ] || fail "config wrote brisvane.log into the host's folder"
ls "$till"/inputBuf_*.txt >/dev/null 2>&1 && fail "config wrote a debug file into the host's folder"
# A check the DLL refuses before sending anything: the DLL's own lines, quoted.
sed 's|<PAYMENT code="1" sum="200"/>|<PAYMENT code="6" sum="200"/>|' "$work/cat1.xml" >"$work/no-deposit-account.xml"
run "config, a deposit payment without account" 1 "$T" config "$work/no-deposit-account.xml"
has "WARNING: a transaction with this check is refused before anything is sent; the DLL logs \"TransactionsEx : ERROR deposit payment names no account: cannot write off the deposit, nothing sent RETURN 1\" and returns 1"
[ ! -e "$till/brisvane.log" ] || fail "config's trial of the check wrote into the host's folder"

run "config, check without CHECKDATA uses the fallback" 0 "$T" config "$work/nodata.xml"
has "order category -1 (the check has no CHECKDATA)"
has "the fallback of place #1 is used"

rm -f "$till/conf.xml"
run "config without conf.xml" 1 "$T" config "$work/cat1.xml"
has "WARNING: conf.xml cannot be loaded"

conf <<'EOF'
<configuration><ApiAddress>h</ApiAddress></configuration>
EOF
run "config with another root" 1 "$T" config "$work/cat1.xml"
has "WARNING: the top element is <configuration>, not <Configuration>"

conf <<'EOF'
<Configuration><ApiAddress>h</ApiAddress>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken>t1</LoyltyApiToken></PlaceOfService>
  <PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken Default="True">t2</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF
run "config, no match and no fallback" 1 "$T" config "$work/cat3.xml"
has "WARNING: no place of service matches order category 3 and none is marked Default=\"true\""
has "WARNING: place #2: Default=\"True\" does not make a fallback"

tok1="hemu-$$-fb1" tok2="hemu-$$-fb2"
conf <<EOF
<Configuration><ApiAddress>$fake</ApiAddress>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default="true">$tok1</LoyltyApiToken></PlaceOfService>
  <PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken Default="true">$tok2</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF
run "config, two fallbacks" 1 "$T" config "$work/cat3.xml"
has "WARNING: 2 places are marked Default=\"true\" (#1, #2): only the last one, #2, is the fallback"
has "the fallback of place #2 is used"
# The DLL agrees: the lookup goes out with the second place's token.
scenario "$tok2" '{"GuestInfo": {"body": "{\"Status\":3}"}}'
run "the DLL uses the last fallback" 0 "$T" lookup 1001 "$work/cat3.xml"
has "TRY SEND REQUEST TO v1/GuestInfo/$tok2"
has "Error: status != 1 RETURN 1"

conf <<'EOF'
<Configuration><ApiAddress>h</ApiAddress>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken></LoyltyApiToken></PlaceOfService>
  <PlaceOfService><PlaceCode>2</PlaceCode><LoyltyApiToken Default="true">fallback-token</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF
run "config, matching place with an empty token" 1 "$T" config "$work/cat1.xml"
has "WARNING: place #1 has an empty LoyltyApiToken"
has "WARNING: this check matches place #1, whose token is empty"
has "token \"\" (0 characters)"

conf <<'EOF'
<Configuration><ApiAddress>h</ApiAddress><SSL>TRUE</SSL>
  <PlaceOfService><PlaceCode>12abc</PlaceCode><LoyltyApiToken Default="true">t</LoyltyApiToken></PlaceOfService>
  <BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>9</CardSubAccount></BonusAccount>
  <BonusAccount><CurrencyCode>7</CurrencyCode><CardSubAccount>0</CardSubAccount></BonusAccount>
  <DepositAccount><CurrencyCode>6</CurrencyCode></DepositAccount>
</Configuration>
EOF
run "config, SSL TRUE, odd code, sub-accounts outside 1..8" 1 "$T" config "$work/cat12.xml"
has "WARNING: SSL is written \"TRUE\": only the exact text \"true\" turns HTTPS on"
has "WARNING: place #1: PlaceCode \"12abc\" reads as 12"
has "place #1 matches"
has "WARNING: BonusAccount #1: CardSubAccount \"9\" reads as 9, outside 1..8"
has "WARNING: BonusAccount #2: CardSubAccount \"0\" reads as 0, outside 1..8"
has "WARNING: DepositAccount #1: CardSubAccount (none) reads as 0, outside 1..8"

conf <<'EOF'
<Configuration><ApiAddress>h</ApiAddress><SSL>1</SSL>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default="true">t</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF
run "config, SSL 1" 1 "$T" config "$work/cat1.xml"
has "WARNING: SSL is written \"1\""
has "SSL         \"1\" -> plain HTTP on port 80"

conf <<'EOF'
<Configuration>
  <ApiAddress>
    loyalty.example.com
  </ApiAddress>
  <SSL>true</SSL>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default="true">t</LoyltyApiToken></PlaceOfService>
  <BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>
  <DepositAccount><CurrencyCode>6</CurrencyCode><CardSubAccount>2</CardSubAccount></DepositAccount>
</Configuration>
EOF
run "config, address across lines, HTTPS, shared slot" 1 "$T" config "$work/cat1.xml"
has 'ApiAddress  "\n    loyalty.example.com\n  "'
has "WARNING: ApiAddress holds blanks or line feeds: the DLL uses the text as written, untrimmed"
has "SSL         \"true\" -> HTTPS on port 443"
has "WARNING: sub-account 2 receives both MaxBonus (BonusAccount #1) and MaxDeposit"

good_conf h t1 t2
run "config, CHECKDATA without order_cat" 1 "$T" config "$work/nocat.xml"
has "WARNING: CHECKDATA has no order_cat"

# The bundled sample is sound as it stands.
cp "$here/../../samples/conf.xml" "$till/conf.xml"
run "config of samples/conf.xml" 0 "$T" config "$work/cat1.xml"
has "HTTPS on port 443"
has "No warnings."

# --- the connection check
tok="$(token hemu-check)" tok2="$(token hemu-second)"
for t in "$tok" "$tok2"; do
  scenario "$t" '{"GuestInfo": {"body": "{\"Status\":2,\"ErrorMessage\":\"card not found\"}"}}'
done
check_conf "$fake" false "$tok" "$tok2"
rm -f "$till/brisvane.log"
run "check, HTTP up" 0 "$T" check
has "service          ApiAddress \"$fake\", SSL \"false\": http://$fake:80"
has "order category -1"
has "name             $fake -> $fake"
has "TCP              connected to $fake port 80"
has "TLS              not used"
has 'POST v1/GuestInfo/<token> {"CardToken":0}: HTTP status 200'
has 'JSON with "Status" 2'
has "Verdict: OK: the service answered with JSON (HTTP status 200)"
lacks "$tok"
[ "$(requests "$tok")" = "POST /v1/GuestInfo/$tok {\"CardToken\":0}" ] ||
  fail "expected exactly one GuestInfo request, got: $(requests "$tok")"
[ ! -e "$till/brisvane.log" ] || fail "check wrote brisvane.log into the host's folder"

run "check, --place chooses the place" 0 "$T" check --place 2
has "order category 2 (--place)"
[ "$(requests "$tok2" | wc -l)" -eq 1 ] || fail "the request did not use place 2's token"

check_conf "$tls_host" true "$tok"
run "check, HTTPS with the test CA" 0 "$T" check
has "TCP              connected to $fake port 443"
has "TLS              handshake done, certificate trusted"
has "certificate of $tls_host"
has "certificate      CN=$tls_host, issued by CN="
has "top of the chain: CN="
has "trusted test CA"
has "WARNING: the certificate ends in"  # the test certificates live two days
has "revocation       none named"
has "Verdict: OK"

check_conf "$untrusted_host" true "$tok"
run "check, untrusted certificate" 1 "$T" check
has "TLS              FAILED: Windows error 12057"
has "past it: Windows error 12045"
has "Verdict: FAILED: the certificate's issuer is not trusted by this Windows"
[ "$(requests "$tok" | wc -l)" -eq 2 ] || fail "a request went over the untrusted channel"

# The till's own Windows: the clock against the reply's Date, the revocation
# servers of a certificate, and Internet Options as this prefix's registry has them.
tok3="$(token hemu-clock)"
scenario "$tok3" '{"GuestInfo": {"body": "{\"Status\":2}", "date_offset_s": 10800}}'
check_conf "$fake" false "$tok3"
run "check, the service's clock three hours ahead" 0 "$T" check
has "windows          Windows "
has "account          user "
has "run the check as the Windows account the POS host runs as"
has "internet options Work Offline off, automatic detection off, configuration script none"
grep -qE '^  clock +[0-9].*difference \+(1079[89]|1080[0-2]) s \(this clock is behind\) \([0-9]+ ms\)$' <<<"$out" ||
  fail "the clock step does not show about +10800 s"
has "WARNING: this clock is 3 hours behind the service's"
grep -qE '^  clock +[0-9-]+ [0-9:]+ local time \(UTC' <<<"$out" || fail "the clock's local time is not as before"
has "Verdict: OK: the service answered with JSON (HTTP status 200) (1 warning above)"
[ "$(grep -cE '^  [a-zA-Z. ]+ .* \([0-9]+ ms\)$' <<<"$out")" -eq 14 ] ||
  fail "not every one of the 14 steps shows its time"
# A Russian UI: the steps, warnings and verdict in Russian; the service's reply as it came.
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "check in Russian, the clock three hours behind" 0 "$T" check
has "Проверка связи для папки $T"
has "  учётная запись        пользователь: "
has "запускайте проверку от той учётной записи Windows, от которой работает кассовая программа"
has 'JSON с "Status" 2'
grep -qE '^  часы +[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9:]+, местное время \(UTC' <<<"$out" ||
  fail "the clock's local time is not in Russian, day first"
has "ВНИМАНИЕ: часы кассы отстают от часов сервера программы лояльности на 3 ч."
has "Итог: ОК: сервер программы лояльности ответил в формате JSON (код HTTP 200) (выше есть 1 предупреждение)"
lang=(--lang en)

check_conf "revocation.$tls_host" true "$tok"
run "check, a certificate with revocation addresses" 0 "$T" check
has "certificate      CN=revocation.$tls_host, issued by CN="
has "revocation       2 addresses, 1 answering"
has "OCSP http://$fake/ocsp: answers (HTTP status 404, "
has "CRL http://$no_listener/brisvane-test.crl: no answer: Windows error 12029"
has "WARNING: the CRL server http://$no_listener/brisvane-test.crl does not answer from this till"

inet='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
tls12='HKLM\SYSTEM\CurrentControlSet\Control\SecurityProviders\SCHANNEL\Protocols\TLS 1.2\Client'
reg_set() { "$wine_run" reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1 || fail "cannot set $2"; }
reg_clear() {
  "$wine_run" reg delete "$inet" /v GlobalUserOffline /f >/dev/null 2>&1
  "$wine_run" reg delete "$inet" /v SecureProtocols /f >/dev/null 2>&1
  "$wine_run" reg delete "$tls12" /v Enabled /f >/dev/null 2>&1
}
trap 'reg_clear; rm -rf "$work"' EXIT
reg_set "$inet" GlobalUserOffline 1
reg_set "$inet" SecureProtocols 0xA0
check_conf "$fake" false "$tok"
run "check, Work Offline and no TLS 1.2, plain HTTP" 0 "$T" check
has "internet options Work Offline on"
has "TLS 1.2 NOT available to WinInet"
has "account 0xA0 (SSL 3.0, TLS 1.0)"
has "WARNING: \"Work Offline\" is on for this account"
has "Verdict: OK"
check_conf "$tls_host" true "$tok"
run "check, no TLS 1.2 with SSL" 1 "$T" check
has "Verdict: FAILED: SSL is \"true\" but TLS 1.2 is not available to WinInet: SecureProtocols of this account's Internet Options (0xA0) leaves TLS 1.2 out"
lacks "  GuestInfo"
lang=()
LC_ALL="" LANGUAGE="" LANG=ru_RU.UTF-8 run "check in Russian, no TLS 1.2 with SSL" 1 "$T" check
has "ВНИМАНИЕ: для этой учётной записи включён режим «Работать автономно»"
# Wine's prefix passes for Windows 7 with svcVersion 11.0...: IE 11's name of the dialog.
has "Итог: ОШИБКА: SSL \"true\", но TLS 1.2 недоступен для WinInet: SecureProtocols (окно «Свойства браузера» этой учётной записи, 0xA0) не включает TLS 1.2: отметьте «Использовать TLS 1.2» (окно «Свойства браузера», Win+R → inetcpl.cpl: «Дополнительно»)"
lang=(--lang en)
reg_set "$inet" SecureProtocols 0xA80
reg_set "$tls12" Enabled 0
run "check, SCHANNEL switches TLS 1.2 off" 1 "$T" check
has "account 0xA80 (TLS 1.0, TLS 1.1, TLS 1.2)"
has "TLS 1.2 Enabled 0, DisabledByDefault not set"
has "Verdict: FAILED: SSL is \"true\" but TLS 1.2 is not available to WinInet: SCHANNEL's TLS 1.2 client key has Enabled=0"
reg_clear
reg_set "$inet" SecureProtocols 0xA80
run "check, TLS 1.2 ticked" 0 "$T" check
has "TLS 1.2 available to WinInet"
has "TLS 1.2: SecureProtocols of this account's Internet Options has it"
reg_clear

check_conf "brisvane-nowhere-$$.invalid" false "$tok"
run "check, unresolvable name" 1 "$T" check
has "name             FAILED: brisvane-nowhere-$$.invalid cannot be resolved: Windows error 11001"
has "Verdict: FAILED: the name brisvane-nowhere-$$.invalid is not known to this till"

check_conf "$no_listener" false "$tok"
run "check, nothing listening" 1 "$T" check
has "TCP              FAILED: no connection to $no_listener port 80: Windows error 10061"
has "Verdict: FAILED: nothing accepts connections on $no_listener port 80"

check_conf "$fake" false ""
run "check, empty token" 1 "$T" check
has "token            FAILED: the LoyltyApiToken chosen for order category -1 (its place's, or the fallback) is empty"
conf <<EOF
<Configuration><ApiAddress>$fake</ApiAddress>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken>$tok</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF
run "check, no place for --place and no fallback" 1 "$T" check --place 7
has "token            FAILED: no place of service has PlaceCode 7"
run "check, no default place" 1 "$T" check
has "token            FAILED: no place of service has PlaceCode -1"
has "a check with CHECKDATA still finds its place's token: check a place with hostemu \"$T\" check --place CODE, CODE one of the places' codes: 1"

rm -f "$till/conf.xml"
run "check without conf.xml" 1 "$T" check
has "conf.xml         FAILED: conf.xml is missing"
has "Verdict: FAILED: conf.xml is missing"

# check's verdicts: one row per way the service, the network or conf.xml lets
# the till down. Each row: what conf.xml holds (CONF), what the service does for
# GuestInfo (a behaviour of the fake service), the exit status, and the words
# the output must hold; the token never shows.
verdict() {  # verdict NAME EXIT CONF BEHAVIOUR WORDS...
  local name="$1" expected="$2" kind="$3" behaviour="$4"
  shift 4
  scenario "$tok" "{\"GuestInfo\": $behaviour}"
  case "$kind" in
    http) check_conf "$fake" false "$tok" ;;
    tls-by-address) check_conf "$fake" true "$tok" ;;  # the certificate names $tls_host
    blank) check_conf "  " false "$tok" ;;
    malformed) conf <<<"<Configuration><ApiAddress>$fake</ApiAddress>" ;;
    other-root) conf <<<"<Settings><ApiAddress>$fake</ApiAddress></Settings>" ;;
    utf16) check_conf "$fake" false "$tok"
      python3 -c 'import sys; p=sys.argv[1]; t=open(p).read(); open(p,"wb").write(t.encode("utf-16"))' \
        "$till/conf.xml" ;;
  esac
  run "check: $name" "$expected" "$T" check
  local w
  for w in "$@"; do has "$w"; done
  lacks "$tok"
}
echoed="$(printf '{"body": "{\\"Status\\":2,\\"Message\\":\\"unknown token %s\\"}"}' "$tok")"
verdict "a gateway's page" 1 http '{"status": 502, "body": "<html><h1>502 Bad Gateway</h1></html>"}' \
  "HTTP status 502, 37 bytes, not JSON" "reply: <html><h1>502 Bad Gateway</h1></html>" \
  "Verdict: FAILED: HTTP status 502 with a reply that is not JSON (\"<html><h1>502 Bad Gateway</h1></html>\"): the DLL logs \"Error: not ok jsonGuestInfo RETURN 1\": a gateway in front of the service"
verdict "a gateway's JSON refusal" 1 http '{"status": 403, "body": "{\"message\":\"Forbidden\"}"}' \
  'HTTP status 403, 23 bytes, JSON without "Status"' \
  "Verdict: FAILED: HTTP status 403 with JSON that is not the service's reply" "check the LoyltyApiToken"
verdict "JSON without Status" 1 http '{"body": "{\"Result\":\"ok\"}"}' \
  "Verdict: FAILED: HTTP status 200 with JSON that is not the service's reply (no \"Status\")"
verdict "the service's JSON with a 500" 1 http '{"status": 500, "body": "{\"Status\":1}"}' \
  "Verdict: FAILED: HTTP status 500 with the service's JSON, \"Status\" 1 (\"{\"Status\":1}\"): the service failed"
verdict "a refused token" 1 http '{"body": "{\"Status\":0,\"Message\":\"Invalid token\"}"}' \
  "Verdict: FAILED: HTTP status 200 with the service's JSON, \"Status\" 0 (\"Invalid token\"): the DLL logs \"Error: status != 1 RETURN 1\": check the LoyltyApiToken of the default place (PlaceCode 1) first"
verdict "a 404 with the service's JSON" 1 http '{"status": 404, "body": "{\"Status\":0}"}' \
  "the DLL logs \"Error: status != 1 RETURN 1\": the address answers but does not know the request: check ApiAddress, SSL (port 80 or 443) and the path v1/GuestInfo/"
verdict "a 403 with an empty body" 1 http '{"status": 403, "body": ""}' \
  "Verdict: FAILED: the service's reply is empty (HTTP status 403): the DLL logs \"HTTP status 403\" and the lookup returns 1: check the LoyltyApiToken of the default place (PlaceCode 1) first"
verdict "a 401 with JSON" 1 http '{"status": 401, "body": "{\"Message\":\"Authorization has been denied\"}"}' \
  "(\"Authorization has been denied\")" "check the LoyltyApiToken of the default place (PlaceCode 1) first"
verdict "an empty body" 1 http '{"body": ""}' \
  "Verdict: FAILED: the service's reply is empty (HTTP status 200)"
verdict "a send that fails after TCP" 1 http '{"action": "close"}' \
  "TCP              connected to $fake port 80" "Verdict: FAILED: the request got no answer"
verdict "a reply that echoes the token" 0 http "$echoed" \
  "unknown token \"${tok:0:4}" "characters)" "Verdict: OK: the service answered with JSON (HTTP status 200)"
verdict "a UTF-16 conf.xml" 0 utf16 '{"body": "{\"Status\":2}"}' \
  "conf.xml is saved as UTF-16" "Verdict: OK"
verdict "malformed conf.xml" 1 malformed '{}' "Verdict: FAILED: conf.xml cannot be read as XML"
verdict "no Configuration" 1 other-root '{}' \
  "Verdict: FAILED: conf.xml has no <Configuration> element"
verdict "a blank ApiAddress" 1 blank '{}' \
  "Verdict: FAILED: ApiAddress \"\" is empty or holds blanks or line feeds"
verdict "TLS to the service's address" 1 tls-by-address '{"body": "{\"Status\":2}"}' \
  "Verdict: FAILED: the certificate is made out for another host name"
http_proxy="http://$no_listener:3128" verdict "a proxy that is down" 1 http '{}' \
  "WinInet goes through $no_listener:3128" "TCP              FAILED: no connection to $no_listener port 3128" \
  "Verdict: FAILED: the proxy $no_listener:3128 of this account's Internet Options does not accept"
http_proxy="http://$no_listener:3128" no_proxy="$fake" verdict "the service on the proxy's bypass list" 0 \
  http '{"body": "{\"Status\":2}"}' "but $fake is on its bypass list ($fake): WinInet connects directly" \
  "TCP              connected to $fake port 80" "Verdict: OK"
# A wildcard entry that this WinInet does not take (Wine's no_proxy): the route
# taken is reported, and the advice names the exact address, not the entry.
http_proxy="http://$no_listener:3128" no_proxy="${fake%.*}.*" verdict "a bypass entry WinInet does not take" 1 \
  http '{}' "the bypass list (${fake%.*}.*) seems to name $fake (${fake%.*}.*), but the request went through $no_listener:3128" \
  "WinInet looked up $no_listener: the request went to the proxy" \
  "Verdict: FAILED: the proxy $no_listener:3128 of this account's Internet Options does not accept connections: get it running, or the exception ${fake%.*}.* is already there but did not take effect for WinInet: add the exact name $fake"

run "check with an extra argument" 2 "$T" check now
has "check takes no further arguments"
run "check, --place without a code" 2 "$T" check --place
has "--place takes a place code"
run "check, --place not a number" 2 "$T" check --place hall
has "--place takes a place code (a whole number)"
run "--place on another command" 2 "$T" init --place 1
has "--place is an option of check only"

finish "hostemu tests"
