#!/bin/sh
# Builds Orvo for the browser and serves it on 127.0.0.1.
# Usage: scripts/web.sh [--build-only] [--tests] [PORT]   (PORT: 8000 when not given)
# With --build-only it builds and prints the page's folder as its last line:
# plain static files that any web server can host. With --tests the build
# folder (build-web/) also holds the page's tests for CTest, with the native
# orvo-replay they compare with; only then does the page's ?dump=1 work.
set -eu
cd "$(dirname "$0")/.."
build_only=""
tests=OFF
port=8000
for arg in "$@"; do
  case $arg in
    --build-only) build_only=yes ;;
    --tests) tests=ON ;;
    -h | --help) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]* | "") echo "usage: scripts/web.sh [--build-only] [--tests] [PORT]" >&2; exit 2 ;;
    *) port=$arg ;;
  esac
done
scripts/install-deps.sh web >&2
# The label glyphs are rendered natively, with the desktop's fonts, before the
# browser's build embeds nothing of FreeType or fontconfig.
if [ "$tests" = ON ]; then
  tools=$(scripts/native-tools.sh orvo-make-glyphs orvo-replay | tail -n 1)
else
  tools=$(scripts/native-tools.sh orvo-make-glyphs | tail -n 1)
fi
"$tools/orvo-make-glyphs" "$tools/glyphs.bin"
# Emscripten's JavaScript optimizer finds Debian's acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=$tests \
  -DORVO_STATE_DUMP=$tests \
  -DORVO_BUILD_BENCH=OFF -DORVO_GLYPHS="$tools/glyphs.bin" \
  -DORVO_REPLAY="$tools/orvo-replay" >/dev/null
cmake --build build-web -j "$(nproc)" >&2
page="$PWD/build-web/page"
if [ -n "$build_only" ]; then
  echo "$page"
  exit 0
fi
echo "Orvo is served at http://127.0.0.1:$port/ (Ctrl-C ends it)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$page" "$port"
