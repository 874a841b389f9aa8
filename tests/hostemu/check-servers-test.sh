#!/usr/bin/env bash
# The connection check against port 443 of servers that let a till's TLS down,
# each started here on loopback and stopped after its row: the check must name
# the step, the Windows error the DLL logs for the same server and a verdict,
# and never crash.
#   check-servers-test.sh HOSTEMU_EXE BRISVANE_DLL CA_DIR ADDRESS HOST
# CA_DIR holds the fake service's trusted test CA (trusted-ca.crt/.key, ctest
# fixture "fakeloyalty"); HOST is mapped to ADDRESS in /etc/hosts for the run.
set -uo pipefail
hostemu="$1" dll="$2" ca="$3/trusted-ca" address="$4" host="$5" fake=""
source "$(dirname "$0")/harness.sh"
server_pid=""
tag="brisvane-check-servers-$host"
hosts_edit() {  # hosts_edit [LINE]: drops this run's line, adds LINE; /etc/hosts may be a bind mount
  (
    flock 9
    kept="$(grep -v "# $tag\$" /etc/hosts || true)"
    { printf '%s\n' "$kept"; [ -z "${1:-}" ] || printf '%s # %s\n' "$1" "$tag"; } >/etc/hosts
  ) 9>/tmp/brisvane-hosts.lock
}
stop_server() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  server_pid=""
}
trap 'stop_server; hosts_edit; rm -rf "$work"' EXIT
hosts_edit "$address $host"

# Certificates of the trusted CA: for HOST, expired, for another name.
t="$work/tls"
mkdir -p "$t/db"
leaf() {  # leaf NAME CN
  LC_ALL=C openssl req -newkey rsa:2048 -nodes -subj "/CN=$2" -keyout "$t/$1.key" -out "$t/$1.csr" >/dev/null 2>&1
  printf 'subjectAltName=DNS:%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nkeyUsage=digitalSignature,keyEncipherment\n' "$2" >"$t/$1.ext"
}
: >"$t/db/index.txt"
echo 1000 >"$t/db/serial"
printf '[ca]\ndefault_ca=c\n[c]\ndatabase=%s/db/index.txt\nunique_subject=no\nserial=%s/db/serial\nnew_certs_dir=%s/db\ndefault_md=sha256\npolicy=p\n[p]\ncommonName=supplied\n' \
  "$t" "$t" "$t" >"$t/ca.cnf"
sign() {  # sign NAME START END
  LC_ALL=C openssl ca -batch -notext -config "$t/ca.cnf" -cert "$ca.crt" -keyfile "$ca.key" -in "$t/$1.csr" \
    -startdate "$2" -enddate "$3" -extfile "$t/$1.ext" -out "$t/$1.crt" >/dev/null 2>&1 || fail "cannot sign $1"
}
now="$(date -u +%s)"
day() { date -u -d "@$((now + $1 * 86400))" +%Y%m%d%H%M%SZ; }
leaf good "$host" && sign good "$(day -1)" "$(day 2)"
leaf expired "$host" && sign expired 20200101000000Z 20200201000000Z
leaf other "other-name.test" && sign other "$(day -1)" "$(day 2)"

conf <<EOF_CONF
<Configuration><ApiAddress>$host</ApiAddress><SSL>true</SSL>
  <PlaceOfService><PlaceCode>1</PlaceCode><LoyltyApiToken Default="true">tok-servers</LoyltyApiToken></PlaceOfService>
</Configuration>
EOF_CONF

# One row per server: its kind (failing-server.py), its certificate, the exit
# status and the words the output must hold.
refused=("TLS              FAILED: Windows error 12157: " "Verdict: FAILED: the TLS handshake was refused"
         "(the DLL logs \"Windows error 12157: ")
server() {  # server NAME KIND CERT EXIT WORDS...
  local name="$1" kind="$2" cert="$3" expected="$4" w
  shift 4
  rm -f "$work/server.pid"
  python3 "$here/failing-server.py" "$kind" "$address" "$t/$cert.crt" "$t/$cert.key" "$work/server.pid" \
    >"$work/server.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 50); do [ -s "$work/server.pid" ] && break; sleep 0.1; done
  [ -s "$work/server.pid" ] || { case_name="$name"; out="$(cat "$work/server.log")"; fail "the server did not start"; }
  run "check: $name" "$expected" "$T" check
  stop_server
  for w in "$@"; do has "$w"; done
  lacks "Unhandled"
  lacks "tok-servers"
}
server "plain HTTP on port 443" plain good 1 "${refused[@]}" "certificate      none read: Windows error 12157"
server "a port 443 that closes after the ClientHello" hello-close good 1 "${refused[@]}"
server "TLS 1.3 only" tls13 good 1 "${refused[@]}"
server "no cipher suite in common" no-suite good 1 "${refused[@]}"
server "a client certificate demanded" client-cert good 1 "${refused[@]}"
# Wine's WinInet still speaks TLS 1.0: the exchange goes through.
server "TLS 1.0 only" tls10 good 0 "TLS              handshake done, certificate trusted" "Verdict: OK"
server "an expired certificate" certificate expired 1 "TLS              FAILED: Windows error 12037: " \
  "WARNING: the certificate ended on 2020-02-01 00:00 UTC" \
  "Verdict: FAILED: the certificate's dates do not cover today" "(the DLL logs \"Windows error 12037: "
server "a certificate for another name" certificate other 1 "TLS              FAILED: Windows error 12038: " \
  "certificate      CN=other-name.test" "Verdict: FAILED: the certificate is made out for another host name" \
  "(the DLL logs \"Windows error 12038: "

finish "hostemu check against failing servers"
