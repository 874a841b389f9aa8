#!/usr/bin/env bash
# Writes the bundle's texts as Notepad on any Windows reads them: CRLF line
# ends, and a UTF-8 byte order mark on each one that holds more than ASCII
# (Notepad on older Windows takes a text without one for the ANSI code page).
# dist.sh makes the bundle with it; the bundle_texts test checks its output.
#   bundle-texts.sh FOLDER            every text but SHA256SUMS, into FOLDER
#   bundle-texts.sh --one FILE < IN   one text
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

bundle_text() {  # bundle_text PATH [--no-bom] < IN
  local tmp
  tmp="$(mktemp)"
  cat >"$tmp"
  if [ "${2:-}" != --no-bom ] && LC_ALL=C grep -q '[^ -~[:space:]]' "$tmp"; then
    "$root/scripts/windows-text.sh" --bom <"$tmp" >"$1"
  else
    "$root/scripts/windows-text.sh" <"$tmp" >"$1"
  fi
  rm -f "$tmp"
}

if [ "${1:-}" = --one ]; then
  bundle_text "${2:?--one needs a file}"
  exit 0
fi
out="${1:?usage: bundle-texts.sh FOLDER | --one FILE}"
bundle_text "$out/conf.xml" <"$root/samples/conf.xml"
# Checks to try hostemu config, lookup and transaction with before the host's
# own are at hand: a guest lookup, a lookup with the order's discount, a paid
# close and its return. They fit the sample conf.xml (place 1, payment types 5
# and 6); the documents' examples use them. A check goes to the DLL byte for
# byte, as the host's would: never with a byte order mark in front.
bundle_text "$out/check.xml" --no-bom <"$root/samples/demo/guest-check.xml"
bundle_text "$out/order.xml" --no-bom <"$root/samples/demo/order-check.xml"
bundle_text "$out/paid.xml" --no-bom <"$root/samples/demo/paid-check.xml"
bundle_text "$out/return.xml" --no-bom <"$root/samples/demo/return-check.xml"
bundle_text "$out/INSTALL.txt" <"$root/docs/INSTALL.txt"
bundle_text "$out/INSTALL.ru.txt" <"$root/docs/INSTALL.ru.txt"
# The references as plain text (tables as lists, lines of 100 columns at most).
for doc in log-and-results configuration hostemu; do
  python3 "$root/scripts/md-to-text.py" "$root/docs/$doc.md" | bundle_text "$out/$doc.txt"
done
