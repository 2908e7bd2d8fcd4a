#!/bin/sh
# Runs a Windows program under Wine in the prefix $1, with the session
# started first (wine-lib.sh): CTest's emulator for the Windows build.
# Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
set -eu
. "$(dirname "$0")/wine-lib.sh"
prefix=$1
shift
wine_session "$prefix" >/dev/null 2>&1 </dev/null
exec wine "$@"
