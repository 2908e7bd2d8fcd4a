#!/bin/sh
# The real program in a real X server (Xvfb): the failure message box of a
# copy without pictures, and the signals that end it there; the window, a
# game started with the mouse, the pair landed with a held key, and with the
# seed fixed the board after the landing equal to orvo-replay's, cell for
# cell and pixel for pixel; Escape; the keyboard taken away with a key held;
# a close request during a cascade; and the signals that end a game.
#
# Nothing here bounds how long the machine takes: every check waits for its
# condition for up to ten seconds (a loaded machine shows it in well under a
# second), and what the game did is read from its state lines (the ORVO_DUMP
# test hook), judged by the game's own clock, not by a stopwatch.
# Usage: end_to_end.sh <orvo program> <orvo_wm_delete helper> <orvo-replay>
set -eu
program=$1
wm_delete=$2
replay=$3
. "$(dirname "$0")/../../../scripts/xvfb-lib.sh"
for tool in Xvfb xdotool import compare xwininfo xprop python3; do
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
seed=4242
dump="$work/dump.jsonl"
# Starts the program with its random source's seed fixed and its state
# written to $dump (the test hooks), and waits for its window.
start_game_program() {
  : >"$dump"
  ORVO_SEED=$seed ORVO_DUMP="$dump" "$program" 2>"$work/err" &
  orvo_pid=$!
  window=$(wait_for_window '^Orvo \(O-tended Pell\)$')
  [ -n "$window" ] || fail "no window appeared"
}
# A value of the last state line (read with sed rather than a JSON parser:
# a landing must be seen within the half second its cascade lasts, also on a
# loaded machine).
last() { tail -n 1 "$dump" | sed -n "s/.*\"$1\":\([^,}]*\).*/\1/p"; }
at_least() { v=$(last "$1") && [ -n "$v" ] && [ "$v" -ge "$2" ]; }
is_false() { [ "$(last "$1")" = false ]; }
is_true() { [ "$(last "$1")" = true ]; }
click_start() { xdotool mousemove --window "$window" 105 366 click 1; }

start_game_program
name=$(xdotool getwindowname "$window")
[ "$name" = "Orvo (O-tended Pell)" ] || fail "caption is '$name'"
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 580$" || fail "width: $geometry"
echo "$geometry" | grep -q "Height: 388$" || fail "height: $geometry"
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (32 x 32)" || fail "the window has no 32 x 32 icon"

# Start is the caption at (88, 356); a click on its text starts a game and a
# pair enters.
sleep 0.3
click_start
await is_true running || fail "a click on Start started no game"
await at_least randomUsed 1 || fail "no pair entered"
# Holding Left slides the pair a column every 100 ms to column 0, where it
# lands: the pair is no longer active while its cascade runs.
xdotool keydown Left
await is_false pairActive || fail "held Left did not land the pair"
# Left up and Escape down while the landing's cascade runs: the shell takes
# them once the next pair has entered, as the replay below does. (The game
# acts on the keys held at its next turn: Escape stays down until then.)
xdotool keyup Left keydown Escape
for _ in $(seq 6); do await is_false running && break; done
xdotool keyup Escape
is_false running || fail "Escape did not stop the game"

