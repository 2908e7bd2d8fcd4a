#!/bin/sh
# orvo.exe under Wine in Xvfb: the window with its caption and size, from a
# folder whose name is not ASCII; a click on Start enters a pair, held Left
# lands it, and with the seed fixed the board after the landing is the one
# orvo-replay gives, cell for cell and pixel for pixel; F11 fills the
# screen and Alt+Enter brings the window back; with Left held in a second
# game, the keyboard taken away by another window lets Left go; Exit ends
# with status 0. A copy without Graphics\ shows the message box with the game's
# text and ends with status 1 after OK; a damaged picture is refused in the
# same way, never with a crash.
#
# Nothing here bounds how long the machine takes: every check polls its
# condition with a generous limit (xvfb-lib.sh's await, ten seconds, or a
# minute for whole games).
# Usage: end_to_end.sh <orvo.exe> <Wine prefix>
#        (ORVO_REPLAY: orvo-replay of a native build)
set -eu
program=$1
prefix=$2
replay=${ORVO_REPLAY:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
. "$root/scripts/xvfb-lib.sh"
. "$root/scripts/wine-lib.sh"
for tool in Xvfb xdotool import compare xwininfo xmessage wine python3; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
[ -x "$replay" ] || { echo "ORVO_REPLAY does not name orvo-replay: '$replay'" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
other_pid=""
cleanup() {
  [ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null || true
  end_wine_session
  [ -n "$game_pid" ] && wait "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.err; do
    [ -s "$f" ] && { echo "$f:" >&2; grep -av "^[0-9a-f]*:trace" "$f" | tail -n 20 >&2; }
  done
  xwininfo -root -tree 2>&1 | grep -E '"(Orvo|Error)' >&2 || true
  exit 1
}
pass() { echo "ok: $*"; }
ended() { [ -s "$work/status" ]; }

# A fresh Wine session on this display (one the unit tests left may have
# started Wine's desktop without one); Wine's own processes inherit nothing
# of the test's output.
export WINEPREFIX="$prefix"
end_wine_session
start_xvfb "$work"
[ -s "$work/display" ] || fail "Xvfb did not start"
wine_session "$prefix" </dev/null >/dev/null 2>&1

# Runs the Windows program $1 in the background, its status into
# $work/status when it ends; "$2" names its files in $work.
launch() {
  rm -f "$work/status"
  (
    set +e
    wine "$1" >"$work/$2.out" 2>"$work/$2.err" </dev/null
    echo $? >"$work/status"
  ) &
  game_pid=$!
}
# The visible window named exactly $1.
window_of() {
  xdotool search --onlyvisible --name "^$(echo "$1" | sed 's/[][()\\.*^$+?{}|]/\\&/g')\$" \
    2>/dev/null | head -n 1
}
has_window() { [ -n "$(window_of "$1")" ]; }

# ---- The window, from a folder named in Greek and German --------------
game="$work/Orvo Ορβο Spiel ü"
mkdir -p "$game/Graphics"
cp "$program" "$game/orvo.exe"
cp "$root/Graphics/"* "$game/Graphics/"
caption="Orvo (O-tended Pell)"
seed=4242
dump="$work/dump.jsonl"
: >"$dump"
ORVO_SEED=$seed ORVO_DUMP=$(winepath -w "$dump") launch "$game/orvo.exe" game
await has_window "$caption" || fail "no window named '$caption'"
window=$(window_of "$caption")
geometry=$(xwininfo -id "$window")
x=$(echo "$geometry" | awk '/Absolute upper-left X/ {print $4}')
y=$(echo "$geometry" | awk '/Absolute upper-left Y/ {print $4}')
w=$(echo "$geometry" | awk '/Width:/ {print $2}')
h=$(echo "$geometry" | awk '/Height:/ {print $2}')
# Without a window manager Wine draws the frame itself: a border of equal
# width left, right and below, and the caption bar above the client area.
border=$(( (w - 580) / 2 ))
top=$(( h - 388 - border ))
{ [ $(( w - 580 )) -ge 0 ] && [ $(( (w - 580) % 2 )) -eq 0 ] && [ "$border" -le 10 ] &&
  [ "$top" -gt "$border" ] && [ "$top" -le 60 ]; } ||
  fail "the window is $w x $h: no 580 x 388 client area in a frame"
cx=$((x + border))
cy=$((y + top))
pass "window '$caption', $w x $h with a 580 x 388 client area at ($cx, $cy)"

# The state lines ORVO_DUMP asks for: a value of the last one (read
# with sed rather than a JSON parser: the landing must be seen within the
# half second its cascade lasts, also on a loaded machine).
last() { tail -n 1 "$dump" | sed -n "s/.*\"$1\":\([^,}]*\).*/\1/p"; }
# Whether the last state line says $1 is at least $2.
at_least() { v=$(last "$1") && [ -n "$v" ] && [ "$v" -ge "$2" ]; }
is_false() { [ "$(last "$1")" = false ]; }
is_true() { [ "$(last "$1")" = true ]; }

# ---- Start, the pair, held Left --------------------------------------
# The Start caption, at (88, 356) in the window, under the pointer; keys go
# to the window under the pointer.
xdotool mousemove $((cx + 100)) $((cy + 363))
sleep 0.2
xdotool click 1
await is_true running || fail "a click on Start started no game"
await at_least randomUsed 1 || fail "no pair entered"
first=$(last randomUsed)
pass "Start clicked: a game runs and a pair entered ($first random numbers drawn)"
xdotool keydown Left
# The landing: the pair is no longer active, its blocks stay on the board.
landed() { is_false pairActive; }
await landed || fail "held Left did not land the pair"
# Left up and Escape down while the landing's cascade runs: the shell takes
# them once the next pair has entered, as the replay below does. (The game
# acts on the keys held at its next turn: Escape stays down until then.)
xdotool keyup Left keydown Escape
pass "held Left landed the pair"
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
import -window root -crop 480x288+$((cx + 50))+$((cy + 50)) +repage "$work/board-seen.png"
differ=$(compare -metric AE "$work/board-seen.png" "$work/board.png" null: 2>&1) || true
[ "$differ" = 0 ] || fail "the board's pixels are not the replay's: $differ differ"
pass "seeded: the board after the landing is orvo-replay's, cells, points and all 480 x 288 pixels"

# ---- F11 and Alt+Enter: the full screen and back -------------------------
size_is() { xwininfo -id "$window" | grep -q "Width: $1" && xwininfo -id "$window" | grep -q "Height: $2"; }
xdotool key F11
await size_is 800 600 || fail "F11 did not fill the 800 x 600 screen"
xdotool key alt+Return
await size_is "$w" "$h" || fail "Alt+Enter did not bring the window back"
pass "F11 fills the screen, Alt+Enter brings the $w x $h window back"

# ---- Left held while the keyboard goes elsewhere ------------------------
# How the pair moved in the state lines after line $2, judged by the game's
# own clock: every timed slide sets lastSlideTime, and the pair's column
# shows its step at the latest in the line after the next slide's. Over
# lines of one pair, a column lost beyond the slides seen (and one still
# to show) is a move of Left's. $1 "racing": Left moved the pair; "paced":
# three slides in a row with no move of Left's, one column per slide
# interval (their ticks are printed).
moved() {
  python3 - "$dump" "$1" "$2" <<'PY'
import json, sys
mode, start = sys.argv[2], int(sys.argv[3])
first, slides, previous = None, [], None
for line in open(sys.argv[1]).read().splitlines()[start:]:
    try:
        d = json.loads(line)
    except ValueError:
        break  # a line being written
    if not d["pairActive"]:
        first = None
    elif first is None or d["randomUsed"] != first["randomUsed"]:
        first, slides = d, []
    else:
        if d["lastSlideTime"] != previous["lastSlideTime"]:
            slides.append(d["lastSlideTime"])
        if first["pairX"] - d["pairX"] > len(slides) + 1:
            if mode == "racing":
                sys.exit(0)
            first, slides = d, []
        elif mode == "paced" and len(slides) == 3:
            print("slides at ticks " + ", ".join(map(str, slides)))
            sys.exit(0)
    previous = d
sys.exit(1)
PY
}
# Polls `moved $1 $2` every half second for up to a minute.
await_moved() {
  for _ in $(seq 120); do
    moved "$1" "$2" && return 0
    sleep 0.5
  done
  return 1
}
# Escape left the caption's tag at stop: a click makes it start, the next
# one starts a second game.
tag_is() {
  [ "$(tail -n 1 "$dump" | python3 -c 'import json, sys
print(json.load(sys.stdin)["tags"]["lblAction0"])' 2>/dev/null)" = "$1" ]
}
xdotool mousemove $((cx + 100)) $((cy + 363))
sleep 0.2
xdotool click 1
await tag_is start || fail "a click on Stop did not make it Start"
xdotool click 1
await is_true running || fail "a second click on Start started no game"
await is_true pairActive || fail "no pair entered the second game"
from=$(wc -l <"$dump")
xdotool keydown Left
await_moved racing "$from" >/dev/null || fail "held Left did not move the pair"
# Another client's window, given the keyboard: Xvfb has no window manager
# to do it, and Wine's windows are unmanaged here.
xmessage -title "Elsewhere" -geometry +0+0 "the keyboard is here" &
other_pid=$!
await has_window Elsewhere || fail "the other window did not appear"
other=$(window_of Elsewhere)
xdotool windowfocus --sync "$other"
[ "$(xdotool getwindowfocus)" = "$other" ] || fail "the other window did not take the keyboard"
from=$(wc -l <"$dump")
# Left stays down: the window never hears of its release.
paced=$(await_moved paced "$from") ||
  fail "with the keyboard elsewhere Left still moves the pair: it stayed held"
xdotool keyup Left
kill "$other_pid"
wait "$other_pid" 2>/dev/null || true
other_pid=""
pass "Left held, the keyboard taken by another window: the pair moves at the game's pace ($paced)"

# ---- Exit ---------------------------------------------------------------
xdotool mousemove $((cx + 30)) $((cy + 363))
sleep 0.2
xdotool click 1
await ended || fail "Exit did not end the program"
[ "$(cat "$work/status")" = 0 ] || fail "Exit ended the program with status $(cat "$work/status")"
pass "Exit ended the program with status 0"

# ---- The start-up failures ----------------------------------------------
# The message box's text as Wine's trace of it shows it.
box_text() { grep -a "trace:msgbox:MSGBOX_OnInit" "$work/$1.err" | sed 's/^[^L]*L"//; s/"$//'; }
# Runs $1, expects the box with text $3 ($2 names the files), presses OK.
expect_failure() {
  WINEDEBUG=+msgbox launch "$1" "$2"
  await has_window "Error loading game" || fail "$2: no message box"
  has_window "$caption" && fail "$2: a game window came with the message"
  await box_text "$2" >/dev/null || true
  text=$(box_text "$2")
  [ "$text" = "$3" ] || fail "$2: the message box says '$text', not '$3'"
  box=$(window_of "Error loading game")
  xdotool mousemove --window "$box" 20 20
  sleep 0.2
  xdotool key Return
  await ended || fail "$2: OK did not end the program"
  [ "$(cat "$work/status")" = 1 ] || fail "$2: status $(cat "$work/status"), not 1"
}
mkdir "$work/broken"
cp "$program" "$work/broken/orvo.exe"
folder=$(winepath -w "$work/broken")
# Wine's trace doubles every backslash.
expected=$(printf 'Path not found: %s\\Graphics\\' "$folder" | sed 's/\\/\\\\/g')
expect_failure "$work/broken/orvo.exe" missing "$expected"
pass "no Graphics folder: the message box with the game's text, status 1 after OK"

mkdir -p "$work/damaged/Graphics"
cp "$program" "$work/damaged/orvo.exe"
cp "$root/Graphics/"* "$work/damaged/Graphics/"
cp "$root/tests/gfx/damaged_pictures/blocks-cut-half.gif" \
  "$work/damaged/Graphics/Blocks.gif"
WINEDEBUG=+msgbox launch "$work/damaged/orvo.exe" damaged
await has_window "Error loading game" || fail "damaged: no message box"
text=$(box_text damaged)
case $text in
  *Blocks.gif:*) ;;
  *) fail "damaged: the message box says '$text', naming no Blocks.gif" ;;
esac
xdotool mousemove --window "$(window_of "Error loading game")" 20 20
sleep 0.2
xdotool key Return
await ended || fail "damaged: OK did not end the program"
[ "$(cat "$work/status")" = 1 ] || fail "damaged: status $(cat "$work/status"), not 1"
pass "a damaged Blocks.gif is refused with its name and a reason, status 1 after OK: $text"
