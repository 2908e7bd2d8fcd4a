#!/bin/sh
# The modules stack as gfx <- game <- app <- platforms and tools: a module
# includes only its own headers and those of the modules below it. SDL,
# fontconfig and Linux-only headers belong to the platforms (platform/ and
# the replay runner's tools/replay/). Prints every include that breaks a
# rule and fails if there is one.
# Usage: layering_check.sh <source root>
set -eu
cd "$1"

# module folder | the project folders it may include from
rules='gfx|gfx
game|gfx game
app|gfx game app
platform/desktop|gfx platform/desktop
platform/sdl|gfx game app platform/desktop platform/sdl
platform/web|gfx game app platform/web
tools/replay|gfx game app platform/desktop tools/replay'
system_headers='SDL2/|SDL\.h|fontconfig/|sys/|unistd\.h|pthread\.h|linux/|dlfcn\.h|fcntl\.h'

bad=0
echo "$rules" | while IFS='|' read -r module allowed; do
  [ -d "$module" ] || { echo "missing module folder: $module"; exit 1; }
  for file in $(find "$module" -name '*.h' -o -name '*.cpp' | sort); do
    grep -n '^#include "' "$file" | while IFS= read -r line; do
      header=$(echo "$line" | sed 's/^[0-9]*:#include "\([^"]*\)".*/\1/')
      ok=""
      for folder in $allowed; do
        case $header in "$folder"/*) ok=yes ;; esac
      done
      [ -n "$ok" ] || echo "$file:$line: $module may not include $header"
    done
    case $module in
      platform/* | tools/replay) ;;
      *) grep -nE "^#include <($system_headers)" "$file" | sed "s|^|$file:|; s|\$|: platform header outside a platform|" ;;
    esac
  done
done >"${TMPDIR:-/tmp}/layering.$$" || bad=1
if [ -s "${TMPDIR:-/tmp}/layering.$$" ]; then
  cat "${TMPDIR:-/tmp}/layering.$$"
  bad=1
fi
rm -f "${TMPDIR:-/tmp}/layering.$$"
[ "$bad" -eq 0 ] && echo "layering: every include is in its place"
exit "$bad"
