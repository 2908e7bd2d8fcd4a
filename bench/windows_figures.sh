#!/bin/sh
# Measures orvo.exe under Wine in a virtual X server (Xvfb), each figure
# beside the same figure of a bare Win32 window (bench/win32/bare_window.cpp,
# built the same way) in the same run:
#  - time from launch to the window shown with its first frame (median of 5),
#  - the program's own CPU while it waits: idle, and in a running game with
#    no key pressed (20 s each), Wine's own processes measured apart,
#  - the stripped program's size, and the zip's.
# Wine's session is started before the first launch and kept; its dialogs
# and gamepad driver are off (scripts/wine-lib.sh).
# Usage: bench/windows_figures.sh   (after scripts/windows.sh)
set -eu
cd "$(dirname "$0")/.."
. scripts/xvfb-lib.sh
. scripts/wine-lib.sh
[ -f build-windows/orvo.exe ] || { echo "no build-windows/orvo.exe: run scripts/windows.sh" >&2; exit 1; }
cmake -S . -B build-windows -DORVO_BUILD_BENCH=ON >/dev/null
cmake --build build-windows --target orvo_win32 orvo_bare_window >/dev/null
orvo=$PWD/build-windows/orvo.exe
bare=$PWD/build-windows/bench/bare-window.exe

begin_session
start_xvfb "$work"
export WINEPREFIX=$PWD/build-windows/wine-prefix
end_wine_session
wine_session "$WINEPREFIX" </dev/null >/dev/null 2>&1
trap 'end_wine_session; end_session' EXIT

now_ns() { date +%s%N; }
# CPU time of a process's threads, in nanoseconds.
cpu_ns() {
  total=0
  for f in /proc/"$1"/task/*/schedstat; do
    [ -r "$f" ] && total=$((total + $(cut -d' ' -f1 "$f" 2>/dev/null || echo 0)))
  done
  echo "$total"
}
# Wine's own processes (the server and the system's programs), not $1.
wine_pids() {
  for p in /proc/[0-9]*; do
    pid=${p#/proc/}
    [ "$pid" = "$1" ] && continue
    case $(readlink "$p/exe" 2>/dev/null) in
      */wineserver* | */wine64-preloader | */wine64 | */wine-preloader) echo "$pid" ;;
    esac
  done
}
wine_cpu_ns() {
  total=0
  for pid in $(wine_pids "$1"); do total=$((total + $(cpu_ns "$pid"))); done
  echo "$total"
}
# Percent of one core over $2 seconds: the program $1, then Wine's.
cpu_percent() {
  p0=$(cpu_ns "$1"); w0=$(wine_cpu_ns "$1"); t0=$(now_ns)
  sleep "$2"
  p1=$(cpu_ns "$1"); w1=$(wine_cpu_ns "$1"); t1=$(now_ns)
  echo "$(( (p1 - p0) * 10000 / (t1 - t0) ))" "$(( (w1 - w0) * 10000 / (t1 - t0) ))" |
    awk '{printf "%.2f %% (Wine: %.2f %%)", $1 / 100, $2 / 100}'
}
# Starts $1, waits for its window named $2; prints the milliseconds.
launch_ms() {
  t0=$(now_ns)
  wine "$1" >/dev/null 2>&1 </dev/null &
  orvo_pid=$!
  window=$(wait_for_window "$2")
  t1=$(now_ns)
  [ -n "$window" ] || { echo "no window named $2" >&2; exit 1; }
  echo $(( (t1 - t0) / 1000000 ))
}
stop() {
  kill "$orvo_pid" 2>/dev/null || true
  wait "$orvo_pid" 2>/dev/null || true
  orvo_pid=""
  sleep 0.3
}
median() { tr ' ' '\n' | sort -n | sed -n 3p; }

orvo_times=""
bare_times=""
for _ in 1 2 3 4 5; do
  bare_times="$bare_times $(launch_ms "$bare" '^Bare window$')"
  stop
  orvo_times="$orvo_times $(launch_ms "$orvo" '^Orvo \(O-tended Pell\)$')"
  stop
done
echo "launch to window shown (median of 5, ms): orvo.exe $(echo $orvo_times | median)" \
     "(runs:$orvo_times), bare window $(echo $bare_times | median) (runs:$bare_times)"

launch_ms "$bare" '^Bare window$' >/dev/null
sleep 1
echo "bare window waiting, 20 s: $(cpu_percent "$orvo_pid" 20)"
stop
launch_ms "$orvo" '^Orvo \(O-tended Pell\)$' >/dev/null
sleep 1
echo "orvo.exe waiting with no game, 20 s: $(cpu_percent "$orvo_pid" 20)"
# Start: the pair slides by itself, the game loop sleeps between its steps.
x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
h=$(xwininfo -id "$window" | awk '/Height:/ {print $2}')
xdotool mousemove $((x + 3 + 100)) $((y + h - 3 - 388 + 363)) click 1
sleep 1
echo "orvo.exe in a running game, no key, 20 s: $(cpu_percent "$orvo_pid" 20)"
stop

x86_64-w64-mingw32-strip -o "$work/bare.exe" "$bare"
zip=$(ls build-windows/orvo-*-windows-x64.zip 2>/dev/null | head -n 1)
echo "sizes (bytes): orvo.exe stripped $(stat -c %s build-windows/zip/Orvo/orvo.exe)," \
     "bare window stripped $(stat -c %s "$work/bare.exe"), zip $(stat -c %s "$zip")"
