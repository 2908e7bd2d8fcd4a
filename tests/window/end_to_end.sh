#!/bin/sh
# The real program in a real X server (Xvfb): the failure message box of a
# copy without pictures; the window, a game started with the mouse, the pair
# steered with a held key, Escape, and a close request during a cascade.
# Usage: end_to_end.sh <orvo program> <orvo_wm_delete helper>
set -eu
program=$1
wm_delete=$2
. "$(dirname "$0")/../../scripts/xvfb-lib.sh"
for tool in Xvfb xdotool import compare xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
orvo_pid=""
broken_pid=""
cleanup() {
  # A program showing a message box waits for it and pays no heed to TERM.
  for pid in $orvo_pid $broken_pid; do
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/err" ] && { echo "program's standard error:" >&2; cat "$work/err" >&2; }
  exit 1
}
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Whether a process still runs (a zombie the shell has not reaped has ended).
running() {
  case $(ps -o stat= -p "$1" 2>/dev/null) in
    "" | Z*) return 1 ;;
  esac
  return 0
}

# A small screen, so that the window opens at its own size. Xvfb picks a free
# display number and writes it to the file.
Xvfb -displayfd 5 -screen 0 800x600x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY

# With a display, a start-up failure is a modal message box with an OK
# button, and no game window. A copy of the program without Graphics/ fails.
mkdir "$work/broken"
cp "$program" "$work/broken/orvo"
"$work/broken/orvo" 2>"$work/broken.err" &
broken_pid=$!
box=""
for _ in $(seq 100); do
  box=$(xwininfo -root -tree | awk '/"Error loading game"/ {print $1; exit}')
  [ -n "$box" ] && break
  sleep 0.05
done
[ -n "$box" ] || fail "no message box for a missing Graphics folder"
xwininfo -root -tree | grep -q '"Orvo (O-tended Pell)"' && fail "a game window came with the message"
# The box's one button, OK, sits at the middle of its width, 72 pixels down;
# it takes a click once the pointer has moved over it.
for _ in $(seq 100); do
  xwininfo -id "$box" | grep -q "IsViewable" && break
  sleep 0.05
done
sleep 0.3
box_width=$(xwininfo -id "$box" | awk '/Width:/ {print $2}')
xdotool mousemove --window "$box" $((box_width / 2)) 72
sleep 0.2
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
for _ in $(seq 100); do
  running "$broken_pid" || break
  sleep 0.05
done
if running "$broken_pid"; then
  kill "$broken_pid"
  fail "OK did not end the program"
fi
status=0
wait "$broken_pid" || status=$?
broken_pid=""
[ "$status" -eq 1 ] || fail "exit status $status after the failure message"
[ ! -s "$work/broken.err" ] || fail "the message went to standard error as well: $(cat "$work/broken.err")"

"$program" 2>"$work/err" &
orvo_pid=$!
window=$(wait_for_window '^Orvo \(O-tended Pell\)$')
[ -n "$window" ] || fail "no window appeared"

name=$(xdotool getwindowname "$window")
[ "$name" = "Orvo (O-tended Pell)" ] || fail "caption is '$name'"
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 580$" || fail "width: $geometry"
echo "$geometry" | grep -q "Height: 388$" || fail "height: $geometry"
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (32 x 32)" || fail "the window has no 32 x 32 icon"

shot() { import -window "$window" "$work/$1.png"; }
# Pixels that differ between two shots in a block of cells: first column and
# row, then columns and rows across. Cells are 48 x 48 on the board, which
# lies at (50, 50) in the window.
region_diff() {
  geometry="$(($5 * 48))x$(($6 * 48))+$((50 + $3 * 48))+$((50 + $4 * 48))"
  compare -metric AE "$work/$1.png[$geometry]" "$work/$2.png[$geometry]" null: 2>&1 || true
}
cell_diff() { region_diff "$1" "$2" "$3" "$4" 1 1; }
board_diff() {
  compare -metric AE "$work/$1.png[480x288+50+50]" "$work/$2.png[480x288+50+50]" null: 2>&1 || true
}

sleep 0.3
shot idle
# Start is the caption at (88, 356); a click on its text starts a game.
xdotool mousemove --window "$window" 105 366 click 1
sleep 0.4
shot started
[ "$(cell_diff idle started 9 2)" -gt 300 ] || fail "no pair entered at the right edge"
[ "$(cell_diff idle started 0 2)" -gt 300 ] || fail "the board was not drawn for the game"
# The cell the pair will land in, still empty.
cp "$work/started.png" "$work/empty.png"

# Holding Left slides the pair a column every 100 ms to column 0, where it
# lands (and merges and falls if its blocks are equal); a new pair enters
# 500 ms after the cascade.
xdotool keydown Left
sleep 1.2
xdotool keyup Left
sleep 2.5
shot landed
[ "$(region_diff empty landed 0 0 2 6)" -gt 600 ] || fail "the pair did not land at the left"
[ "$(region_diff empty landed 2 0 8 6)" -gt 600 ] || fail "no new pair after the landing"

# Escape halts the game: the pair stops sliding. A cascade still running
# when the key comes ends first, so wait for the board to stay still longer
# than the pause before a new pair, then check that it stays still for longer
# than the timed slide takes.
xdotool key Escape
still=""
for _ in $(seq 8); do
  shot halted1
  sleep 0.7
  shot halted2
  if [ "$(board_diff halted1 halted2)" -eq 0 ]; then still=yes; break; fi
done
[ -n "$still" ] || fail "the board never came to rest after Escape"
sleep 1.3
shot halted3
[ "$(board_diff halted2 halted3)" -eq 0 ] || fail "the board still moves after Escape"

# Stop, then Start: a fresh game. Left held from now on moves the pair every
# 100 ms: nine steps to column 0 and the tenth lands it, 800 to 900 ms after
# the key (the timed slide may add a step). The cascade then pauses at least
# 500 ms, and a close request sent 1050 ms after the key arrives during that
# pause; it must end the program at once, not when the cascade is over.
xdotool mousemove --window "$window" 105 366 click 1
sleep 0.2
xdotool click 1
sleep 0.3
pressed=$(now_ms)
xdotool keydown Left
while [ $(($(now_ms) - pressed)) -lt 1050 ]; do sleep 0.005; done
asked=$(now_ms)
"$wm_delete" "$window"
# The window goes away as the program ends (before a sanitizer's exit-time
# checks, which can take a while).
gone=""
for _ in $(seq 400); do
  if ! xwininfo -id "$window" >/dev/null 2>&1; then gone=$(now_ms); break; fi
  sleep 0.005
done
xdotool keyup Left 2>/dev/null || true
[ -n "$gone" ] || fail "the window stayed after the close request"
status=0
wait "$orvo_pid" || status=$?
orvo_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
took=$((gone - asked))
echo "closed during the cascade; the window went after ${took} ms"
[ "$took" -lt 200 ] || fail "the program took ${took} ms to end after the close request"
echo "end-to-end run passed"
