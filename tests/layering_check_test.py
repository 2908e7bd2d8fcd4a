#!/usr/bin/env python3
"""layering_check.py on small made-up trees, preprocessed by a real compiler
with a broad -I<tree> so that the check's rules do the judging. A tree that
keeps every rule passes, also with comments, strings and raw strings that
only look like includes; a tree with one bad file per case must fail and
print each case's line. Library headers are empty stand-ins, so that no
library needs to be installed.
Usage: layering_check_test.py [C++ COMPILER]
"""
import codecs
import json
import os
import re
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'layering_check.py')
COMPILER = sys.argv[1] if len(sys.argv) > 1 else 'c++'

# file | its text (with \n and \t). No two headers may hold the same text:
# GCC takes a "#pragma once" file of the same text and time for one it has
# already read, and would skip it unjudged.
CLEAN = r'''gfx/surface.h|#pragma once\n#include <cstdint>\n#include <vector>
gfx/surface.cpp|#include "gfx/surface.h"\n\n#include <stdio.h>
gfx/table.cpp|int kTable[] = {\n#include "gfx/table.txt"\n};
gfx/table.txt|1, 2, 3
game/game.h|#pragma once\n#include "gfx/surface.h"
game/game.cc|#include "game/game.h"\n#include <cstring>
app/app.h|#pragma once\n#include "game/game.h"
app/app.cpp|#include "app/app.h"\n#include "app/keys.inc"
app/keys.inc|#include "app/app.h"
platform/README.md|#include <SDL.h> in prose is no include
gfx/codecs.h|#pragma once\n#include <cstdint>\n#include "gfx/surface.h"
gfx/codecs.cpp|#include <gif_lib.h>\n#include <jpeglib.h>\n#include <jerror.h>\n#include "gfx/codecs.h"
platform/posix/files.h|#pragma once\n#include "gfx/codecs.h"
platform/posix/files.cpp|#include <dirent.h>\n#include <sys/stat.h>\n#include "platform/posix/files.h"
platform/linux/codecs.h|#pragma once\n#include "platform/posix/files.h"
platform/linux/codecs.cpp|#include <unistd.h>\n#include "platform/linux/codecs.h"
platform/sdl/fonts.h|#pragma once\n#include <SDL_ttf.h>\n#include "app/app.h"
platform/sdl/window.h|#pragma once\n#include <SDL2/SDL.h>
platform/sdl/window.cpp|#include <SDL2/SDL.h>\n#include <fontconfig/fontconfig.h>\n#include <X11/Xatom.h>\n#include <sys/prctl.h>\n#include <strings.h>\n#include "platform/linux/codecs.h"\n#include "platform/sdl/fonts.h"\n#include "platform/sdl/window.h"
platform/web/frame.hpp|#pragma once\n#include "app/app.h"
platform/web/frame.cpp|#include <emscripten.h>\n#include <emscripten/html5.h>\n#include "platform/web/frame.hpp"
platform/headless/run.h|#pragma once\n#include <cstdio>\n#include "app/app.h"
platform/headless/pictures.h|#pragma once\n#include <string>\n#include "gfx/codecs.h"
platform/headless/run.cpp|#include "platform/headless/pictures.h"\n#include "platform/headless/run.h"
platform/win32/window.h|#pragma once\n#include <windows.h>
platform/win32/window.cpp|#include <windows.h>\n#include <ShellAPI.h>\n#include <wincodec.h>\n#include "app/app.h"\n#include "platform/win32/window.h"
tools/art/make_art.py|#include <SDL.h> (not a C++ file)
tools/replay/runner.h|#pragma once\n#include "platform/headless/run.h"\n#include "platform/posix/files.h"
tools/replay/runner.cpp|#include <png.h>\n#include <nlohmann/json.hpp>\n#include <sys/stat.h>\n#include "tools/replay/runner.h"
tools/glyphs/make_glyphs.cpp|#include "platform/sdl/fonts.h"
tests/gfx/jpeg_writer.h|#pragma once\n#include <jpeglib.h>
bench/gfx_bench.cpp|#include <benchmark/benchmark.h>\n#include "gfx/codecs.h"\n#include "tests/gfx/jpeg_writer.h"
bench/web/cost.cpp|#include <emscripten.h>\n#include "app/app.h"
fuzz/replay_fuzzer.cpp|#include <unistd.h>\n#include "tools/replay/runner.h"
gfx/lookalikes.cpp|// #include "platform/web/frame.hpp"\n/* #include <SDL.h>\n   #include "app/app.h" */\n#include "gfx/surface.h" // #include <SDL.h>\n#include <vector> /* a comment\n#include <SDL.h>\n*/\nconst char* kPattern = "Graphics/*";\nconst char kQuote = '"';\nconst int kMillion = 1'000'000;\nconst char* kText = R"x(\n#include <SDL.h>\n#include "app/app.h"\n/* )" )x";\nconst char* kRaw = u8R"(//)";\n#include "gfx/surface.h"'''

