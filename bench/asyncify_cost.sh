#!/bin/sh
# Builds bench/web/asyncify_cost.cpp with and without Asyncify and compares the
# size of the WebAssembly and the time of the same games under Node.js.
# Usage: bench/asyncify_cost.sh [RUNS]
set -eu
cd "$(dirname "$0")/.."
runs=${1:-5}
export NODE_PATH=/usr/share/nodejs
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The game without its state dump (dump_hook.cpp, state_dump.cpp), as the
# page's release has it.
sources=bench/web/asyncify_cost.cpp
for source in gfx/*.cpp game/*.cpp app/*.cpp; do
  case $source in app/dump_hook.cpp | app/state_dump.cpp) ;; *) sources="$sources $source" ;; esac
done
cat >"$out/pause.js" <<'JS'
mergeInto(LibraryManager.library, { bench_pause: function (ms) {} });
JS
# The header-only libraries of gfx/ and app/ from the host, each from a folder
# of its own as in the CMake build (emscripten's sysroot has neither).
mkdir "$out/json"
ln -s /usr/include/nlohmann "$out/json/nlohmann"
# The picture libraries, built for the page (scripts/codecs.sh), and the
# game's pictures, embedded.
codecs=$(scripts/codecs.sh web build-web | tail -n 1)
common="-std=c++20 -O3 -iquote . -isystem /usr/include/utf8cpp -isystem $out/json
  -isystem $codecs/include -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
  --embed-file Graphics@/Graphics --js-library $out/pause.js"
libraries="$codecs/lib/libgif.a $codecs/lib/libjpeg.a"
# shellcheck disable=SC2086
em++ $common $sources $libraries -o "$out/plain.js"
# shellcheck disable=SC2086
em++ $common -sASYNCIFY "-sASYNCIFY_IMPORTS=['bench_pause']" -sASYNCIFY_STACK_SIZE=262144 \
  $sources $libraries -o "$out/asyncify.js"
for variant in plain asyncify; do
  echo "$variant: $(wc -c <"$out/$variant.wasm") bytes of WebAssembly," \
       "$(gzip -9c "$out/$variant.wasm" | wc -c) gzip-compressed"
  i=0
  while [ "$i" -lt "$runs" ]; do
    # Emscripten 3.1.6 loads its WebAssembly with fetch() when there is one,
    # which Node.js 18 and later have, and which cannot read a local file.
    node --no-experimental-fetch "$out/$variant.js" 2>&1 | cut -c 1-200
    i=$((i + 1))
  done
done
