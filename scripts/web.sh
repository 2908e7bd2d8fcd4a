#!/bin/sh
# Builds Orvo for the browser and serves it on 127.0.0.1.
# Usage: scripts/web.sh [--build-only] [--tests] [PORT]   (PORT: 8000 when not given)
# With --build-only it builds and prints the page's folder as its last line:
# plain static files that any web server can host. With --tests the build
# folder (build-web/) also holds the page's tests for CTest, with the native
# orvo-replay they compare with (scripts/native-tools.sh); only then is
# anything built for this machine. The labels' glyphs are the committed
# assets/label_glyphs.atlas.
set -eu
cd "$(dirname "$0")/.."
build_only=""
tests=OFF
port=8000
for arg in "$@"; do
  case $arg in
    --build-only) build_only=yes ;;
    --tests) tests=ON ;;
    -h | --help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]* | "") echo "usage: scripts/web.sh [--build-only] [--tests] [PORT]" >&2; exit 2 ;;
    *) port=$arg ;;
  esac
done
replay=""
if [ "$tests" = ON ]; then
  scripts/install-deps.sh web >&2
  tools=$(scripts/native-tools.sh orvo-replay)
  replay="-DORVO_REPLAY=$tools/orvo-replay"
else
  scripts/install-deps.sh web-build >&2
fi
# Emscripten's JavaScript optimizer finds Debian's acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=$tests \
  -DORVO_BUILD_BENCH=OFF ${replay:+"$replay"} >/dev/null
cmake --build build-web -j "$(nproc)" >&2
page="$PWD/build-web/page"
if [ -n "$build_only" ]; then
  echo "$page"
  exit 0
fi
echo "Orvo is served at http://127.0.0.1:$port/ (Ctrl-C ends it)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$page" "$port"
