#!/bin/sh
# Builds Orvo twice and runs every test in both builds: once with warnings as
# errors, once under AddressSanitizer and UndefinedBehaviorSanitizer; then
# builds the browser's version and tests its page in headless Chromium; then
# cross-builds the Windows version and tests it under Wine in Xvfb.
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
# The game in the browser: built with emscripten, its page driven in Debian's
# headless Chromium by puppeteer-core (pinned in the lock file), and compared
# with orvo-replay of the warnings-as-errors build; then the page offline and
# across builds, under its service worker.
echo "== web build =="
page=$(scripts/web.sh --build-only | tail -n 1)
echo "== web tests =="
if ! (cd tests/platform/web && npm ci --no-audit --no-fund --loglevel=error) ||
   ! node tests/platform/web/page_test.mjs "$page" build-werror/orvo-replay ||
   ! node tests/platform/web/touch_test.mjs "$page" build-werror/orvo-replay ||
   ! node tests/platform/web/offline_test.mjs "$page"; then
  status=1
fi
# The game on Windows: cross-built with mingw-w64, its unit tests and the
# real program end to end under Wine (compared with orvo-replay of the
# warnings-as-errors build).
echo "== windows build =="
if ! ORVO_REPLAY="$PWD/build-werror/orvo-replay" scripts/windows.sh --tests; then
  status=1
else
  echo "== windows tests =="
  if ! (cd build-windows && ctest --output-on-failure -j "$jobs"); then
    status=1
  fi
fi
exit $status
