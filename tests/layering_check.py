#!/usr/bin/env python3
"""The layering check, judged from the compiler's own answer.

Each command of BUILD_DIR/compile_commands.json is run again as -E -dI: the
output's line markers name every file the compiler opens, and -dI echoes
every include directive it reads, spelled as after macro expansion, also
one whose file is not opened again (#pragma once, a guard). Each include in
a file of a module is judged: a project file by its real path from
SOURCE_DIR, however it is spelled (.., absolute, through the build's
include-root links); any other header by its spelled name, as a library's or
the standard library's. A header no source includes is judged on its own.
Then the tree: a source file in no module, a symbolic link in a module
folder, a source file of a folder this build compiles but not in its
commands. Prints a line for each problem and fails if there is one.
Usage: layering_check.py BUILD_DIR SOURCE_DIR native|web|windows
"""
import fnmatch
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

# module folder: the project folders it may include from | its libraries.
# A file belongs to the deepest module folder holding it. platform/posix is
# shared by the platforms whose system has the POSIX calls. Two rows reach
# sideways: tools/glyphs renders the glyphs with the SDL window's own label
# text, so that the web and Windows labels match the window's; bench decodes
# JPEG files written by the tests' writer (tests/gfx/jpeg_writer.h).
MODULES = {
    'gfx': 'gfx | utfcpp giflib libjpeg',
    'game': 'gfx game |',
    'app': 'gfx game app | json',
    'platform/posix': 'gfx platform/posix | posix',
    'platform/linux': 'gfx platform/linux platform/posix | posix',
    'platform/sdl': 'gfx game app platform/linux platform/posix platform/sdl '
                    '| posix sdl fontconfig x11',
    'platform/web': 'gfx game app platform/posix platform/web | posix emscripten',
    'platform/headless': 'gfx game app platform/headless |',
    'platform/win32': 'gfx game app platform/win32 | windows',
    'tools/replay': 'gfx game app platform/linux platform/posix platform/headless tools/replay '
                    '| posix libpng json openssl',
    'tools/glyphs': 'gfx game app platform/linux platform/sdl tools/glyphs |',
    'bench': 'gfx game app platform/linux tests/gfx bench | benchmark',
    'bench/web': 'gfx game app platform/web bench/web | emscripten',
    'bench/sdl': 'gfx game app platform/linux platform/sdl bench/sdl | sdl',
    'bench/win32': 'bench/win32 | windows',
    'fuzz': 'gfx game app platform/linux platform/posix tools/replay fuzz | posix',
}
# library: what messages call it | its headers, matched without regard to
# case; "*" stands for any text, slashes included.
LIBRARIES = {
    'sdl': 'an SDL | sdl.h sdl_*.h sdl2/* sdl3/*',
    'fontconfig': 'a fontconfig | fontconfig/*',
    'x11': 'an X11 | x11/*',
    'giflib': 'a giflib | gif_lib.h',
    'libjpeg': 'a libjpeg | jpeglib.h jerror.h jconfig.h jmorecfg.h turbojpeg.h',
    'emscripten': 'an emscripten | emscripten.h emscripten/*',
    'windows': """a Windows | windows.h win*.h ws2*.h shellapi.h shellscalingapi.h shlobj*.h
        shlwapi.h shobjidl*.h shtypes.h shcore.h objbase.h objidl.h ole2.h oleauto.h olectl.h
        oaidl.h unknwn.h wtypes.h combaseapi.h comdef.h comip.h commctrl.h commdlg.h propidl.h
        propkey.h propvarutil.h knownfolders.h dwmapi.h uxtheme.h mmsystem.h mmdeviceapi.h
        audioclient.h xinput.h d2d1*.h d3d*.h dxgi*.h dwrite*.h mfapi.h mfidl.h mfreadwrite.h
        versionhelpers.h processthreadsapi.h fileapi.h handleapi.h synchapi.h libloaderapi.h
        sysinfoapi.h memoryapi.h errhandlingapi.h timeapi.h psapi.h dbghelp.h tlhelp32.h userenv.h
        lmcons.h ntstatus.h ntdef.h sdkddkver.h tchar.h direct.h conio.h io.h process.h crtdbg.h
        imm.h dbt.h setupapi.h hidsdi.h bcrypt.h iphlpapi.h mswsock.h wtsapi32.h atl*.h wrl/*
        wrl.h winrt/*""",
    'libpng': 'a libpng | png.h pngconf.h pnglibconf.h libpng*/*',
    'json': 'a JSON for Modern C++ | nlohmann/*',
    'utfcpp': 'a utfcpp | utf8.h utf8/* utf8cpp/*',
    'openssl': 'an OpenSSL | openssl/*',
    'benchmark': 'a Google Benchmark | benchmark/*',
    'posix': """a Linux or POSIX system | sys/* linux/* asm/* netinet/* arpa/* net/* unistd.h
        pthread.h dlfcn.h fcntl.h strings.h poll.h termios.h dirent.h pwd.h grp.h sched.h
        semaphore.h spawn.h syslog.h netdb.h glob.h fnmatch.h libgen.h execinfo.h elf.h link.h
        mqueue.h aio.h utime.h wordexp.h regex.h ucontext.h err.h error.h malloc.h alloca.h
        features.h endian.h byteswap.h mntent.h paths.h ifaddrs.h sysexits.h getopt.h iconv.h
        langinfo.h nl_types.h ftw.h utmp.h utmpx.h stdio_ext.h""",
}
# The standard library, which every module may include: C++'s headers, and
# C's both as <name.h> and <cname>.
C_HEADERS = '''assert complex ctype errno fenv float inttypes iso646 limits locale math setjmp signal
stdalign stdarg stdatomic stdbit stdbool stdckdint stddef stdint stdio stdlib stdnoreturn string
tgmath threads time uchar wchar wctype'''.split()
STANDARD = set('''algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex
concepts condition_variable contracts coroutine debugging deque exception execution expected
filesystem flat_map flat_set format forward_list fstream functional future generator hazard_pointer
hive initializer_list inplace_vector iomanip ios iosfwd iostream istream iterator latch limits linalg
list locale map mdspan memory memory_resource mutex new numbers numeric optional ostream print queue
random ranges ratio rcu regex scoped_allocator semaphore set shared_mutex simd source_location span
spanstream sstream stack stacktrace stdexcept stdfloat stop_token streambuf string string_view
strstream syncstream system_error text_encoding thread tuple type_traits typeindex typeinfo
unordered_map unordered_set utility valarray variant vector version'''.split() +
               [c + '.h' for c in C_HEADERS] + ['c' + c for c in C_HEADERS])
