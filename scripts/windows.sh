#!/bin/sh
# Builds Orvo for 64-bit Windows on Debian with mingw-w64 and zips it:
# orvo-<version>-windows-x64.zip holds an Orvo\ folder with orvo.exe (one
# static program that needs nothing but Windows), Graphics\, LICENSE, the
# picture libraries' NOTICES and a read-me. Prints the zip's path as its last line.
# Usage: scripts/windows.sh [--tests]
# With --tests the Windows build also holds the unit tests, for CTest under
# Wine (scripts/test.sh); its end-to-end test runs orvo.exe with the test
# hooks of app/test_hooks.h and compares with a native orvo-replay
# (scripts/native-tools.sh), and its codecs.same_pixels test compares the
# pictures' pixels with a native orvo-picture-digest: the only things then
# built for this machine, and only then does orvo.exe have the state dump
# (ORVO_DUMP). The labels' glyphs are the committed
# assets/label_glyphs.atlas. giflib and libjpeg-turbo are cross-built from
# Debian 12's source packages into build-windows/codecs/ (scripts/codecs.sh,
# once).
set -eu
cd "$(dirname "$0")/.."
tests=OFF
for arg in "$@"; do
  case $arg in
    --tests) tests=ON ;;
    -h | --help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "usage: scripts/windows.sh [--tests]" >&2; exit 2 ;;
  esac
done
replay=""
digest=""
if [ "$tests" = ON ]; then
  scripts/install-deps.sh windows >&2
  tools=$(scripts/native-tools.sh orvo-replay orvo-picture-digest)
  replay="-DORVO_REPLAY=$tools/orvo-replay"
  digest="-DORVO_PICTURE_DIGEST=$tools/orvo-picture-digest"
else
  scripts/install-deps.sh windows-build >&2
fi
codecs=$(scripts/codecs.sh windows build-windows)
jobs=$(nproc)
generator=""
command -v ninja >/dev/null && [ ! -f build-windows/Makefile ] && generator="-G Ninja"
# shellcheck disable=SC2086
cmake -S . -B build-windows $generator \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/platform/win32/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DORVO_WERROR=ON -DORVO_BUILD_BENCH=OFF -DORVO_BUILD_TESTS=$tests \
  -DORVO_STATE_DUMP=$tests \
  -DORVO_CODECS_PREFIX="$codecs" \
  ${replay:+"$replay"} ${digest:+"$digest"} >/dev/null
if [ "$tests" = ON ]; then
  cmake --build build-windows -j "$jobs" >&2
else
  cmake --build build-windows -j "$jobs" --target orvo_win32 >&2
fi

# The zip: every file dated on the release day, so that the same sources
# give the same zip.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
released=$(sed -n 's/^set(ORVO_RELEASE_DATE \(.*\))$/\1/p' CMakeLists.txt)
name=orvo-$version-windows-x64
stage=build-windows/zip/Orvo
rm -rf build-windows/zip "build-windows/$name.zip"
mkdir -p "$stage/Graphics"
x86_64-w64-mingw32-strip -o "$stage/orvo.exe" build-windows/orvo.exe
# A release has no state dump, and so no JSON library (its exceptions' type
# names would show).
if [ "$tests" = OFF ] && grep -q nlohmann "$stage/orvo.exe"; then
  echo "scripts/windows.sh: the release's orvo.exe holds the state dump" >&2
  exit 1
fi
cp Graphics/* "$stage/Graphics/"
# Windows' own line ends, for Notepad.
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
sed 's/$/\r/' "$codecs/share/notices.txt" >"$stage/NOTICES.txt"
sed "s/@VERSION@/$version/; s/\$/\r/" platform/win32/README.txt.in >"$stage/README.txt"
find build-windows/zip -exec touch -d "$released 12:00:00Z" {} +
(cd build-windows/zip && find Orvo | LC_ALL=C sort | zip -X -q -D "../$name.zip" -@)
echo "$PWD/build-windows/$name.zip"
