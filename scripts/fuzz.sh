#!/usr/bin/env bash
# Runs every fuzz target (fuzz/*_fuzz.cpp) for a bounded time each.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
# Expects the fuzz preset to be built (scripts/test.sh does that). New inputs
# go to build/fuzz/corpus/<name>, crash inputs to build/fuzz/artifacts.
# Fails when any target finds a crash or a sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
root=$PWD  # absolute paths: the targets work in a folder of their own

status=0
mkdir -p build/fuzz/artifacts
for src in fuzz/*_fuzz.cpp; do
  target=$(basename "$src" .cpp)
  name=${target%_fuzz}
  corpus=$root/build/fuzz/corpus/$name
  mkdir -p "$corpus"
  args=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
        -artifact_prefix="$root/build/fuzz/artifacts/$name-")
  [ -f "fuzz/$name.dict" ] && args+=(-dict="$root/fuzz/$name.dict")
  # A till's log may hold a reply nested as deep as the 1 MiB reply limit
  # allows (a seed holds one): the log reader's inputs reach that size.
  [ "$name" = replaylog ] && args+=(-max_len=1100000)
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds+=("$root/fuzz/corpus/$name")
  out=build/fuzz/$target.log
  echo "=== fuzz: $target for ${seconds}s (output in $out)"
  if "build/fuzz/$target" "${args[@]}" "$corpus" "${seeds[@]}" >"$out" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units)' "$out" || true
  else
    echo "fuzz: $target FAILED"
    tail -n 60 "$out"
    status=1
  fi
done
exit $status
