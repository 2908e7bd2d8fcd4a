#!/bin/sh
# Builds the programs that the browser's and the Windows builds need from
# this machine (orvo-make-glyphs, which renders the label glyphs with the
# desktop's fonts; orvo-replay, which the page's and the Windows program's
# end-to-end tests compare with) in one native Release tree, build-tools/,
# shared by both. Prints that folder's path as its last line.
# Usage: scripts/native-tools.sh TARGET...
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || { echo "usage: scripts/native-tools.sh TARGET..." >&2; exit 2; }
cmake -S . -B build-tools -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF \
  -DORVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-tools -j "$(nproc)" --target "$@" >&2
echo "$PWD/build-tools"