# file | its text, @ROOT@ standing for the tree's folder | what the check
# must print. Files named unbuilt* are left out of the compile commands.
CASES = r'''app/bad.cpp|#include "platform/sdl/window.h"|app/bad.cpp:1: app may not include "platform/sdl/window.h"
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
gfx/header_name.cpp|#include "gfx//surface.h"\n#include "app/app.h"|gfx/header_name.cpp:2: gfx may not include "app/app.h"
gfx/macro.cpp|#define WEB "platform/web/frame.hpp"\n#include WEB|gfx/macro.cpp:2: gfx may not include "platform/web/frame.hpp"
gfx/no_name.cpp|#define NOTHING 42\n#include NOTHING|gfx/no_name.cpp: the compiler fails on it
platform/sdl/up.cpp|#include "platform/sdl/../web/frame.hpp"|platform/sdl/up.cpp:1: platform/sdl may not include "platform/sdl/../web/frame.hpp" (platform/web/frame.hpp)
platform/sdl/beside.cpp|#include "../web/frame.hpp"|platform/sdl/beside.cpp:1: platform/sdl may not include "../web/frame.hpp" (platform/web/frame.hpp)
platform/sdl/back.cpp|#include "platform\\sdl\\..\\web\\frame.hpp"|platform/sdl/back.cpp: the compiler fails on it
gfx/absolute.cpp|#include "@ROOT@/app/app.h"|gfx/absolute.cpp:1: gfx may not include "@ROOT@/app/app.h" (app/app.h)
platform/sdl/angle.cpp|#include <app/app.h>|platform/sdl/angle.cpp:1: platform/sdl may not include <app/app.h>: a project header in angle brackets
gfx/angle.h|#include <gfx/surface.h>|gfx/angle.h:1: gfx may not include <gfx/surface.h>: a project header
bench/angle.cpp|#include <tests/gfx/jpeg_writer.h>|bench/angle.cpp:1: bench may not include <tests/gfx/jpeg_writer.h>: a project header
gfx/sdl.cpp|#include <SDL.h>|gfx/sdl.cpp:1: gfx may not include <SDL.h>, an SDL header (only platform/sdl, bench/sdl may)
tools/glyphs/ttf.cpp|#include <SDL2/SDL_ttf.h>|tools/glyphs/ttf.cpp:1: tools/glyphs may not include <SDL2/SDL_ttf.h>, an SDL header
tools/glyphs/again.cpp|#include "platform/sdl/fonts.h"\n#include <SDL_ttf.h>|tools/glyphs/again.cpp:2: tools/glyphs may not include <SDL_ttf.h>, an SDL header
platform/linux/image.cpp|#include <SDL_image.h>|platform/linux/image.cpp:1: platform/linux may not include <SDL_image.h>, an SDL header
platform/web/fonts.cpp|#include <fontconfig/fontconfig.h>|platform/web/fonts.cpp:1: platform/web may not include <fontconfig/fontconfig.h>, a fontconfig header (only platform/sdl may)
app/x11.h|#include <X11/Xlib.h>|app/x11.h:1: app may not include <X11/Xlib.h>, an X11 header (only platform/sdl may)
platform/sdl/gif.cpp|#include <gif_lib.h>|platform/sdl/gif.cpp:1: platform/sdl may not include <gif_lib.h>, a giflib header (only gfx may)
tools/replay/jpeg.cpp|#include <jpeglib.h>|tools/replay/jpeg.cpp:1: tools/replay may not include <jpeglib.h>, a libjpeg header (only gfx may)
game/jerror.cpp|#include <jerror.h>|game/jerror.cpp:1: game may not include <jerror.h>, a libjpeg header
bench/browser.cpp|#include <emscripten.h>|bench/browser.cpp:1: bench may not include <emscripten.h>, an emscripten header (only platform/web, bench/web may)
platform/sdl/html5.cpp|#include <emscripten/html5.h>|platform/sdl/html5.cpp:1: platform/sdl may not include <emscripten/html5.h>, an emscripten header
platform/sdl/windows.cpp|#include <Windows.h>|platform/sdl/windows.cpp:1: platform/sdl may not include <Windows.h>, a Windows header (only platform/win32, bench/win32 may)
platform/linux/shell.cpp|#include <shellapi.h>|platform/linux/shell.cpp:1: platform/linux may not include <shellapi.h>, a Windows header
platform/web/codec.cpp|#include <WINCODEC.H>|platform/web/codec.cpp:1: platform/web may not include <WINCODEC.H>, a Windows header
platform/sdl/png.cpp|#include <png.h>|platform/sdl/png.cpp:1: platform/sdl may not include <png.h>, a libpng header (only tools/replay may)
game/json.cpp|#include <nlohmann/json.hpp>|game/json.cpp:1: game may not include <nlohmann/json.hpp>, a JSON for Modern C++ header (only app, tools/replay may)
game/stat.cpp|#include <sys/stat.h>|game/stat.cpp:1: game may not include <sys/stat.h>, a Linux or POSIX system header
tools/glyphs/unistd.cpp|#include <unistd.h>|tools/glyphs/unistd.cpp:1: tools/glyphs may not include <unistd.h>, a Linux or POSIX system header
platform/win32/posix.cpp|#include <pthread.h>|platform/win32/posix.cpp:1: platform/win32 may not include <pthread.h>, a Linux or POSIX system header
fuzz/bench.cpp|#include <benchmark/benchmark.h>|fuzz/bench.cpp:1: fuzz may not include <benchmark/benchmark.h>, a Google Benchmark header (only bench may)
gfx/zlib.cpp|#include <zlib.h>|gfx/zlib.cpp:1: gfx may not include <zlib.h>: it is neither the standard library nor a library the check knows
platform/headless/sdl.cpp|#include "platform/sdl/fonts.h"|platform/headless/sdl.cpp:1: platform/headless may not include "platform/sdl/fonts.h"
platform/headless/wic.cpp|#include "platform/win32/window.h"|platform/headless/wic.cpp:1: platform/headless may not include "platform/win32/window.h"
platform/headless/stat.cpp|#include <sys/stat.h>|platform/headless/stat.cpp:1: platform/headless may not include <sys/stat.h>, a Linux or POSIX system header
platform/win32/linux.cpp|#include "platform/linux/codecs.h"|platform/win32/linux.cpp:1: platform/win32 may not include "platform/linux/codecs.h"
tools/glyphs/web.cpp|#include "platform/web/frame.hpp"|tools/glyphs/web.cpp:1: tools/glyphs may not include "platform/web/frame.hpp"
tools/replay/again.cpp|#include "platform/headless/pictures.h"\n#include "platform/win32/window.h"|tools/replay/again.cpp:2: tools/replay may not include "platform/win32/window.h"
bench/replay.cpp|#include "tools/replay/runner.h"|bench/replay.cpp:1: bench may not include "tools/replay/runner.h"
bench/web/linux.cpp|#include "platform/linux/codecs.h"|bench/web/linux.cpp:1: bench/web may not include "platform/linux/codecs.h"
fuzz/sdl.cpp|#include "platform/sdl/fonts.h"|fuzz/sdl.cpp:1: fuzz may not include "platform/sdl/fonts.h"
gfx/table.txt|#include "app/app.h"|gfx/table.txt:1: gfx may not include "app/app.h"
platform/macos/window.cpp|#include "platform/web/frame.hpp"|platform/macos/window.cpp: a source file in no module of the layering check
tools/other/tool.hh|#include <SDL.h>|tools/other/tool.hh: a source file in no module of the layering check
gfx/unbuilt.cpp|int kUnbuilt;|gfx/unbuilt.cpp: a source file of gfx that this build does not compile'''


