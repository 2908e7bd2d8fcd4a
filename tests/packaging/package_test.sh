#!/bin/sh
# Packages the build folder with CPack into a temporary folder and checks the
# package. Exit status 77 (skipped) when the packaging tools are missing.
# Usage: package_test.sh <build folder> <version>
set -eu
build=$1
version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "SKIP: missing tool $tool"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
}
set -- "$out"/orvo_"$version"_*.deb
[ -f "$1" ] || { cat "$out/cpack.log" >&2; echo "FAIL: no orvo_${version}_*.deb made" >&2; exit 1; }
sh "$(dirname "$0")/check_package.sh" "$1" "$version"
