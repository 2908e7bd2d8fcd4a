#!/bin/sh
# Builds Orvo twice and runs every test in both builds: once with warnings as
# errors, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)
status=0
for variant in werror sanitize; do
  dir=build-$variant
  if [ "$variant" = werror ]; then
    flags="-DORVO_WERROR=ON -DORVO_SANITIZE=OFF"
  else
    flags="-DORVO_WERROR=ON -DORVO_SANITIZE=ON -DORVO_BUILD_BENCH=OFF"
  fi
  echo "== $variant build =="
  # shellcheck disable=SC2086
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo $flags >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== $variant tests =="
  if ! (cd "$dir" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --output-on-failure -j "$jobs"); then
    status=1
  fi
done
exit $status
