#!/bin/sh
# Measures the window program's figures in a virtual X server (Xvfb):
#  - CPU use while the window waits with no game (10 s),
#  - CPU use while a game runs and no key is pressed (10 s),
#  - time from a key-down to the presented frame showing the move,
#  - time from start to the first presented frame,
#  - peak memory.
# The program records key-downs (when the shell took them in and how long
# they waited in its queue) and presents when ORVO_LATENCY_LOG names a file
# (app/test_hooks.h); this script drives it with xdotool and reads the
# record.
# Usage: bench/window_figures.sh [path to the orvo program]
set -eu
cd "$(dirname "$0")/.."
. scripts/xvfb-lib.sh
program=${1:-build/orvo}
[ -x "$program" ] || { echo "no program at $program (build target orvo first)" >&2; exit 1; }

begin_session

start_xvfb "$work"

# CPU time of every thread of the process, in nanoseconds.
cpu_ns() {
  total=0
  for f in /proc/"$orvo_pid"/task/*/schedstat; do
    total=$((total + $(cut -d' ' -f1 "$f")))
  done
  echo "$total"
}

launched=$(date +%s%N)
ORVO_LATENCY_LOG="$work/log" "$program" &
orvo_pid=$!
window=$(wait_for_window '^Orvo')
[ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }
sleep 0.5

# The window left to itself before any game: it only waits for events (and
# SDL looks for a gamepad plugged in every 3 s).
before=$(cpu_ns)
sleep 10
after=$(cpu_ns)
waiting_cpu=$(echo "$before $after" | awk '{printf "%.2f", ($2 - $1) / 1e9 / 10 * 100}')

# A game left to itself: the pair slides, lands and the next one comes.
xdotool mousemove --window "$window" 105 366 click 1
sleep 1
before=$(cpu_ns)
sleep 10
after=$(cpu_ns)
idle_cpu=$(echo "$before $after" | awk '{printf "%.2f", ($2 - $1) / 1e9 / 10 * 100}')

# A fresh game (Stop, Start), then Down and Up taps that move the pair
# between rows 2 and 3.
xdotool click 1
sleep 0.3
xdotool click 1
sleep 0.5
for _ in $(seq 60); do
  for key in Down Up; do
    xdotool keydown "$key"
    sleep 0.04
    xdotool keyup "$key"
    sleep 0.21
  done
done
peak_kb=$(awk '/^VmHWM/ {print $2}' /proc/"$orvo_pid"/status)

# Exit (its caption at 16, 356) ends the program, which writes the record.
xdotool mousemove --window "$window" 30 366 click 1
wait "$orvo_pid" || true
orvo_pid=""

awk -v launched="$launched" -v waiting_cpu="$waiting_cpu" -v idle_cpu="$idle_cpu" -v peak_kb="$peak_kb" '
  function pct(a, n, p,   i) { i = int(n * p / 100 + 0.999999); if (i < 1) i = 1; return a[i] }
  function sort(a, n,   i, j, t) {
    for (i = 2; i <= n; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
  }
  $1 == "first-present-realtime-ns" { first = $2 }
  $1 == "key" {
    if ($5 > 1) queued++; else { pending = 1; key_at = $3 }
  }
  $1 == "present" && pending {
    d = ($2 - key_at) / 1e6
    if (d > 50) unmoved++; else lat[++nl] = d
    pending = 0
  }
  END {
    sort(lat, nl)
    printf "start to first presented frame: %.1f ms\n", (first - launched) / 1e6
    printf "CPU while the window waits with no game (10 s): %s %% of a core\n", waiting_cpu
    printf "CPU while a game runs untouched (10 s): %s %% of a core\n", idle_cpu
    printf "key-down to presented move: %d keys, median %.3f ms, p99 %.3f ms, max %.3f ms\n",
      nl, pct(lat, nl, 50), pct(lat, nl, 99), lat[nl]
    printf "  (not counted: %d keys queued during a cascade, %d with no frame within 50 ms)\n",
      queued + 0, unmoved + 0
    printf "peak memory (VmHWM): %.1f MB\n", peak_kb / 1024
  }' "$work/log"
