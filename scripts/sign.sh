#!/usr/bin/env bash
# Signs Windows programs in place with an Authenticode signature (SHA-256),
# optionally with an RFC 3161 time stamp so that the signature outlives the
# certificate.
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
stamp=()
if [ "$1" != "--" ]; then
  stamp=(-ts "$1")
  shift
fi
[ "${1:-}" = "--" ] || { echo "sign.sh: expected -- before the files" >&2; exit 2; }
shift
for file in "$@"; do
  signed="$file.signed"
  rm -f "$signed"
  osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n brisvane "${stamp[@]}" \
    -in "$file" -out "$signed" >/dev/null
  mv "$signed" "$file"
  echo "sign: $(basename "$file") signed"
done
