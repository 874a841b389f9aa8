#!/usr/bin/env bash
# Signs Windows programs in place with two Authenticode signatures: a SHA-1
# one first, which Windows XP SP3 and Windows 7 without its SHA-2 update
# check, and a SHA-256 one nested in it for every later Windows (those older
# ones report a file signed only with SHA-256 as invalid). With a time-stamp
# URL each gets a time stamp, so that it outlives the certificate: the SHA-1
# one the Authenticode kind that those older Windows read, the SHA-256 one an
# RFC 3161 stamp; the server must answer both.
#   scripts/sign.sh CERT KEY [TIMESTAMP-URL] -- FILE...
# CERT: the certificate chain (PEM or DER), KEY: its private key (PEM or DER).
set -euo pipefail
if [ $# -lt 4 ]; then
  echo "usage: sign.sh CERT KEY [TIMESTAMP-URL] -- FILE..." >&2
  exit 2
fi
cert="$1"
key="$2"
shift 2
stamp_sha1=()
stamp_sha256=()
if [ "$1" != "--" ]; then
  stamp_sha1=(-t "$1")
  stamp_sha256=(-ts "$1")
  shift
fi
[ "${1:-}" = "--" ] || { echo "sign.sh: expected -- before the files" >&2; exit 2; }
shift
for file in "$@"; do
  first="$file.sha1"
  signed="$file.signed"
  rm -f "$first" "$signed"
  osslsigncode sign -certs "$cert" -key "$key" -h sha1 -n brisvane "${stamp_sha1[@]}" \
    -in "$file" -out "$first" >/dev/null
  osslsigncode sign -nest -certs "$cert" -key "$key" -h sha256 -n brisvane "${stamp_sha256[@]}" \
    -in "$first" -out "$signed" >/dev/null
  rm -f "$first"
  mv "$signed" "$file"
  echo "sign: $(basename "$file") signed (SHA-1, SHA-256 nested)"
done
