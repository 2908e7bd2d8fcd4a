#!/bin/sh
# layering_check.sh on small made-up trees: a tree that keeps every rule
# passes, also with comments, strings and raw strings that only look like
# includes; each case adds one bad file to it, and the check must then fail
# and name that include.
# Usage: layering_check_test.sh
set -eu
check="$(cd "$(dirname "$0")" && pwd)/layering_check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# put FILE TEXT: writes TEXT (with printf's \n, \t and \\) to FILE.
put() {
  mkdir -p "$(dirname "$1")"
  printf '%b\n' "$2" >"$1"
}

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

clean="$work/clean"
mkdir "$clean"
(
  cd "$clean"
  put gfx/surface.h '#pragma once\n#include <cstdint>\n#include <vector>'
  put gfx/surface.cpp '#include "gfx/surface.h"\n\n#include <stdio.h>'
  put game/game.h '#pragma once\n#include "gfx/surface.h"'
  put game/game.cc '#include "game/game.h"\n#include <cstring>'
  put app/app.h '#pragma once\n#include "game/game.h"'
  put app/keys.inc '#include "app/app.h"'
  put platform/README.md '#include <SDL.h> in prose is no include'
  put platform/linux/codecs.h '#pragma once\n#include "gfx/surface.h"'
  put platform/linux/codecs.cpp '#include <gif_lib.h>\n#include <jpeglib.h>\n#include <jerror.h>
#include <unistd.h>\n#include "platform/linux/codecs.h"'
  put platform/sdl/fonts.h '#pragma once\n#include "app/app.h"'
  put platform/sdl/window.cpp '#include <SDL2/SDL.h>\n#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>\n#include <X11/Xatom.h>\n#include <sys/prctl.h>
#include <strings.h>\n#include "platform/linux/codecs.h"\n#include "platform/sdl/fonts.h"'
  put platform/web/frame.hpp '#pragma once\n#include "app/app.h"'
  put platform/web/frame.cpp '#include <emscripten.h>\n#include <emscripten/html5.h>
#include "platform/web/frame.hpp"'
  put platform/headless/run.h '#pragma once\n#include "platform/linux/codecs.h"
#include <sys/stat.h>'
  put platform/win32/window.cpp '#include <windows.h>\n#include <ShellAPI.h>\n#include <wincodec.h>
#include "app/app.h"'
  put tools/art/make_art.py '#include <SDL.h> (not a C++ file)'
  put tools/replay/runner.h '#pragma once\n#include "platform/headless/run.h"'
  put tools/replay/runner.cpp '#include <png.h>\n#include <nlohmann/json.hpp>\n#include <sys/stat.h>
#include "tools/replay/runner.h"'
  put tools/glyphs/make_glyphs.cpp '#include "platform/sdl/fonts.h"'
  put bench/gfx_bench.cpp '#include <benchmark/benchmark.h>\n#include "platform/linux/codecs.h"
#include "tests/gfx/jpeg_writer.h"'
  put bench/web/cost.cpp '#include <emscripten.h>\n#include "app/app.h"'
  put fuzz/replay_fuzzer.cpp '#include <unistd.h>\n#include "tools/replay/runner.h"'
  # Text that only looks like includes, and a // or /* in a string or a
  # header name, which starts no comment.
  put gfx/lookalikes.cpp '// #include "platform/web/frame.hpp"
/* #include <SDL.h>\n   #include "app/app.h" */
#include "gfx/surface.h" // #include <SDL.h>
#include <vector> /* a comment
#include <SDL.h>
*/
const char* kPattern = "Graphics/*";\nconst char kQuote = '"'"'"'"'"';
const int kMillion = 1'"'"'000'"'"'000;
const char* kText = R"x(\n#include <SDL.h>\n/* )" )x";\nconst char* kRaw = u8R"(//)";
#include "gfx/surface.h"'
)

out=$(sh "$check" "$clean" 2>&1) || fail "the clean tree fails: $out"
case $out in
  *"every include is in its place"*) ;;
  *) fail "the clean tree passes without saying so: $out" ;;
esac

# A tree with only some of the module folders is checked as far as it goes.
mkdir -p "$work/partial/gfx"
put "$work/partial/gfx/surface.h" '#include <vector>'
out=$(sh "$check" "$work/partial" 2>&1) || fail "a tree without most modules fails: $out"

