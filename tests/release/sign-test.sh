#!/usr/bin/env bash
# Signing the shipped programs with a throwaway certificate made on the spot:
# each signed copy verifies against that certificate, and a copy changed
# after signing does not.
#   sign-test.sh SIGN-SCRIPT FILE...
set -uo pipefail
sign="$1"
shift
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
LC_ALL=C openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=brisvane throwaway signer" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null || { echo "FAIL openssl req"; exit 1; }
fail=0
verify() { LC_ALL=C osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1; }
for file in "$@"; do
  name="$(basename "$file")"
  cp "$file" "$work/$name"
  if ! "$sign" "$work/cert.pem" "$work/key.pem" -- "$work/$name"; then
    echo "FAIL $name: signing failed"
    fail=1
    continue
  fi
  if verify "$work/$name" && grep -q "Signature verification: ok" "$work/verify.txt"; then
    echo "ok   $name: signature verifies"
  else
    echo "FAIL $name: signature does not verify"
    tail -n 5 "$work/verify.txt"
    fail=1
  fi
  # One byte of the code changed after signing (the code starts at 0x400).
  printf '\xcc' | dd of="$work/$name" bs=1 seek=$((0x400 + 16)) conv=notrunc status=none
  if verify "$work/$name"; then
    echo "FAIL $name: a changed file still verifies"
    fail=1
  else
    echo "ok   $name: a changed file fails verification"
  fi
done
exit $fail