def rows(table, root):
    return [[codecs.decode(field.replace('@ROOT@', root), 'unicode_escape')
             for field in line.split('|')] for line in table.splitlines()]


def check(files, root, search='-I'):
    """Writes files under root, their compile commands beside it, and runs
    the check; returns its status and output."""
    build, fakes = root + '-build', root + '-libraries'
    for name, text in files:
        os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
        with open(os.path.join(root, name), 'w') as f:
            f.write(text + '\n')
        # Every angle-bracket name but a project header's becomes an empty
        # stand-in header.
        for header in re.findall(r'<([\w./]+)>', text):
            fake = os.path.join(fakes, header)
            if header.split('/')[0] not in ('app', 'game', 'gfx', 'tests') and not os.path.isdir(fake):
                os.makedirs(os.path.dirname(fake), exist_ok=True)
                with open(fake, 'w') as f:
                    f.write('#pragma once\n')
    commands = [{'directory': root, 'file': os.path.join(root, name),
                 'arguments': [COMPILER, '-std=c++20', search + root, '-isystem', fakes, '-c',
                               os.path.join(root, name), '-o', '/dev/null']}
                for name, _ in files if name.endswith(('.c', '.cc', '.cpp'))
                and not os.path.basename(name).startswith('unbuilt')]
    os.makedirs(build, exist_ok=True)
    with open(os.path.join(build, 'compile_commands.json'), 'w') as f:
        json.dump(commands, f)
    run = subprocess.run([sys.executable, CHECK, build, root, 'native'], capture_output=True,
                         text=True)
    return run.returncode, run.stdout + run.stderr