# file | its text | what the check must print
cases='app/bad.cpp|#include "platform/sdl/window.h"|app/bad.cpp:1: app may not include "platform/sdl/window.h"
tools/replay/bad.cpp|#include "tools/replay/runner.h"\n#include "platform/web/frame.hpp"|tools/replay/bad.cpp:2: tools/replay may not include "platform/web/frame.hpp"
game/bad.h|#include "game/game.h"\n#include "app/app.h"|game/bad.h:2: game may not include "app/app.h"
gfx/bad.cpp|  #include "app/app.h"|gfx/bad.cpp:1: gfx may not include "app/app.h"
game/bad.cpp|#  include "app/app.h"|game/bad.cpp:1: game may not include "app/app.h"
gfx/bad.hpp|#include"game/game.h"|gfx/bad.hpp:1: gfx may not include "game/game.h"
platform/sdl/bad.cc|\t#\tinclude\t"platform/web/frame.hpp"|platform/sdl/bad.cc:1: platform/sdl may not include "platform/web/frame.hpp"
gfx/bad.c|#/* hidden */include "app/app.h"|gfx/bad.c:1: gfx may not include "app/app.h"
gfx/bad.inc|#include \\\n  "app/app.h"|gfx/bad.inc:1: gfx may not include "app/app.h"
game/bad.hpp|int a;\n#inc\\\nlude "app/app.h"|game/bad.hpp:2: game may not include "app/app.h"
gfx/digraph.cpp|%:include "app/app.h"|gfx/digraph.cpp:1: gfx may not include "app/app.h"
app/next.h|#include_next "platform/sdl/fonts.h"|app/next.h:1: app may not include "platform/sdl/fonts.h"
gfx/import.h|#import "game/game.h"|gfx/import.h:1: gfx may not include "game/game.h"
gfx/after_comment.cpp|/* a comment\n   over lines */ #include "app/app.h"|gfx/after_comment.cpp:2: gfx may not include "app/app.h"
gfx/after_line_comment.cpp|// a /* in a line comment opens no block\n#include "app/app.h"|gfx/after_line_comment.cpp:2: gfx may not include "app/app.h"
gfx/after_string.cpp|const char* kAll = "Graphics/*";\n#include "app/app.h"|gfx/after_string.cpp:2: gfx may not include "app/app.h"
gfx/after_raw.cpp|const char* kRaw = R"(/*)";\n#include "app/app.h"|gfx/after_raw.cpp:2: gfx may not include "app/app.h"
gfx/header_name.cpp|#include <vector//x>\n#include "app/app.h"|gfx/header_name.cpp:2: gfx may not include "app/app.h"
gfx/macro.cpp|#define WEB "platform/web/frame.hpp"\n#include WEB|gfx/macro.cpp:2: gfx includes WEB, which names no header the check can follow
platform/sdl/up.cpp|#include "platform/sdl/../web/frame.hpp"|platform/sdl/up.cpp:1: platform/sdl may not include "platform/sdl/../web/frame.hpp": the path is absolute or has . or ..
platform/sdl/back.cpp|#include "platform\\sdl\\..\\web\\frame.hpp"|platform/sdl/back.cpp:1: platform/sdl may not include "platform\sdl\..\web\frame.hpp": the path is absolute or has . or ..
gfx/absolute.cpp|#include "/src/app/app.h"|gfx/absolute.cpp:1: gfx may not include "/src/app/app.h": the path is absolute
platform/sdl/angle.cpp|#include <app/app.h>|platform/sdl/angle.cpp:1: project header in angle brackets: <app/app.h>; write "app/app.h"
gfx/angle.h|#include <gfx/surface.h>|gfx/angle.h:1: project header in angle brackets: <gfx/surface.h>
fuzz/angle.cpp|#include <tools/replay/runner.h>|fuzz/angle.cpp:1: project header in angle brackets: <tools/replay/runner.h>
game/angle.cpp|#include <platform/web/frame.hpp>|game/angle.cpp:1: project header in angle brackets: <platform/web/frame.hpp>
bench/angle.cpp|#include <tests/gfx/jpeg_writer.h>|bench/angle.cpp:1: project header in angle brackets: <tests/gfx/jpeg_writer.h>
gfx/sdl.cpp|#include <SDL.h>|gfx/sdl.cpp:1: gfx may not include <SDL.h>, an SDL header (only platform/sdl may)
tools/glyphs/ttf.cpp|#include <SDL2/SDL_ttf.h>|tools/glyphs/ttf.cpp:1: tools/glyphs may not include <SDL2/SDL_ttf.h>, an SDL header
platform/linux/image.cpp|#include <SDL_image.h>|platform/linux/image.cpp:1: platform/linux may not include <SDL_image.h>, an SDL header
platform/web/fonts.cpp|#include <fontconfig/fontconfig.h>|platform/web/fonts.cpp:1: platform/web may not include <fontconfig/fontconfig.h>, a fontconfig header (only platform/sdl may)
app/x11.h|#include <X11/Xlib.h>|app/x11.h:1: app may not include <X11/Xlib.h>, an X11 header (only platform/sdl may)
platform/sdl/gif.cpp|#include <gif_lib.h>|platform/sdl/gif.cpp:1: platform/sdl may not include <gif_lib.h>, a giflib header (only platform/linux may)
tools/replay/jpeg.cpp|#include <jpeglib.h>|tools/replay/jpeg.cpp:1: tools/replay may not include <jpeglib.h>, a libjpeg header (only platform/linux may)
game/jerror.cpp|#include <jerror.h>|game/jerror.cpp:1: game may not include <jerror.h>, a libjpeg header
bench/browser.cpp|#include <emscripten.h>|bench/browser.cpp:1: bench may not include <emscripten.h>, an emscripten header (only platform/web, bench/web may)
platform/sdl/html5.cpp|#include <emscripten/html5.h>|platform/sdl/html5.cpp:1: platform/sdl may not include <emscripten/html5.h>, an emscripten header
platform/sdl/windows.cpp|#include <Windows.h>|platform/sdl/windows.cpp:1: platform/sdl may not include <Windows.h>, a Windows header (only platform/win32 may)
platform/linux/shell.cpp|#include <shellapi.h>|platform/linux/shell.cpp:1: platform/linux may not include <shellapi.h>, a Windows header
platform/web/codec.cpp|#include <WINCODEC.H>|platform/web/codec.cpp:1: platform/web may not include <WINCODEC.H>, a Windows header
platform/sdl/png.cpp|#include <png.h>|platform/sdl/png.cpp:1: platform/sdl may not include <png.h>, a libpng header (only tools/replay may)
game/json.cpp|#include <nlohmann/json.hpp>|game/json.cpp:1: game may not include <nlohmann/json.hpp>, a JSON for Modern C++ header (only app, tools/replay may)
game/stat.cpp|#include <sys/stat.h>|game/stat.cpp:1: game may not include <sys/stat.h>, a Linux or POSIX system header
tools/glyphs/unistd.cpp|#include <unistd.h>|tools/glyphs/unistd.cpp:1: tools/glyphs may not include <unistd.h>, a Linux or POSIX system header
platform/win32/posix.cpp|#include <pthread.h>|platform/win32/posix.cpp:1: platform/win32 may not include <pthread.h>, a Linux or POSIX system header
fuzz/bench.cpp|#include <benchmark/benchmark.h>|fuzz/bench.cpp:1: fuzz may not include <benchmark/benchmark.h>, a Google Benchmark header (only bench may)
gfx/zlib.cpp|#include <zlib.h>|gfx/zlib.cpp:1: gfx may not include <zlib.h>: it is neither the standard library nor a library the layering check knows
platform/headless/sdl.cpp|#include "platform/sdl/fonts.h"|platform/headless/sdl.cpp:1: platform/headless may not include "platform/sdl/fonts.h"
platform/win32/desktop.cpp|#include "platform/linux/codecs.h"|platform/win32/desktop.cpp:1: platform/win32 may not include "platform/linux/codecs.h"
tools/glyphs/web.cpp|#include "platform/web/frame.hpp"|tools/glyphs/web.cpp:1: tools/glyphs may not include "platform/web/frame.hpp"
bench/replay.cpp|#include "tools/replay/runner.h"|bench/replay.cpp:1: bench may not include "tools/replay/runner.h"
bench/web/desktop.cpp|#include "platform/linux/codecs.h"|bench/web/desktop.cpp:1: bench/web may not include "platform/linux/codecs.h"
fuzz/sdl.cpp|#include "platform/sdl/fonts.h"|fuzz/sdl.cpp:1: fuzz may not include "platform/sdl/fonts.h"
gfx/sibling.cpp|#include "surface.h"|gfx/sibling.cpp:1: gfx may not include "surface.h"
gfx/table.cpp|#include "gfx/table.txt"|gfx/table.cpp:1: gfx may not include "gfx/table.txt": the check reads no file of that kind
platform/macos/window.cpp|#include "platform/web/frame.hpp"|platform/macos/window.cpp: a source file in no module of the layering check
tools/other/tool.hh|#include <SDL.h>|tools/other/tool.hh: a source file in no module of the layering check'

# Each case alone in a copy of the clean tree.
n=0
while IFS='|' read -r file text expected; do
  n=$((n + 1))
  tree="$work/case$n"
  cp -R "$clean" "$tree"
  put "$tree/$file" "$text"
  if out=$(sh "$check" "$tree" 2>&1); then
    fail "$file passes the check: $text"
    continue
  fi
  case $out in
    *"$expected"*) ;;
    *) fail "$file: the check does not print '$expected' but: $out" ;;
  esac
done <<EOF
$cases
EOF

# A link could bring another module's folder in under an allowed name.
tree="$work/link"
cp -R "$clean" "$tree"
ln -s ../platform/web "$tree/app/web"
put "$tree/gfx/uses_link.cpp" '#include "gfx/surface.h"'
if out=$(sh "$check" "$tree" 2>&1); then
  fail "a symbolic link in a module passes the check"
else
  case $out in
    *"app/web: a symbolic link"*) ;;
    *) fail "the check does not name the link app/web but prints: $out" ;;
  esac
fi

echo "layering check: $n cases and the clean tree checked, $failures failures"
[ "$failures" -eq 0 ]
