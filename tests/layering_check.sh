#!/bin/sh
# The modules stack as gfx <- game <- app <- platforms and tools: a module
# includes only its own headers and those of the modules below it, and a
# library's headers only in the modules the tables below give it to.
# Every include directive the preprocessor would accept is read, however it
# is indented, spaced, commented or continued over lines. Prints one line
# for every include that breaks a rule and fails if there is one.
# Usage: layering_check.sh <source root>
set -eu
cd "$1"

# module folder | the project folders it may include from | its libraries
# A file belongs to the deepest module folder holding it; a module whose
# folder does not exist is skipped. Benchmarks include what they measure;
# the one in bench/web/ is compiled for the browser only, the one in
# bench/sdl/ measures the SDL window, the one in bench/win32/ is for
# Windows only.
modules='gfx|gfx|utfcpp
game|gfx game|
app|gfx game app|json
platform/linux|gfx platform/linux|posix giflib libjpeg
platform/sdl|gfx game app platform/linux platform/sdl|posix sdl fontconfig x11
platform/web|gfx game app platform/web|posix emscripten
platform/headless|gfx game app platform/linux platform/win32 platform/headless|posix
platform/win32|gfx game app platform/win32|windows
tools/replay|gfx game app platform/linux platform/headless tools/replay|posix libpng json openssl
tools/glyphs|gfx game app platform/linux platform/sdl tools/glyphs|
bench|gfx game app platform/linux tests/gfx bench|benchmark
bench/web|gfx game app platform/web bench/web|emscripten
bench/sdl|gfx game app platform/linux platform/sdl bench/sdl|sdl
bench/win32|bench/win32|windows
fuzz|gfx game app platform/linux tools/replay fuzz|posix'

