#!/usr/bin/env bash
# Lower layers of src/ never include higher ones, so that the transport and
# the readers below it build and test without the host's flows:
#   platform < log < text, record < http < check < config < api < host
#   tests/layers/include-layers-test.sh SRC_DIR
set -euo pipefail
src=$1
rank() {
  case $1 in
    platform) echo 0 ;; log) echo 1 ;; text | record) echo 2 ;; http) echo 3 ;;
    check) echo 4 ;; config) echo 5 ;; api) echo 6 ;; host) echo 7 ;; *) echo 99 ;;
  esac
}
bad=0
for dir in "$src"/*/; do
  layer=$(basename "$dir")
  mine=$(rank "$layer")
  [ "$mine" = 99 ] && { echo "include-layers: $layer/ has no place in the order" >&2; bad=1; continue; }
  while IFS=: read -r file _ included; do
    theirs=$(rank "$included")
    if [ "$theirs" -gt "$mine" ] || { [ "$theirs" = "$mine" ] && [ "$included" != "$layer" ]; }; then
      echo "include-layers: ${file#"$src"/} includes $included/" >&2
      bad=1
    fi
  done < <(grep -rnoE '^#include "[a-z]+/' "$dir" | sed -E 's/#include "([a-z]+)\/$/\1/')
done
[ "$bad" = 0 ] && echo "include-layers: every folder includes only itself and the layers below"
exit "$bad"
