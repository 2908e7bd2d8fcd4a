#!/bin/sh
# The page's first frame against a baseline page that fetches the same files
# and draws the window's background, and the CPU and wake-ups of a game
# waiting and of an untouched game against a blank page, in fresh starts of
# headless Chromium (bench/web_first_frame.mjs says how). Options go to it:
# --runs N (7), --cpu-rounds M (3), --cpu-seconds T (10), --settle S (1),
# --latency MS (0), --breakdown, --repeat.
# Usage: bench/web_first_frame.sh [options] [page folder...]
#        (default: the page that scripts/web.sh builds)
set -eu
cd "$(dirname "$0")/.."
options=""
folders=""
while [ $# -gt 0 ]; do
  case $1 in
    --runs | --cpu-rounds | --cpu-seconds | --settle | --latency)
      options="$options $1 $2"; shift 2 ;;
    --breakdown | --repeat) options="$options $1"; shift ;;
    -h | --help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) folders="$folders $1"; shift ;;
  esac
done
[ -n "$folders" ] || folders=$(scripts/web.sh --build-only | tail -n 1)
(cd tests/platform/web && npm ci --no-audit --no-fund --loglevel=error)
# shellcheck disable=SC2086
exec node bench/web_first_frame.mjs $options $folders
