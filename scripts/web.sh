#!/bin/sh
# Builds Orvo for the browser and serves it on 127.0.0.1.
# Usage: scripts/web.sh [--build-only] [PORT]   (PORT: 8000 when not given)
# With --build-only it builds and prints the page's folder as its last line:
# plain static files that any web server can host.
set -eu
cd "$(dirname "$0")/.."
build_only=""
port=8000
for arg in "$@"; do
  case $arg in
    --build-only) build_only=yes ;;
    -h | --help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]* | "") echo "usage: scripts/web.sh [--build-only] [PORT]" >&2; exit 2 ;;
    *) port=$arg ;;
  esac
done
scripts/install-deps.sh web >&2
jobs=$(nproc)
# The label glyphs are rendered natively, with the desktop's fonts, before the
# browser's build embeds nothing of FreeType or fontconfig.
cmake -S . -B build-web-tools -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF \
  -DORVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-web-tools -j "$jobs" --target orvo-make-glyphs >&2
build-web-tools/orvo-make-glyphs build-web-tools/glyphs.bin
# Emscripten's JavaScript optimizer finds Debian's acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF \
  -DORVO_BUILD_BENCH=OFF -DORVO_GLYPHS="$PWD/build-web-tools/glyphs.bin" >/dev/null
cmake --build build-web -j "$jobs" >&2
page="$PWD/build-web/page"
if [ -n "$build_only" ]; then
  echo "$page"
  exit 0
fi
echo "Orvo is served at http://127.0.0.1:$port/ (Ctrl-C ends it)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$page" "$port"
