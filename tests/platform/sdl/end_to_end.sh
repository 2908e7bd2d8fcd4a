#!/bin/sh
# The real program in a real X server (Xvfb): the failure message box of a
# copy without pictures, and the signals that end it there; the window, a
# game started with the mouse, the pair steered with a held key, Escape; a
# close request during a cascade; and the signals that end a game.
#
# Nothing here bounds how long the machine takes: every check waits for its
# condition for up to ten seconds (a loaded machine shows it in well under a
# second), and the close during a cascade is judged by where the program
# says it acted on the request, not by a stopwatch.
# Usage: end_to_end.sh <orvo program> <orvo_wm_delete helper>
set -eu
program=$1
wm_delete=$2
. "$(dirname "$0")/../../../scripts/xvfb-lib.sh"
for tool in Xvfb xdotool import compare xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
orvo_pid=""
broken_pid=""
cleanup() {
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
  for f in err broken.err; do
    [ -s "$work/$f" ] && { echo "program's standard error ($f):" >&2; cat "$work/$f" >&2; }
  done
  for pid in $orvo_pid $broken_pid; do
    echo "process $pid: $(ps -o stat=,etime=,args= -p "$pid" 2>/dev/null || echo gone)" >&2
  done
  echo "windows:" >&2
  xwininfo -root -tree 2>&1 | grep -E '"(Orvo|Error)' >&2 || true
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
ended() { ! running "$1"; }

start_xvfb "$work"
[ -s "$work/display" ] || fail "Xvfb did not start"

# ---- The start-up failure box ------------------------------------------
# With a display, a start-up failure is a modal message box with an OK
# button, and no game window. A copy of the program without Graphics/ fails.
mkdir "$work/broken"
cp "$program" "$work/broken/orvo"
box_id() { xwininfo -root -tree | awk '/"Error loading game"/ {print $1; exit}'; }
has_box() { [ -n "$(box_id)" ]; }
no_box() { ! has_box; }
viewable() { xwininfo -id "$1" | grep -q "IsViewable"; }
start_broken() {
  "$work/broken/orvo" 2>"$work/broken.err" &
  broken_pid=$!
  await has_box || fail "no message box for a missing Graphics folder"
  box=$(box_id)
  await viewable "$box" || fail "the message box never showed"
}

start_broken
xwininfo -root -tree | grep -q '"Orvo (O-tended Pell)"' && fail "a game window came with the message"
# The box's one button, OK, sits at the middle of its width, 72 pixels down;
# it takes a click once the pointer has moved over it.
sleep 0.3
box_width=$(xwininfo -id "$box" | awk '/Width:/ {print $2}')
xdotool mousemove --window "$box" $((box_width / 2)) 72
sleep 0.2
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
await ended "$broken_pid" || fail "OK did not end the program"
status=0
wait "$broken_pid" || status=$?
broken_pid=""
[ "$status" -eq 1 ] || fail "exit status $status after the failure message"
[ ! -s "$work/broken.err" ] || fail "the message went to standard error as well: $(cat "$work/broken.err")"
await no_box || fail "the message box stayed after OK"

# The box does not keep the program from ending on SIGTERM or Ctrl-C.
for signal in TERM INT; do
  start_broken
  kill -s "$signal" "$broken_pid"
  await ended "$broken_pid" || fail "SIG$signal did not end the program showing its message box"
  wait "$broken_pid" 2>/dev/null || true
  broken_pid=""
  # The next program's box must not be mistaken for this one's.
  await no_box || fail "the message box stayed after its program ended"
done

# ---- A game ---------------------------------------------------------------
# Starts the program (recording where a close request acts) and waits for
# its window.
start_game_program() {
  ORVO_LATENCY_LOG="$work/record" "$program" 2>"$work/err" &
  orvo_pid=$!
  window=$(wait_for_window '^Orvo \(O-tended Pell\)$')
  [ -n "$window" ] || fail "no window appeared"
}

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
click_start() { xdotool mousemove --window "$window" 105 366 click 1; }

start_game_program
name=$(xdotool getwindowname "$window")
[ "$name" = "Orvo (O-tended Pell)" ] || fail "caption is '$name'"
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 580$" || fail "width: $geometry"
echo "$geometry" | grep -q "Height: 388$" || fail "height: $geometry"
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (32 x 32)" || fail "the window has no 32 x 32 icon"

sleep 0.3
shot idle
# Start is the caption at (88, 356); a click on its text starts a game: the
# board is drawn for it and a pair enters at the right edge.
click_start
game_began() {
  shot started
  [ "$(cell_diff idle started 9 2)" -gt 300 ] && [ "$(cell_diff idle started 0 2)" -gt 300 ]
}
await game_began || fail "no game began: no pair at the right edge, or the board not drawn"
# The cell the pair will land in, still empty.
cp "$work/started.png" "$work/empty.png"

# Holding Left slides the pair a column every 100 ms to column 0, where it
# lands (and merges and falls if its blocks are equal); a new pair enters
# 500 ms after the cascade.
xdotool keydown Left
landed() {
  shot landed
  [ "$(region_diff empty landed 0 0 2 6)" -gt 600 ] && [ "$(region_diff empty landed 2 0 8 6)" -gt 600 ]
}
await landed || fail "the pair did not land at the left, or no new pair came"
xdotool keyup Left

# Escape halts the game: the pair stops sliding. The key is held until the
# board rests: a press and release that both arrive during a cascade's wait
# reach the key table together, and the game never sees the key down. A
# cascade still running when the key comes ends first, so wait for the board
# to stay still longer than the pause before a new pair, then check that it
# stays still for longer than the timed slide takes.
xdotool keydown Escape
still=""
for _ in $(seq 12); do
  shot halted1
  sleep 0.7
  shot halted2
  if [ "$(board_diff halted1 halted2)" -eq 0 ]; then still=yes; break; fi
done
xdotool keyup Escape
[ -n "$still" ] || fail "the board never came to rest after Escape"
sleep 1.3
shot halted3
[ "$(board_diff halted2 halted3)" -eq 0 ] || fail "the board still moves after Escape"

# ---- A close request during a cascade ----------------------------------
# Stop, then Start: a fresh game. Left held from now on moves the pair every
# 100 ms: nine steps to column 0 and the tenth lands it, 800 to 900 ms after
# the key (the timed slide may add a step). The cascade then pauses at least
# 500 ms, and a close request sent about 1150 ms after the key arrives during
# it: the program must end in that wait, not when the cascade is over. Its
# record says where it acted: "close in-wait" (in a cascade's wait),
# "close from-events prompt" (between cascades: the request came too early
# or too late to test anything, so the run is repeated with a new program),
# or "close from-events late" (a wait let the request by: the fault).
close_during_cascade() {
  delay=$1
  pressed=$(now_ms)
  xdotool keydown Left
  while [ $(($(now_ms) - pressed)) -lt "$delay" ]; do sleep 0.005; done
  asked=$(now_ms)
  "$wm_delete" "$window"
  window_gone() { ! xwininfo -id "$window" >/dev/null 2>&1; }
  await window_gone || fail "the window stayed after the close request"
  gone=$(now_ms)
  xdotool keyup Left 2>/dev/null || true
  status=0
  wait "$orvo_pid" || status=$?
  orvo_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status after the close request"
  close=$(grep '^close ' "$work/record" || true)
  echo "close request ${delay} ms after the key: '${close}', the window went after $((gone - asked)) ms"
  case "$close" in
    "close in-wait "*) return 0 ;;
    "close from-events prompt") return 1 ;;
    *) fail "the close request was not acted on where it arrived: '$close'" ;;
  esac
}

click_start  # Stop
sleep 0.2
click_start  # Start
sleep 0.3
placed=""
for delay in 1150 1250 1050 1350 950; do
  if close_during_cascade "$delay"; then placed=yes; break; fi
  start_game_program
  click_start
  await game_began || fail "no game began in a new program"
done
[ -n "$placed" ] || fail "no close request could be placed inside a cascade in five games"

# ---- Signals during a game -----------------------------------------------
# SIGINT and SIGTERM end a running game at once, also with a key held (which
# keeps cascades coming).
for signal in INT TERM; do
  start_game_program
  click_start
  await game_began || fail "no game began before SIG$signal"
  xdotool keydown Left
  sleep 1
  kill -s "$signal" "$orvo_pid"
  await ended "$orvo_pid" || fail "SIG$signal did not end a running game"
  xdotool keyup Left
  wait "$orvo_pid" 2>/dev/null || true
  orvo_pid=""
done
echo "end-to-end run passed"
