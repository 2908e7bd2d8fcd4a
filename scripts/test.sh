#!/bin/sh
# Builds Orvo twice and runs every test in both builds: once with warnings as
# errors, once under AddressSanitizer and UndefinedBehaviorSanitizer; then
# builds the browser's version and tests its page in headless Chromium, then
# in headless Firefox ESR; then cross-builds the Windows version and tests it
# under Wine in Xvfb.
# Usage: scripts/test.sh [STAGE...]   STAGE: werror, sanitize, web, windows
# (all four when none is named, in that order).
set -eu
cd "$(dirname "$0")/.."
stages=${*:-werror sanitize web windows}
for stage in $stages; do
  case $stage in
    werror | sanitize | web | windows) ;;
    *) echo "usage: scripts/test.sh [werror|sanitize|web|windows]..." >&2; exit 2 ;;
  esac
done
wants() { case " $stages " in *" $1 "*) return 0 ;; esac; return 1; }
# shellcheck disable=SC2086 # the stage names, split on purpose
scripts/install-deps.sh $stages
jobs=$(nproc)
status=0
for variant in werror sanitize; do
  wants "$variant" || continue
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
# The web and windows stages compare with a native orvo-replay: the werror
# tree's when that stage was built above (this script stops at a failed
# build), else one of build-tools/ (scripts/native-tools.sh).
if wants werror; then
  ORVO_NATIVE_TREE=$PWD/build-werror
  export ORVO_NATIVE_TREE
fi
# The game in the browser: built with emscripten, its page tested in Debian's
# headless Chromium and Firefox ESR through CTest (web.<engine>.<file>, from
# tests/platform/web/tests.cmake; a browser not installed is a skip), its
# boards compared with orvo-replay's. A tree without its tests fails rather
# than passing on nothing.
if wants web; then
  echo "== web build =="
  if ! scripts/web.sh --build-only --tests >/dev/null; then
    status=1
  else
    echo "== web tests =="
    if ! (cd build-web && ctest --output-on-failure --no-tests=error -j "$jobs"); then
      status=1
    fi
  fi
fi
# The game on Windows: cross-built with mingw-w64, its unit tests and the
# real program end to end under Wine (compared with orvo-replay's boards).
if wants windows; then
  echo "== windows build =="
  if ! scripts/windows.sh --tests; then
    status=1
  else
    echo "== windows tests =="
    if ! (cd build-windows && ctest --output-on-failure -j "$jobs"); then
      status=1
    fi
  fi
fi
exit $status
