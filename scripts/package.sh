#!/bin/sh
# Builds the Debian package of Orvo from a Release build with Debian's usual
# hardening flags, checks it (lintian, the desktop entry, the metainfo) and
# prints the package's path as the last line.
# Usage: scripts/package.sh [--no-check]
set -eu
cd "$(dirname "$0")/.."
check=yes
case ${1:-} in
  --no-check) check="" ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--no-check]" >&2; exit 2 ;;
esac
scripts/install-deps.sh package >&2
dir=build-package
# The flags every Debian package is built with: fortified functions, stack
# protection, full RELRO and immediate binding.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
# A configured build folder keeps its first flags: start it anew each time.
rm -rf "$dir"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DORVO_BUILD_TESTS=OFF \
  -DORVO_BUILD_BENCH=OFF >&2
cmake --build "$dir" -j "$(nproc)" >&2
(cd "$dir" && cpack -G DEB >&2)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$dir/CPackConfig.cmake")
deb=$(cd "$dir" && ls "$PWD"/orvo_"${version}"_*.deb)
if [ -n "$check" ]; then
  tests/packaging/check_package.sh "$deb" "$version" release >&2
fi
echo "$deb"
