#!/usr/bin/env bash
# Copies a text for the bundle as Notepad reads it: CRLF line ends and, with
# --bom, a UTF-8 byte order mark in front (Notepad on XP takes a text without
# one for the ANSI code page, and Cyrillic in UTF-8 then shows as garbage).
#   windows-text.sh [--bom] < IN > OUT
set -euo pipefail
if [ "${1:-}" = --bom ]; then
  printf '\xef\xbb\xbf'
fi
sed 's/$/\r/'
