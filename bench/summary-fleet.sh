#!/usr/bin/env bash
# Time and peak memory of `hostemu summary` over 1, 10 and 100 tills' logs of
# 10 MB each (the DLL's cap per log), under Wine, with the load average.
#   bench/summary-fleet.sh HOSTEMU_EXE [COUNTS...]   (default counts: 1 10 100)
# The logs come from bench/till-log.py: four different tills (their outages at
# different hours), each copied as often as needed.
set -euo pipefail
hostemu="$1"
shift
if [ $# -gt 0 ]; then counts=("$@"); else counts=(1 10 100); fi
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d /tmp/summary-fleet.XXXXXX)"
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all
size=$((10 * 1024 * 1024))
outages=(12:00-12:40 12:20-13:00 15:00-15:30 18:00-18:20)
for t in 0 1 2 3; do
  python3 "$here/till-log.py" "$work/till$t.log" --bytes "$size" --seed "$t" --outage "${outages[$t]}"
done
echo "logs of $(stat -c %s "$work/till0.log") bytes; $(nproc) cores"
for n in "${counts[@]}"; do
  names=()
  for ((i = 0; i < n; i++)); do
    ln -f "$work/till$((i % 4)).log" "$work/log$i.log"
    names+=("Z:$work/log$i.log")
  done
  load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
  /usr/bin/time -f "%e %M" -o "$work/time" "$here/../scripts/wine-run.sh" "$hostemu" summary \
    "${names[@]}" --json >"$work/out.json" 2>"$work/err" || { cat "$work/err"; exit 1; }
  read -r seconds kb <"$work/time"
  python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print("  calls:", d["calls"])' "$work/out.json"
  echo "$n logs: $seconds s, peak $((kb / 1024)) MB; load average before $load_before, after $(cut -d' ' -f1-3 /proc/loadavg)"
done
