#!/bin/sh
# Every C++ source of the project keeps the .clang-format style.
set -eu
cd "$1"
status=0
for f in $(git ls-files '*.cpp' '*.h' 2>/dev/null || find gfx game app tools tests bench -name '*.cpp' -o -name '*.h'); do
  clang-format --dry-run -Werror "$f" 2>/dev/null || { echo "not formatted: $f"; status=1; }
done
exit $status
