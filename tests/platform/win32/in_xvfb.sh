#!/bin/sh
# Runs a Windows program under Wine in its own Xvfb: for the tests that open
# a window, which needs a display. Wine's session keeps the display of the
# program that started it, so this one starts afresh on the new X server
# and is ended afterwards (CTest runs it alone).
# Usage: in_xvfb.sh <Wine prefix> <program.exe> [arguments...]
set -eu
prefix=$1
shift
root=$(cd "$(dirname "$0")/../../.." && pwd)
. "$root/scripts/xvfb-lib.sh"
. "$root/scripts/wine-lib.sh"
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  end_wine_session
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX="$prefix"
end_wine_session
start_xvfb "$work"
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
wine_session "$prefix" </dev/null >/dev/null 2>&1
wine "$@"
