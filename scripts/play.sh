#!/bin/sh
# Builds Orvo and starts the game from the build tree.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF -DORVO_BUILD_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)" --target orvo
exec build/orvo
