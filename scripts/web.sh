#!/bin/sh
# Builds Orvo for the browser and serves it on 127.0.0.1.
# Usage: scripts/web.sh [--build-only] [--tests] [PORT]   (PORT: 8000 when not given)
# With --build-only it builds and prints the page's folder as its last line:
# plain static files that any web server can host. With --tests the build
# folder (build-web/) also holds the page's tests for CTest, with the native
# orvo-replay and orvo-picture-digest they compare with (scripts/native-tools.sh);
# only then is anything built for this machine, and only then does the
# page's ?dump=1 work. The labels' glyphs are the
# committed assets/label_glyphs.atlas. giflib and libjpeg-turbo are compiled
# to WebAssembly from Debian 12's source packages into build-web/codecs/
# (scripts/codecs.sh, once).
set -eu
cd "$(dirname "$0")/.."
build_only=""
tests=OFF
port=8000
for arg in "$@"; do
  case $arg in
    --build-only) build_only=yes ;;
    --tests) tests=ON ;;
    -h | --help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *[!0-9]* | "") echo "usage: scripts/web.sh [--build-only] [--tests] [PORT]" >&2; exit 2 ;;
    *) port=$arg ;;
  esac
done
replay=""
digest=""
if [ "$tests" = ON ]; then
  scripts/install-deps.sh web >&2
  tools=$(scripts/native-tools.sh orvo-replay orvo-picture-digest)
  replay="-DORVO_REPLAY=$tools/orvo-replay"
  digest="-DORVO_PICTURE_DIGEST=$tools/orvo-picture-digest"
else
  scripts/install-deps.sh web-build >&2
fi
codecs=$(scripts/codecs.sh web build-web)
# Emscripten's JavaScript optimizer finds Debian's acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=$tests \
  -DORVO_STATE_DUMP=$tests \
  -DORVO_BUILD_BENCH=OFF -DORVO_CODECS_PREFIX="$codecs" \
  ${replay:+"$replay"} ${digest:+"$digest"} >/dev/null
cmake --build build-web -j "$(nproc)" >&2
page="$PWD/build-web/page"
if [ -n "$build_only" ]; then
  echo "$page"
  exit 0
fi
echo "Orvo is served at http://127.0.0.1:$port/ (Ctrl-C ends it)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$page" "$port"
