#!/bin/bash
# Installs Orvo's Debian package on this machine and checks it as a player
# would see it: apt-get installs it with its dependencies; the replay tool
# runs a shipped example; /usr/games/orvo shows its window in a virtual X
# server and a click on Start begins a game; apt-get purge leaves no file of
# the package behind. Meant for a fresh root, where it changes nothing that
# matters: scripts/fresh-machine-check.sh --package DEB runs it in one.
# Usage (as root): scripts/package-install-check.sh <orvo_*.deb>
# It needs scripts/xvfb-lib.sh beside it.
set -euo pipefail
# shellcheck source=scripts/xvfb-lib.sh
. "$(dirname "$0")/xvfb-lib.sh"
deb=$(readlink -f "$1")
[ -f "$deb" ] || { echo "no package file: $1" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "needs root (apt-get install and purge)" >&2; exit 2; }
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
xvfb_pid=""
orvo_pid=""
cleanup() {
  [ -n "$orvo_pid" ] && kill -9 "$orvo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/orvo.err" ] && { echo "the game's standard error:" >&2; cat "$work/orvo.err" >&2; }
  exit 1
}
step() { echo; echo "== $*"; }
# The game is played, and the replay tool run, by an ordinary user with a
# login shell: that is where /usr/games is on the PATH.
player=orvo-player
as_player() { runuser -l "$player" -c "$1"; }
installed_packages() { dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }

# ---- install ------------------------------------------------------------
step "apt-get install $(basename "$deb")"
apt-get update -qq
installed_packages >"$work/before"
df_before=$(df -Pk / | awk 'NR == 2 {print $3}')
started=$(date +%s.%N)
apt-get install -y -q "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install"; }
took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN {printf "%.1f", b - a}')
df_after=$(df -Pk / | awk 'NR == 2 {print $3}')
installed_packages >"$work/after"
pulled=$(comm -13 "$work/before" "$work/after" | grep -vx orvo || true)
echo "installed in $took s (download and unpack included)"
echo "the package's Installed-Size: $(dpkg-query -W -f '${Installed-Size}' orvo) KiB"
echo "disk used by the package and what it pulled in: $(((df_after - df_before) / 1024)) MiB"
echo "dependencies pulled in: $(echo "$pulled" | grep -c .) packages"
echo "$pulled" | paste -sd ' ' | fold -s -w 100 | sed 's/^/  /'
dpkg-query -W -f '${db:Status-Abbrev}' orvo | grep -q '^ii' || fail "orvo is not installed"

# ---- the replay tool ----------------------------------------------------
step "orvo-replay"
id "$player" >/dev/null 2>&1 || useradd --create-home "$player"
chmod 755 "$work"
as_player 'command -v orvo-replay' || fail "orvo-replay is not on a user's PATH"
as_player 'orvo-replay --version'
examples=/usr/share/doc/orvo/examples
for scenario in "$examples"/*.scn; do
  as_player "orvo-replay '$scenario'" >"$work/out" || fail "orvo-replay failed on $scenario"
  cmp -s "$work/out" "${scenario%.scn}.out" || fail "orvo-replay's output for $scenario differs"
  echo "$(basename "$scenario"): output as shipped ($(wc -l <"$work/out") lines)"
done
man -w orvo >/dev/null 2>&1 || [ -f /usr/share/man/man6/orvo.6.gz ] || fail "no manual page orvo(6)"

# ---- the game's window ----------------------------------------------------
step "/usr/games/orvo under Xvfb"
# Without a display the game says so and ends.
status=0
as_player 'orvo' 2>"$work/nodisplay.err" || status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display"
echo "without a display: status 1, \"$(cat "$work/nodisplay.err")\""
# The tools that play the part of the player; installed after the package so
# that they cannot have supplied anything the game needs.
apt-get install -y -q --no-install-recommends xvfb xauth xdotool x11-utils imagemagick procps \
  >"$work/tools.log" 2>&1 || { cat "$work/tools.log"; fail "could not install the test tools"; }
start_xvfb "$work"
[ -s "$work/display" ] || fail "Xvfb did not start"
# Started the way the desktop entry starts it, by the user, on this display.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/orvo.desktop)
as_player "DISPLAY=$DISPLAY exec $exec_line" 2>"$work/orvo.err" &
orvo_pid=$!
window=$(wait_for_window '^Orvo')
[ -n "$window" ] || fail "no window appeared in 10 s"
echo "window caption: \"$(xdotool getwindowname "$window")\""
xwininfo -id "$window" | awk '/Width:|Height:/ {printf "%s %s  ", $1, $2} END {print ""}'
class=$(xprop -id "$window" WM_CLASS)
echo "$class"
echo "$class" | grep -q '"orvo", "orvo"' || fail "the window's class is not orvo"
sleep 0.5
import -window "$window" "$work/idle.png"
# Start is the caption at the bottom left; a click on it begins a game: the
# board is drawn and a pair enters at the right edge (column 9, row 2).
xdotool mousemove --window "$window" 105 366 click 1
began=""
for _ in $(seq 100); do
  import -window "$window" "$work/started.png"
  diff_pixels=$(compare -metric AE "$work/idle.png[48x48+482+146]" "$work/started.png[48x48+482+146]" null: 2>&1 || true)
  if [ "${diff_pixels%%.*}" -gt 300 ] 2>/dev/null; then began=yes; break; fi
  sleep 0.1
done
[ -n "$began" ] || fail "a click on Start did not begin a game (no pair at the right edge)"
echo "a click on Start began a game: $diff_pixels pixels of the entry cell changed"
# Exit, the caption at the far left, ends the program (in the middle of the
# game) with status 0.
xdotool mousemove --window "$window" 30 366 click 1
for _ in $(seq 200); do
  kill -0 "$orvo_pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$orvo_pid" 2>/dev/null && fail "a click on Exit did not end the program in 10 s"
status=0
wait "$orvo_pid" || status=$?
orvo_pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Exit"
echo "a click on Exit ended the program with status 0"
kill "$xvfb_pid"
xvfb_pid=""

# ---- purge ----------------------------------------------------------------
step "apt-get purge orvo"
dpkg-query -L orvo | sort >"$work/files"
apt-get purge -y -q orvo >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "apt-get purge"; }
left=""
while IFS= read -r path; do
  [ -n "$path" ] && [ "$path" != /. ] || continue
  if [ -L "$path" ] || [ -e "$path" ] && [ ! -d "$path" ]; then
    left="$left $path"
  elif [ -d "$path" ] && [ -z "$(dpkg-query -S "$path" 2>/dev/null)" ]; then
    # dpkg removes a folder of the package's own once it is empty; one that
    # stays holds something the package left.
    left="$left $path/($(ls -A "$path" | paste -sd ' '))"
  fi
done <"$work/files"
[ -z "$left" ] || fail "left behind after the purge:$left"
dpkg-query -W -f '${db:Status-Abbrev}' orvo 2>/dev/null | grep -q '^ii' && fail "orvo is still installed"
echo "purged: none of the package's $(grep -c . "$work/files") paths is left"
echo
echo "== VERDICT: PASS: the package installs, runs and purges cleanly"