# library | its name in messages | its headers in angle brackets, matched
# without regard to case; "*" stands for any text, slashes included.
libraries='sdl|an SDL|sdl.h sdl_*.h sdl2/* sdl3/*
fontconfig|a fontconfig|fontconfig/*
x11|an X11|x11/*
giflib|a giflib|gif_lib.h
libjpeg|a libjpeg|jpeglib.h jerror.h jconfig.h jmorecfg.h turbojpeg.h
emscripten|an emscripten|emscripten.h emscripten/*
windows|a Windows|windows.h win*.h ws2*.h shellapi.h shellscalingapi.h shlobj*.h shlwapi.h
  shobjidl*.h shtypes.h shcore.h objbase.h objidl.h ole2.h oleauto.h olectl.h oaidl.h unknwn.h
  wtypes.h combaseapi.h comdef.h comip.h commctrl.h commdlg.h propidl.h propkey.h propvarutil.h
  knownfolders.h dwmapi.h uxtheme.h mmsystem.h mmdeviceapi.h audioclient.h xinput.h d2d1*.h d3d*.h
  dxgi*.h dwrite*.h mfapi.h mfidl.h mfreadwrite.h versionhelpers.h processthreadsapi.h fileapi.h
  handleapi.h synchapi.h libloaderapi.h sysinfoapi.h memoryapi.h errhandlingapi.h timeapi.h psapi.h
  dbghelp.h tlhelp32.h userenv.h lmcons.h ntstatus.h ntdef.h sdkddkver.h tchar.h direct.h conio.h
  io.h process.h crtdbg.h imm.h dbt.h setupapi.h hidsdi.h bcrypt.h iphlpapi.h mswsock.h wtsapi32.h
  atl*.h wrl/* wrl.h winrt/*
libpng|a libpng|png.h pngconf.h pnglibconf.h libpng*/*
json|a JSON for Modern C++|nlohmann/*
utfcpp|a utfcpp|utf8.h utf8/* utf8cpp/*
openssl|an OpenSSL|openssl/*
benchmark|a Google Benchmark|benchmark/*
posix|a Linux or POSIX system|sys/* linux/* asm/* netinet/* arpa/* net/* unistd.h pthread.h
  dlfcn.h fcntl.h strings.h poll.h termios.h dirent.h pwd.h grp.h sched.h semaphore.h spawn.h
  syslog.h netdb.h glob.h fnmatch.h libgen.h execinfo.h elf.h link.h mqueue.h aio.h utime.h
  wordexp.h regex.h ucontext.h err.h error.h malloc.h alloca.h features.h endian.h byteswap.h
  mntent.h paths.h ifaddrs.h sysexits.h getopt.h iconv.h langinfo.h nl_types.h ftw.h utmp.h
  utmpx.h stdio_ext.h'

# The standard library, which every module may include.
standard='algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex
concepts condition_variable contracts coroutine debugging deque exception execution expected
filesystem flat_map flat_set format forward_list fstream functional future generator hazard_pointer
hive initializer_list inplace_vector iomanip ios iosfwd iostream istream iterator latch limits linalg
list locale map mdspan memory memory_resource mutex new numbers numeric optional ostream print queue
random ranges ratio rcu regex scoped_allocator semaphore set shared_mutex simd source_location span
spanstream sstream stack stacktrace stdexcept stdfloat stop_token streambuf string string_view
strstream syncstream system_error text_encoding thread tuple type_traits typeindex typeinfo
unordered_map unordered_set utility valarray variant vector version
cassert ccomplex cctype cerrno cfenv cfloat cinttypes ciso646 climits clocale cmath csetjmp csignal
cstdalign cstdarg cstdbool cstddef cstdint cstdio cstdlib cstring ctgmath ctime cuchar cwchar cwctype
assert.h complex.h ctype.h errno.h fenv.h float.h inttypes.h iso646.h limits.h locale.h math.h
setjmp.h signal.h stdalign.h stdarg.h stdatomic.h stdbit.h stdbool.h stdckdint.h stddef.h stdint.h
stdio.h stdlib.h stdnoreturn.h string.h tgmath.h threads.h time.h uchar.h wchar.h wctype.h'

# The files read for includes, by the end of their names.
extensions='h hh hpp hxx inc inl ipp tpp c cc cpp cxx'

# Source files are looked for under the first folder of every module, so
# that a file in a folder the table does not name is reported too.
tops=$(echo "$modules" | sed 's|[/|].*||' | sort -u)
present=""
for top in $tops; do
  if [ -d "$top" ]; then present="$present $top"; fi
done
# A header of any folder at the top of the tree, or of one the table names,
# is the project's own.
projects=$(echo "$modules" | cut -d '|' -f 1-2 | tr '|' ' ')
for folder in */; do
  if [ -d "$folder" ]; then projects="$projects ${folder%/}"; fi
done

status=0
if [ -n "$present" ]; then
  # shellcheck disable=SC2086 # folder names, split on purpose
  files=$(find $present \( -type l -exec printf 'link %s\n' {} + \) \
    -o \( -type f -exec printf 'file %s\n' {} + \)) ||
    { echo "layering: cannot list the files of$present"; exit 1; }
  printf '%s\n' "$files" | sort -k 2 |
    ORVO_MODULES=$modules ORVO_LIBRARIES=$libraries ORVO_STANDARD=$standard \
    ORVO_EXTENSIONS=$extensions ORVO_PROJECTS=$projects LC_ALL=C awk '
function words(text, set,    list, n, i) {
  n = split(text, list, /[ \t\n]+/)
  for (i = 1; i <= n; i++) if (list[i] != "") set[list[i]] = 1
}

# A regular expression for a header pattern: "*" is any text.
function pattern(glob,    out, i, c) {
  out = "^"
  for (i = 1; i <= length(glob); i++) {
    c = substr(glob, i, 1)
    if (c == "*") out = out ".*"
    else if (c ~ /[A-Za-z0-9_\/-]/) out = out c
    else out = out "[" c "]"
  }
  return out "$"
}

function report(text) {
  print text
  failed = 1
}

# The deepest module folder holding the file, or "".
function module_of(file,    i, best) {
  best = ""
  for (i = 1; i <= nmodules; i++) {
    if (index(file, folder[i] "/") == 1 && length(folder[i]) > length(best)) best = folder[i]
  }
  return best
}

