#!/bin/sh
# Builds the native programs that other builds and scripts need from this
# machine in one Release tree, build-tools/: orvo-replay, which the page's
# and the Windows program's end-to-end tests compare with, and
# orvo-make-glyphs, which renders the committed label glyph atlas
# (scripts/make-glyphs.sh). The SDL window, and with it SDL2 and fontconfig,
# is configured only for orvo-make-glyphs. Prints the tree's path, and
# nothing else, on standard output. With ORVO_NATIVE_TREE set to the
# absolute path of a native tree that has the programs built already
# (scripts/test.sh gives its build-werror/), that tree is used as it is and
# nothing is built.
# Usage: scripts/native-tools.sh TARGET...
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || { echo "usage: scripts/native-tools.sh TARGET..." >&2; exit 2; }
if [ -n "${ORVO_NATIVE_TREE:-}" ]; then
  for target in "$@"; do
    if [ ! -x "$ORVO_NATIVE_TREE/$target" ]; then
      echo "scripts/native-tools.sh: no $target in ORVO_NATIVE_TREE ($ORVO_NATIVE_TREE)" >&2
      exit 1
    fi
  done
  echo "$ORVO_NATIVE_TREE"
  exit 0
fi
window=OFF
case " $* " in *" orvo-make-glyphs "*) window=ON ;; esac
cmake -S . -B build-tools -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF \
  -DORVO_BUILD_BENCH=OFF -DORVO_BUILD_WINDOW=$window >/dev/null
cmake --build build-tools -j "$(nproc)" --target "$@" >&2
echo "$PWD/build-tools"
