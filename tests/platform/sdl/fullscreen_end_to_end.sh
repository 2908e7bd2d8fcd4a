#!/bin/sh
# The real program in a real X server (Xvfb, 1280 x 1024): the window's
# class, F11 and Alt+Enter switching to the full screen and back to the size
# from before, the picture scaled by a whole multiple and centred in the full
# screen, and a click on Start there starting a game.
#
# Xvfb runs no window manager. Nobody grants SDL's full-screen request
# there, so the program fills the display with its window by itself; this
# run checks that path. Every check waits for its condition for up to ten
# seconds; nothing here bounds how long the machine takes.
# Usage: fullscreen_end_to_end.sh <orvo program>
set -eu
program=$1
. "$(dirname "$0")/../../../scripts/xvfb-lib.sh"
for tool in Xvfb xdotool import compare convert xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

screen_w=1280
screen_h=1024
logical_w=580
logical_h=388

begin_session
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/err" ] && { echo "program's standard error:" >&2; cat "$work/err" >&2; }
  [ -n "${window:-}" ] && xwininfo -id "$window" >&2 2>&1 || true
  exit 1
}

# Like start_xvfb, at a screen larger than the window, so that the full
# screen differs from it.
Xvfb -displayfd 5 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
  5>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY

# Starts "$@" (a copy of the program, maybe with variables before it) and
# waits for its window.
start() {
  env "$@" 2>"$work/err" &
  orvo_pid=$!
  window=$(wait_for_window '^Orvo \(O-tended Pell\)$')
  [ -n "$window" ] || fail "no window appeared"
}
stop() {
  kill "$orvo_pid"
  wait "$orvo_pid" 2>/dev/null || true
  orvo_pid=""
}
wm_class() { xprop -id "$window" WM_CLASS; }

# ---- The window's class ----------------------------------------------------
# SDL would name the class after the program's file; a copy under another
# name shows that the program names it "orvo" itself, as the desktop entry
# expects. Graphics/ must lie beside the copy's real file.
mkdir "$work/copy"
cp "$program" "$work/copy/renamed-game"
ln -s "$(cd "$(dirname "$program")" && pwd)/Graphics" "$work/copy/Graphics"
start "$work/copy/renamed-game"
class=$(wm_class)
[ "$class" = 'WM_CLASS(STRING) = "orvo", "orvo"' ] || fail "class: $class"
stop
# A class the user sets in the environment is kept.
start SDL_VIDEO_X11_WMCLASS=mine "$work/copy/renamed-game"
class=$(wm_class)
[ "$class" = 'WM_CLASS(STRING) = "mine", "mine"' ] || fail "the user's class was replaced: $class"
stop

# ---- Full screen and back ---------------------------------------------------
start "$program"
geometry() { xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'; }
before=$(geometry)
set -- $before
[ "$3" = "$logical_w" ] && [ "$4" = "$logical_h" ] || fail "the window opened at $before"
echo "window before: $before (x y width height)"
full="0 0 $screen_w $screen_h"
is_full() { [ "$(geometry)" = "$full" ]; }
is_windowed() { [ "$(geometry)" = "$before" ]; }
# Keys go where the pointer is (no window manager gives the focus).
xdotool mousemove --window "$window" $((logical_w / 2)) $((logical_h / 2))
sleep 0.3
import -window "$window" "$work/windowed.png"

# The whole picture at the largest whole multiple that fits, centred on black.
scale=$((screen_w / logical_w))
[ $((screen_h / logical_h)) -lt "$scale" ] && scale=$((screen_h / logical_h))
left=$(((screen_w - logical_w * scale) / 2))
top=$(((screen_h - logical_h * scale) / 2))
picture="$((logical_w * scale))x$((logical_h * scale))+$left+$top"
shows_scaled_picture() {
  import -window root "$work/full.png"
  convert "$work/full.png" -crop "$picture" +repage -sample "$logical_w"x"$logical_h"! \
    "$work/full-picture.png"
  [ "$(compare -metric AE "$work/windowed.png" "$work/full-picture.png" null: 2>&1 || true)" = 0 ]
}
# The border beside and above the picture: nothing but black.
black() { [ "$(convert "$work/full.png[$1]" -format '%[max]' info:)" = 0 ]; }
black_border() { black "${left}x${screen_h}+0+0" && black "${screen_w}x${top}+0+0"; }

# $1, $2: the keys that switch there and back.
round_trip() {
  xdotool key "$1"
  await is_full || fail "$1 did not fill the screen: $(geometry)"
  echo "after $1: $(geometry)"
  await shows_scaled_picture || fail "after $1 the screen does not show the picture ${scale}x at $picture"
  black_border || fail "after $1 the border around the picture is not black"
  xdotool key "$2"
  await is_windowed || fail "$2 did not give the window its size back: $(geometry), was $before"
  echo "after $2: $(geometry)"
}
round_trip F11 F11
round_trip alt+Return alt+Return
round_trip alt+KP_Enter Alt_R+Return

# Held F11: the server's key repeat must not switch back and forth. The
# repeat starts after 660 ms and comes 25 times a second (Xvfb's defaults).
xdotool keydown F11
await is_full || fail "a held F11 did not fill the screen"
sleep 1.5
xdotool keyup F11
is_full || fail "a held F11 did not stay in the full screen: $(geometry)"

# ---- A click in the full screen ---------------------------------------------
# The Start caption lies at (88, 356) in the picture; on the screen it is
# scaled and moved with the picture.
import -window root "$work/idle.png"
xdotool mousemove $((left + 105 * scale)) $((top + 366 * scale)) click 1
# A board cell (48 x 48 at (50, 50) in the picture) as it is on the screen.
cell() {
  echo "$((48 * scale))x$((48 * scale))+$((left + (50 + $1 * 48) * scale))+$((top + (50 + $2 * 48) * scale))"
}
cell_changed() {
  [ "$(compare -metric AE "$work/idle.png[$(cell "$1" "$2")]" "$work/started.png[$(cell "$1" "$2")]" \
    null: 2>&1 || true)" -gt $((300 * scale * scale)) ]
}
game_began() {
  import -window root "$work/started.png"
  cell_changed 9 2 && cell_changed 0 2
}
await game_began || fail "a click on Start in the full screen began no game"

# Back to the window during the game.
xdotool key F11
await is_windowed || fail "F11 during a game did not give the window its size back: $(geometry)"
stop
echo "full-screen end-to-end run passed"