# The line with comments and raw string literals taken out, each comment
# becoming a space as the preprocessor does. A block comment or a raw string
# left open goes on to the next line (state is kept in "mode").
function clean(text,    out, rest, at, c, j, word, delim, close_at) {
  out = ""
  rest = text
  while (rest != "") {
    if (mode == "comment") {
      at = index(rest, "*/")
      if (at == 0) return out
      rest = substr(rest, at + 2)
      out = out " "
      mode = ""
      continue
    }
    if (mode == "raw") {
      at = index(rest, raw_end)
      if (at == 0) return out
      rest = substr(rest, at + length(raw_end))
      mode = ""
      continue
    }
    if (!match(rest, special)) return out rest
    out = out substr(rest, 1, RSTART - 1)
    c = substr(rest, RSTART, 1)
    rest = substr(rest, RSTART + 1)
    # The header name of an include is taken whole: "//" or "/*" in it
    # starts no comment.
    if ((c == "\"" || c == "<") && out ~ directive_start) {
      close_at = index(rest, c == "<" ? ">" : "\"")
      if (close_at > 0) {
        out = out c substr(rest, 1, close_at)
        rest = substr(rest, close_at + 1)
        continue
      }
    }
    if (c == "/") {
      if (substr(rest, 1, 1) == "/") return out
      if (substr(rest, 1, 1) == "*") {
        mode = "comment"
        rest = substr(rest, 2)
        continue
      }
      out = out c
      continue
    }
    if (c == "<") {
      out = out c
      continue
    }
    # The identifier or number just before the quote: a raw string prefix,
    # a character literal prefix, or a number with digit separators.
    match(out, /[A-Za-z0-9_]*$/)
    word = substr(out, RSTART)
    if (c == apostrophe && word ~ /^[0-9]/) {
      out = out c
      continue
    }
    if (c == "\"" && word ~ /^(u8|u|U|L)?R$/ && match(rest, /^[^ ()\\\t"]*\(/)) {
      delim = substr(rest, 1, RLENGTH - 1)
      raw_end = ")" delim "\""
      rest = substr(rest, RLENGTH + 1)
      mode = "raw"
      out = out "\"\""
      continue
    }
    # An ordinary string or character literal, kept, up to its closing
    # quote or the end of the line.
    out = out c
    while (rest != "") {
      j = substr(rest, 1, 1)
      if (j == "\\") {
        out = out substr(rest, 1, 2)
        rest = substr(rest, 3)
        continue
      }
      out = out j
      rest = substr(rest, 2)
      if (j == c) break
    }
  }
  return out
}

function check(file, line, module, form, header,    where, name, low, i, ok, allowed, top, n, lib) {
  where = file ":" line ": "
  if (form == "other") {
    report(where module " includes " header ", which names no header the check can follow")
    return
  }
  name = form == "quote" ? "\"" header "\"" : "<" header ">"
  low = header
  gsub(/\\/, "/", low)
  if (low ~ /^\// || ("/" low "/") ~ /\/[.][.]?\//) {
    report(where module " may not include " name ": the path is absolute or has . or ..")
    return
  }
  low = tolower(low)
  if (form == "angle") {
    top = low
    sub(/\/.*/, "", top)
    if (low ~ /\// && (top in project)) {
      report(where "project header in angle brackets: " name "; write \"" header "\"")
      return
    }
    if (low in standard) return
    lib = ""
    for (i = 1; i <= npatterns && lib == ""; i++) if (low ~ header_pattern[i]) lib = pattern_library[i]
    if (lib == "") {
      report(where module " may not include " name \
        ": it is neither the standard library nor a library the layering check knows")
      return
    }
    if (!((module SUBSEP lib) in may_use)) {
      report(where module " may not include " name ", " library_name[lib] " header (only " \
        (users[lib] == "" ? "no module" : users[lib]) " may)")
    }
    return
  }
  n = split(allowed_folders[module], allowed, " ")
  ok = 0
  for (i = 1; i <= n; i++) if (index(header, allowed[i] "/") == 1) ok = 1
  if (!ok) {
    report(where module " may not include " name " (it includes only from " \
      allowed_folders[module] ")")
    return
  }
  if (!readable(header)) {
    report(where module " may not include " name ": the check reads no file of that kind")
  }
}

function readable(path,    ext) {
  if (!match(path, /\.[^.\/]*$/)) return 0
  ext = substr(path, RSTART + 1)
  return ext in extension
}

function scan(file, module,    raw, text, logical, first, line, got, s, form, header, at) {
  mode = ""
  line = 0
  logical = ""
  joining = 0
  while ((got = (getline raw < file)) > 0) {
    line++
    if (line == 1) sub(/^\357\273\277/, "", raw)
    sub(/\r$/, "", raw)
    if (!joining) first = line
    # A backslash at the end of a line joins the next one to it.
    joining = raw ~ /\\[ \t]*$/
    if (joining) {
      sub(/\\[ \t]*$/, "", raw)
      logical = logical raw
      continue
    }
    text = logical raw
    logical = ""
    s = clean(text)
    if (s !~ directive) continue
    sub(/^[ \t\f\v]*(#|%:|[?][?]=)[ \t\f\v]*/, "", s)
    sub(/^(include_next|include|import)/, "", s)
    sub(/^[ \t\f\v]+/, "", s)
    sub(/[ \t\f\v]+$/, "", s)
    form = "other"
    header = s
    if (s ~ /^"/ && (at = index(substr(s, 2), "\"")) > 0) {
      form = "quote"
      header = substr(s, 2, at - 1)
    } else if (s ~ /^</ && (at = index(s, ">")) > 0) {
      form = "angle"
      header = substr(s, 2, at - 2)
    }
    check(file, first, module, form, header)
  }
  if (got < 0) report(file ": cannot be read")
  close(file)
}

BEGIN {
  apostrophe = sprintf("%c", 39)
  special = "[\"" apostrophe "/<]"
  directive_start = "^[ \t\f\v]*(#|%:|[?][?]=)[ \t\f\v]*(include_next|include|import)[ \t\f\v]*$"
  directive = "^[ \t\f\v]*(#|%:|[?][?]=)[ \t\f\v]*(include_next|include|import)([^A-Za-z0-9_]|$)"
  words(ENVIRON["ORVO_STANDARD"], standard)
  words(ENVIRON["ORVO_EXTENSIONS"], extension)
  words(tolower(ENVIRON["ORVO_PROJECTS"]), folders)
  for (name in folders) {
    sub(/\/.*/, "", name)
    project[name] = 1
  }
  n = split(ENVIRON["ORVO_LIBRARIES"], rows, "\n")
  lib = ""
  for (i = 1; i <= n; i++) {
    # A row that does not start a library goes on with the one above.
    if (split(rows[i], field, "|") == 3) {
      lib = field[1]
      library_name[lib] = field[2]
      list = field[3]
    } else {
      list = rows[i]
    }
    m = split(list, globs, /[ \t]+/)
    for (j = 1; j <= m; j++) {
      if (globs[j] == "") continue
      npatterns++
      header_pattern[npatterns] = pattern(globs[j])
      pattern_library[npatterns] = lib
    }
  }
  nmodules = split(ENVIRON["ORVO_MODULES"], rows, "\n")
  for (i = 1; i <= nmodules; i++) {
    split(rows[i], field, "|")
    folder[i] = field[1]
    allowed_folders[field[1]] = field[2]
    m = split(field[3], libs, " ")
    for (j = 1; j <= m; j++) {
      may_use[field[1], libs[j]] = 1
      users[libs[j]] = users[libs[j]] == "" ? field[1] : users[libs[j]] ", " field[1]
    }
  }
}

{
  kind = $1
  file = substr($0, length(kind) + 2)
  module = module_of(file)
  if (kind == "link") {
    report(file ": a symbolic link, which could bring another module'\''s files in")
    next
  }
  if (!readable(file)) next
  if (module == "") {
    report(file ": a source file in no module of the layering check")
    next
  }
  scan(file, module)
}

END { exit failed }
' || status=1
fi
if [ "$status" -eq 0 ]; then echo "layering: every include is in its place"; fi
exit "$status"
