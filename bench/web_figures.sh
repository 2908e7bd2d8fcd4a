#!/bin/sh
# Figures of the browser's build: the download (WebAssembly and JavaScript,
# gzip-compressed, without pictures and glyphs), the time to the first frame
# and the CPU of an untouched game in headless Chromium.
# Usage: bench/web_figures.sh [page folder]   (default: build it with scripts/web.sh)
set -eu
cd "$(dirname "$0")/.."
page=${1:-$(scripts/web.sh --build-only | tail -n 1)}
(cd tests/platform/web && npm ci --no-audit --no-fund --loglevel=error)
size() { gzip -9c "$1" | wc -c; }
wasm=$(size "$page/orvo.wasm")
# The page's scripts: the program's and the page's modules (the service
# worker comes later, once the game is on screen).
js=$(size "$page/index.html")
for file in "$page"/*.js; do
  [ "$file" = "$page/sw.js" ] || js=$((js + $(size "$file")))
done
echo "download, gzip -9: orvo.wasm $wasm bytes, JavaScript and page $js bytes, $(( (wasm + js) / 1024 )) KB in all"
node bench/web_figures.mjs "$page"