failures = []
with tempfile.TemporaryDirectory() as work:
    clean = os.path.join(work, 'clean')
    status, out = check(rows(CLEAN, clean), clean)
    if status != 0 or 'every include' not in out:
        failures.append('the clean tree does not pass:\n' + out)

    # Every case at once in a copy of the clean tree, with a link that could
    # bring another module's folder in under an allowed name.
    bad = os.path.join(work, 'bad')
    os.makedirs(os.path.join(bad, 'app'))
    os.symlink('../platform/web', os.path.join(bad, 'app/web'))
    cases = rows(CASES, bad)
    status, out = check(rows(CLEAN, bad) + [case[:2] for case in cases], bad)
    if status == 0:
        failures.append('the tree of bad files passes')
    for file, text, expected in cases + [['app/web', '', 'app/web: a symbolic link']]:
        if expected not in out:
            failures.append('%s (%s): the check does not print %r' % (file, text, expected))

    # With the tree on the quote-only search path, as the build's include
    # roots are, the compiler itself refuses a project header in angle brackets.
    quoted = os.path.join(work, 'quoted')
    status, out = check(rows(CLEAN, quoted) + [['app/angle.cpp', '#include <game/game.h>']],
                        quoted, '-iquote')
    if status == 0 or 'app/angle.cpp: the compiler fails on it' not in out:
        failures.append('an angle-bracket include on a quote-only root compiles:\n' + out)

for failure in failures:
    print('FAIL:', failure)
print('layering check: %d bad cases, the clean and the quote-only tree checked, %d failures'
      % (len(CASES.splitlines()) + 1, len(failures)))
sys.exit(1 if failures else 0)
