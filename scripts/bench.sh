#!/usr/bin/env bash
# Builds the benchmarks (native Release) and runs them: reading a host check
# (initCheckXml) and building the discount body. For each it prints the cost
# per check line at each size and the ratio of the per-line cost at 10000 lines
# to that at 100 lines (it should stay at most 1.2).
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench

for bench in check_bench discount_bench; do
  out=$PWD/build/bench/$bench.json  # absolute: a program may work in a temp folder
  build/bench/$bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out" --benchmark_out_format=json "$@"

  python3 - "$out" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
per_line = {}
name = ""
for r in runs:
    if r.get("aggregate_name") != "median" or "items_per_second" not in r:
        continue
    name, lines = r["run_name"].split("/")[:2]
    per_line[int(lines)] = 1e9 / r["items_per_second"]
print()
for lines in sorted(per_line):
    print(f"{name} {lines:>6} lines: {per_line[lines]:8.1f} ns per line (median of 5)")
if 100 in per_line and 10000 in per_line:
    print(f"per-line cost ratio 10000/100: {per_line[10000] / per_line[100]:.2f} (goal: at most 1.2)")
PY
done
