#!/bin/sh
# One hour of generated play through orvo-replay: how much faster than real
# time it runs (drawing included) and its peak memory.
# Targets: at least 2000 times real time (1.8 s for the hour), at most 30 MB.
# usage: bench/replay_hour.sh [BUILD_DIR] [RUNS]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-5}
replay=$build/orvo-replay
scenario=$build/bench/replay_hour.scn
[ -x "$replay" ] || { echo "no $replay: build the orvo-replay target first" >&2; exit 2; }
mkdir -p "$build/bench"

/usr/bin/python3 tools/replay/make_hour_scenario.py "$replay" "$scenario" --minutes 60

best=""
peak=0
i=0
while [ "$i" -lt "$runs" ]; do
  i=$((i + 1))
  report=$(/usr/bin/time -f "%e %U %S %M" "$replay" "$scenario" 2>&1 >/dev/null | tail -n 1)
  set -- $report
  echo "run $i: ${1} s elapsed (${2} s user, ${3} s system), ${4} KB peak"
  if [ -z "$best" ] || awk "BEGIN { exit !($1 < $best) }"; then best=$1; fi
  [ "$4" -gt "$peak" ] && peak=$4
done

speed=$(awk "BEGIN { printf \"%d\", 3600 / ($best > 0 ? $best : 0.01) }")
echo "best: $best s for one hour of play = ${speed}x real time; peak memory ${peak} KB"
status=0
if awk "BEGIN { exit !($best > 1.8) }"; then echo "SLOW: more than 1.8 s"; status=1; fi
if [ "$peak" -gt 30720 ]; then echo "BIG: more than 30 MB"; status=1; fi
[ "$status" -eq 0 ] && echo "targets met"
exit $status
