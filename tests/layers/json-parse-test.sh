#!/usr/bin/env bash
# Every JSON parse of the DLL and its tools goes through parseJson, whose flags
# keep the parser iterative: flags named at a call replace the build's default
# ones, and a recursive parse overflows the stack on a deeply nested reply.
#   tests/layers/json-parse-test.sh ROOT
set -euo pipefail
root=$1
found=$(grep -rnE '(\.|->)(Parse|ParseInsitu|ParseStream|IterativeParseNext)[[:space:]]*[<(]' \
  "$root/src" "$root/tools" --include='*.cpp' --include='*.h' |
  grep -v '^'"$root"'/src/api/JsonText\.h:' || true)
if [ -n "$found" ]; then
  echo "json-parse: parse without parseJson (src/api/JsonText.h):" >&2
  echo "${found//"$root/"/}" >&2
  exit 1
fi
echo "json-parse: every JSON parse in src/ and tools/ goes through parseJson"