# The same game in orvo-replay, traced, with a state line every millisecond:
# the cascade after the first landing ends with a wait of 500 ms before the
# second pair enters. Left comes up and Escape goes down during that wait;
# like the window's, the shell takes them once the pair has entered.
scenario="seed $seed
at 1100 click 0
at 1200 keydown 37"
during=$( (echo "$scenario"; echo "trace on"; t=1100; while [ $t -le 20000 ]; do
            echo "run $t"; echo dump; t=$((t + 1)); done) | "$replay" - | python3 -c '
import json, sys
used, entries, wait = 0, 0, None
for line in sys.stdin:
    if not line.startswith("{"): continue
    d = json.loads(line)
    if d.get("op") == "wait":
        wait = d
    elif "board" in d and d["pairActive"] and d["randomUsed"] != used:
        used = d["randomUsed"]
        entries += 1
        if entries == 2:
            print(wait["tick"] + 1 if wait and wait["ms"] == 500 else "")
            break
')
[ -n "$during" ] || fail "orvo-replay shows no cascade before a second pair"
entry=$((during + 500))
(cd "$work" && printf '%s\nat %s keyup 37\nat %s keydown 27\nrun %s\ndump\nsnapshot board.png\n' \
  "$scenario" "$during" "$during" $((entry + 1000)) | "$replay" - >replay.out) ||
  fail "orvo-replay could not replay the game"
python3 - "$dump" "$work/replay.out" <<'PY' || fail "the board after the landing is not the replay's"
import json, sys
seen = json.loads(open(sys.argv[1]).read().splitlines()[-1])
want = [json.loads(l) for l in open(sys.argv[2]) if l.startswith("{")][-1]
for key in ("board", "points", "randomUsed", "running"):
    if seen[key] != want[key]:
        sys.exit("%s: the window %r, the replay %r" % (key, seen[key], want[key]))
PY
import -window "$window" -crop 480x288+50+50 +repage "$work/board-seen.png"
differ=$(compare -metric AE "$work/board-seen.png" "$work/board.png" null: 2>&1) || true
[ "$differ" = 0 ] || fail "the board's pixels are not the replay's: $differ differ"
echo "seeded: the board after the landing is orvo-replay's, cells, points and all pixels"

# ---- The keyboard taken away with a key held -------------------------------
# Stop, then Start: a fresh game. Left goes down and never comes up: while
# the first pair races left, the pointer leaves the window (so that the
# key's repeats go elsewhere) and the keyboard goes to the root window. From
# then on the pairs
# must move at the game's pace, a column every 960 ms at level 1, and not
# race left every 100 ms as with Left held (which lands a pair within a
# second of its entry). Judged on the game's clock: within 10 s of it after
# the keyboard went, a pair is seen at most two columns further left 1500 ms
# after it was seen.
click_start  # Stop
sleep 0.2
click_start  # Start
await is_true running || fail "Start did not start a second game"
# Xvfb has no window manager: the window gets the keyboard focus from here.
xdotool windowfocus --sync "$window"
xdotool keydown Left
racing() { is_true pairActive && [ "$(last pairX)" -le 7 ]; }
await racing || fail "held Left did not move the pair"
away=$(last tick)
xdotool mousemove 5 5
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
paced() {
  python3 - "$dump" "$away" <<'PY'
import json, sys
away = int(sys.argv[2])
seen = {}  # per active pair (by the random numbers drawn): ticks and columns
for line in open(sys.argv[1]).read().splitlines()[:-1]:
    d = json.loads(line)
    if d["tick"] > away + 10000:
        sys.exit("no pair moved at the game's pace within 10 s of the game's clock")
    if d["tick"] < away or not d["pairActive"]:
        continue
    for tick, x in seen.setdefault(d["randomUsed"], []):
        if d["tick"] - tick >= 1500 and x - d["pairX"] <= 2:
            print("a pair went from column %d to %d in %d ms" % (x, d["pairX"], d["tick"] - tick))
            sys.exit(0)
    seen[d["randomUsed"]].append((d["tick"], d["pairX"]))
sys.exit(1)
PY
}
result=0
for _ in $(seq 6); do
  result=0
  paced || result=$?
  [ "$result" -eq 1 ] || break
  await at_least tick $(( $(last tick) + 1000 )) || true
done
[ "$result" -eq 0 ] || fail "the keyboard taken away with Left held: pairs still raced left"
xdotool keyup Left
echo "the keyboard taken away with Left held: the pairs moved at the game's pace"
kill "$orvo_pid"
wait "$orvo_pid" 2>/dev/null || true
orvo_pid=""

# ---- A close request during a cascade ----------------------------------
# A fresh game. Left held from now on moves the pair every 100 ms: nine
# steps to column 0 and the tenth lands it, 800 to 900 ms after the key (the
# timed slide may add a step). The cascade then pauses at least 500 ms, and a
# close request sent about 1150 ms after the key arrives during it: the
# program must end in that wait, not when the cascade is over. Its last state
# line says where: with the pair landed and no new one (in the cascade: the
# state of the frame before the wait), or with a new pair active (between
# cascades: the request came too early or too late to test anything, or a
# wait let it by; the run is repeated with a new program, and a fault makes
# every run end so).
close_during_cascade() {
  delay=$1
  pressed=$(now_ms)
  xdotool keydown Left
  while [ $(($(now_ms) - pressed)) -lt "$delay" ]; do sleep 0.005; done
  "$wm_delete" "$window"
  window_gone() { ! xwininfo -id "$window" >/dev/null 2>&1; }
  await window_gone || fail "the window stayed after the close request"
  xdotool keyup Left 2>/dev/null || true
  status=0
  wait "$orvo_pid" || status=$?
  orvo_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status after the close request"
  echo "close request ${delay} ms after the key: last state running $(last running), pairActive $(last pairActive)"
  is_true running && is_false pairActive
}

placed=""
for delay in 1150 1250 1050 1350 950; do
  start_game_program
  click_start
  await is_true running || fail "no game began in a new program"
  if close_during_cascade "$delay"; then placed=yes; break; fi
done
[ -n "$placed" ] || fail "no close request ended the program inside a cascade in five games"

# ---- Signals during a game -----------------------------------------------
# SIGINT and SIGTERM end a running game at once, also with a key held (which
# keeps cascades coming).
for signal in INT TERM; do
  start_game_program
  click_start
  await is_true running || fail "no game began before SIG$signal"
  xdotool keydown Left
  sleep 1
  kill -s "$signal" "$orvo_pid"
  await ended "$orvo_pid" || fail "SIG$signal did not end a running game"
  xdotool keyup Left
  wait "$orvo_pid" 2>/dev/null || true
  orvo_pid=""
done
echo "end-to-end run passed"
