#!/usr/bin/env bash
# Builds the benchmarks (native Release) and runs them. For the check reader it
# prints the cost per check line at each size and the ratio of the per-line
# cost at 10000 lines to that at 100 lines (it should stay at most 1.2).
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench

out=$PWD/build/bench/check_bench.json  # absolute: the program works in a temp folder
build/bench/check_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$out" --benchmark_out_format=json "$@"

python3 - "$out" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
per_line = {}
for r in runs:
    if r.get("aggregate_name") != "median" or "items_per_second" not in r:
        continue
    lines = int(r["run_name"].split("/")[1])
    per_line[lines] = 1e9 / r["items_per_second"]
print()
for lines in sorted(per_line):
    print(f"initCheckXml {lines:>6} lines: {per_line[lines]:8.1f} ns per line (median of 5)")
if 100 in per_line and 10000 in per_line:
    print(f"per-line cost ratio 10000/100: {per_line[10000] / per_line[100]:.2f} (goal: at most 1.2)")
PY