SOURCES = ('.c', '.cc', '.cpp', '.cxx')
HEADERS = ('.h', '.hh', '.hpp', '.hxx', '.inc', '.inl', '.ipp', '.tpp')
# The build that compiles a folder's or a file's sources (the deepest one
# named); every other source is the native build's.
HOMES = {'platform/web': 'web', 'bench/web': 'web', 'platform/win32': 'windows',
         'bench/win32': 'windows'}

MARKER = re.compile(r'# (\d+) "((?:[^"\\]|\\.)*)"((?: \d)*)$')
DIRECTIVE = re.compile(r'#(include|include_next|import) ([<"])(.*)[>"]( /\* clang -E -dI \*/)?$')


def deepest(path, folders):
    """The deepest of folders holding path, or None."""
    held = [f for f in folders if path == f or path.startswith(f + '/')]
    return max(held, key=len, default=None)


class Check:
    def __init__(self, build, source, tree):
        self.build, self.source, self.tree = build, source, tree
        self.problems, self.names = set(), {}

    def project_name(self, path):
        """A project file's path from the root of the sources (or of the
        build, for a generated one), or None for any other file (the
        build's codecs/ holds libraries, built by scripts/codecs.sh)."""
        if path not in self.names:
            real = os.path.realpath(path)
            if real.startswith(os.path.join(self.build, 'codecs') + os.sep):
                self.names[path] = None
                return None
            roots = [r for r in (self.build, self.source) if real.startswith(r + os.sep)]
            self.names[path] = os.path.relpath(real, roots[0]) if roots else None
        return self.names[path]

    def judge(self, includer, line, angle, spelled, path):
        module = deepest(includer, MODULES)
        if module is None:
            return
        folders, libraries = (part.split() for part in MODULES[module].split('|'))
        where = '%s:%d: %s may not include %s' % (includer, line, module,
                                                   ('<%s>' if angle else '"%s"') % spelled)
        target = self.project_name(path)
        if target is not None:
            if angle:
                self.problems.add(where + ': a project header in angle brackets')
            elif deepest(target, folders) is None:
                self.problems.add('%s%s: it includes only from %s' % (
                    where, '' if target == spelled else ' (%s)' % target, ', '.join(folders)))
            return
        low = spelled.lower()
        library = next((lib for lib, row in LIBRARIES.items() if any(
            fnmatch.fnmatchcase(low, glob) for glob in row.split('|')[1].split())), None)
        if low in STANDARD or library in libraries:
            return
        if library is None:
            self.problems.add(where + ': it is neither the standard library nor a library the '
                              'check knows')
        else:
            users = [m for m, row in MODULES.items() if library in row.split('|')[1].split()]
            self.problems.add('%s, %s header (only %s may)' % (
                where, LIBRARIES[library].split('|')[0].strip(), ', '.join(users)))

    def preprocess(self, entry, unit=None):
        """Runs a compile command (on unit instead of its own file, if given)
        as -E -dI and judges the includes read; returns the project files
        opened."""
        source = unit or os.path.join(entry['directory'], entry['file'])
        if not unit and (self.project_name(source) is None or not source.endswith(SOURCES)):
            return set()  # another project's source (GoogleTest), a resource script
        words = iter(entry['arguments'] if 'arguments' in entry else shlex.split(entry['command']))
        command = []
        for word in words:  # the same, without its output and dependency files
            if word in ('-o', '-MF', '-MT', '-MQ'):
                next(words, None)
            elif word not in ('-c', '-MD', '-MMD'):
                command.append(unit if unit and word == entry['file'] else word)
        run = subprocess.run(command + ['-E', '-dI'], cwd=entry['directory'], capture_output=True,
                             text=True, errors='replace')
        if run.returncode != 0:
            self.problems.add('%s: the compiler fails on it:\n%s' % (
                self.project_name(source) or source, run.stderr.rstrip()))
        stack, opened, pending, line = [source], [source], None, 0

        def not_opened(include):
            # Read but not opened again (#pragma once, a guard): the file is
            # one opened before under that name.
            spelled = os.path.normpath(include[3])
            for path in {p for p in map(os.path.normpath, opened)
                         if p.endswith('/' + spelled) or p == spelled}:
                self.judge(*include, path)

        for text in run.stdout.splitlines():
            marker = MARKER.match(text)
            directive = None if marker else DIRECTIVE.match(text)
            if pending and (directive or (marker and ' 2' in marker[3]) or
                            (not marker and text.strip())):
                not_opened(pending)
                pending = None
            if marker:  # the next line's number and file; 1: entering it, 2: back
                line = int(marker[1]) - 1
                path = os.path.join(entry['directory'], re.sub(r'\\(.)', r'\1', marker[2]))
                if ' 1' in marker[3]:
                    if pending:
                        self.judge(*pending, path)
                    stack.append(path)
                    opened.append(path)
                    pending = None
                elif ' 2' in marker[3] and len(stack) > 1:
                    stack.pop()
                continue
            line += 1
            if directive and self.project_name(stack[-1]):
                pending = (self.project_name(stack[-1]), line, directive[2] == '<', directive[3])
        if pending:
            not_opened(pending)
        return {self.project_name(p) for p in opened} - {None}

    def tree_files(self):
        """The source files under the module folders; links are reported."""
        files = []
        for top in sorted({m.split('/')[0] for m in MODULES}):
            for folder, dirs, names in os.walk(os.path.join(self.source, top)):
                for name in dirs + names:
                    rel = os.path.relpath(os.path.join(folder, name), self.source)
                    if os.path.islink(os.path.join(folder, name)):
                        self.problems.add(rel + ": a symbolic link, which could bring another "
                                          "module's files in")
                    elif name in names and name.endswith(SOURCES + HEADERS):
                        files.append(rel)
        return files

    def run(self):
        with open(os.path.join(self.build, 'compile_commands.json')) as f:
            entries = json.load(f)
        with ThreadPoolExecutor(os.cpu_count()) as pool:
            opened = set().union(*pool.map(self.preprocess, entries))
        compiled = {self.project_name(os.path.join(e['directory'], e['file'])): e for e in entries}
        built = {deepest(f, MODULES): e for f, e in compiled.items() if f}
        alone = []
        for rel in self.tree_files():
            module = deepest(rel, MODULES)
            if module is None:
                self.problems.add(rel + ': a source file in no module of the layering check')
            elif HOMES.get(deepest(rel, HOMES), 'native') != self.tree or module not in built:
                continue  # judged by the build that compiles its folder
            elif rel.endswith(SOURCES) and rel not in compiled:
                self.problems.add('%s: a source file of %s that this build does not compile'
                                  % (rel, module))
            elif rel.endswith(HEADERS) and rel not in opened:
                alone.append(rel)
        # A header that no source includes is judged alone, with the command
        # of a source of its module.
        with tempfile.TemporaryDirectory() as scratch, ThreadPoolExecutor(os.cpu_count()) as pool:
            for i, rel in enumerate(alone):
                with open(os.path.join(scratch, '%d.cpp' % i), 'w') as f:
                    f.write('#include "%s"\n' % os.path.join(self.source, rel))
            list(pool.map(lambda i: self.preprocess(built[deepest(alone[i], MODULES)],
                                                    os.path.join(scratch, '%d.cpp' % i)),
                          range(len(alone))))
        for problem in sorted(self.problems):
            print(problem)
        if not self.problems:
            print('layering: every include of the %d files of this build is in its place'
                  % (len(entries) + len(alone)))
        return 1 if self.problems else 0


if __name__ == '__main__':
    if len(sys.argv) != 4 or sys.argv[3] not in ('native', 'web', 'windows'):
        sys.exit('usage: layering_check.py BUILD_DIR SOURCE_DIR native|web|windows')
    sys.exit(Check(*(os.path.realpath(p) for p in sys.argv[1:3]), sys.argv[3]).run())
