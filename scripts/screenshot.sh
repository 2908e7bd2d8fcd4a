#!/bin/sh
# Takes docs/screenshot.png: the game in progress, in a virtual X server.
# Usage: scripts/screenshot.sh [path to the orvo program]
# Needs Xvfb, xdotool and ImageMagick (scripts/install-deps.sh test).
set -eu
cd "$(dirname "$0")/.."
. scripts/xvfb-lib.sh
program=${1:-build/orvo}
if [ ! -x "$program" ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF -DORVO_BUILD_BENCH=OFF >/dev/null
  cmake --build build -j "$(nproc)" --target orvo
  program=build/orvo
fi
mkdir -p docs
begin_session

start_xvfb "$work"

"$program" &
orvo_pid=$!
window=$(wait_for_window '^Orvo')
[ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }

# Start, then steer a few pairs to different rows and push them left.
xdotool mousemove --window "$window" 105 366 click 1
sleep 0.5
for moves in "Down Down Down" "Down Down Down" "Down Down" "Up Up" "Down" "" "Down Down Down" "Up"; do
  for key in $moves; do xdotool key "$key"; sleep 0.25; done
  xdotool keydown Left
  sleep 1.1
  xdotool keyup Left
  sleep 2.2
done
# Let the next pair slide in a little, then take the window.
sleep 1.5
import -window "$window" docs/screenshot.png
echo "wrote docs/screenshot.png"
