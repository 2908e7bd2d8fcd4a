#!/bin/sh
# Builds the picture libraries of the web page and the Windows program,
# giflib and libjpeg-turbo, from Debian 12's own source packages: the
# versions and patches of the Linux build's libgif-dev and
# libjpeg62-turbo-dev, so that every platform decodes the game's pictures to
# the same pixels. Installs them as static libraries into BUILD_DIR/codecs/
# (include/, lib/, share/licenses/), the folder that CMake's
# ORVO_CODECS_PREFIX names (cmake/codecs.cmake), and prints that folder's
# path as its last line.
# Usage: scripts/codecs.sh web|windows BUILD_DIR
#   web: compiled with emscripten (emcmake); windows: with mingw-w64 and the
#   project's toolchain file (platform/win32/mingw-w64-x86_64.cmake).
# The sources are fetched with "apt-get source" under an apt configuration of
# the script's own (BUILD_DIR/codecs-work/apt/): deb-src lines for bookworm,
# bookworm-updates and bookworm-security on the mirrors the machine's apt
# uses, signed by Debian's archive keyring. The machine's apt sources and
# state are left alone, and neither root nor sudo is needed. Once built, a
# run with the same versions, compiler and recipe does nothing.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
usage() { echo "usage: scripts/codecs.sh web|windows BUILD_DIR" >&2; exit 2; }
[ $# -eq 2 ] || usage
target=$1
case $target in web | windows) ;; *) usage ;; esac
mkdir -p "$2"
build=$(cd "$2" && pwd)
prefix=$build/codecs
work=$build/codecs-work

# The versions Debian 12 ships, which the Linux build links. Anything else in
# the archive stops the build: a new Debian update means a new pin here.
giflib_version=5.2.1-2.5+deb12u1
jpeg_version=1:2.1.5-2
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

fail() { echo "codecs.sh: $*" >&2; exit 1; }

# What the prefix was built from; the same again means nothing to do.
compiler() {
  case $target in
    web) package=emscripten ;;
    windows) package=gcc-mingw-w64-x86-64-posix ;;
  esac
  echo "$package $(dpkg-query -W -f '${Version}' "$package" 2>/dev/null || echo none)"
}
recipe() {
  files="scripts/codecs.sh cmake/giflib/CMakeLists.txt"
  [ "$target" = windows ] && files="$files platform/win32/mingw-w64-x86_64.cmake"
  # shellcheck disable=SC2086 # the file names, split on purpose
  sha256sum $files
}
key() {
  printf 'target %s\ngiflib %s\nlibjpeg-turbo %s\n' "$target" "$giflib_version" "$jpeg_version"
  compiler
  recipe
}
if [ -f "$prefix/codecs.stamp" ] && key | cmp -s - "$prefix/codecs.stamp"; then
  echo "$prefix"
  exit 0
fi

command -v dpkg-source >/dev/null || fail "needs dpkg-dev (scripts/install-deps.sh $target)"
[ -f "$keyring" ] || fail "needs $keyring (debian-archive-keyring)"
mkdir -p "$work/logs"
# Runs a command with its output in a log of its own; on failure shows the
# log's end.
step() {
  log=$work/logs/$1.log
  shift
  if ! "$@" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    fail "failed: $* (whole log: $log)"
  fi
}

# ---- the private apt: sources, state and cache under the build folder ----
apt=$work/apt
apt_run() {
  # Given last, these win over anything in the machine's apt.conf.d: nothing
  # unsigned or unverified is accepted. As root, apt would hand downloads to
  # its _apt user, which cannot write into a build folder, and then download
  # as root anyway with a warning; it is told so at once.
  sandbox=_apt
  [ "$(id -u)" -eq 0 ] && sandbox=root
  APT_CONFIG=$apt/apt.conf "$@" -o Acquire::AllowInsecureRepositories=false \
    -o Acquire::AllowDowngradeToInsecureRepositories=false \
    -o Acquire::AllowWeakRepositories=false -o APT::Get::AllowUnauthenticated=false \
    -o APT::Sandbox::User="$sandbox"
}
# From lines "SUITE COMPONENT URI", the URIs of Debian's archive for the
# suite $1, one a line, each after "live" or "snapshot" (snapshot.debian.org
# and its like: an archive of a past day, whose Release file has expired).
debian_mirrors() {
  awk -v suite="$1" '$1 != suite || $2 != "main" || seen[$3]++ { next }
    $3 ~ /\/debian(-security)?\/$/ { print "live", $3 }
    $3 ~ /\/archive\/debian(-security)?\/[0-9]+T[0-9]+Z\/$/ { print "snapshot", $3 }'
}
# The deb-src stanzas for a suite, on the mirrors of the machine's apt
# sources (one-line or deb822, as apt reads them) for it, or on Debian's
# own when it has none. Only Debian's archive layout counts (component
# main, a path ending in debian/ or debian-security/): other vendors'
# repositories name their suites after Debian's too, but hold no Debian
# sources and are not signed by Debian.
stanzas() {
  # shellcheck disable=SC2016 # apt expands $(RELEASE), $(COMPONENT) and $(REPO_URI)
  found=$(env -u APT_CONFIG apt-get indextargets --no-release-info \
    --format '$(RELEASE) $(COMPONENT) $(REPO_URI)' 2>/dev/null | debian_mirrors "$1")
  if [ -z "$found" ]; then
    case $1 in
      *-security) found="live http://deb.debian.org/debian-security/" ;;
      *) found="live http://deb.debian.org/debian/" ;;
    esac
  fi
  for kind in live snapshot; do
    uris=$(echo "$found" | awk -v kind="$kind" '$1 == kind { printf "%s ", $2 }')
    [ -n "$uris" ] || continue
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
      "$uris" "$1" "$keyring"
    # A snapshot is signed as the archive was that day; only its date is old.
    [ "$kind" = snapshot ] && echo "Check-Valid-Until: no"
    echo
  done
}
write_apt_config() {
  mkdir -p "$apt/sources.list.d" "$apt/state/lists/partial" "$apt/cache/archives/partial"
  : >"$apt/sources.list"
  for suite in bookworm bookworm-updates bookworm-security; do
    stanzas "$suite"
  done >"$apt/sources.list.d/debian.sources"
  cat >"$apt/apt.conf" <<EOF
Dir::Etc::sourcelist "$apt/sources.list";
Dir::Etc::sourceparts "$apt/sources.list.d";
Dir::State "$apt/state";
Dir::Cache "$apt/cache";
EOF
}

# The newest of the versions given one a line.
newest() {
  best=""
  while read -r v; do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  echo "$best"
}
# Stops unless the archive's newest version of source package $1 is $2.
check_offered() {
  offered=$(apt_run apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -u)
  [ -n "$offered" ] || fail "the archive offers no source package $1"
  if ! echo "$offered" | grep -qxF "$2"; then
    fail "the archive offers $1 $(echo "$offered" | tr '\n' ' ')but not $2, which this script pins"
  fi
  best=$(echo "$offered" | newest)
  [ "$best" = "$2" ] || fail "the archive offers $1 $best, newer than the $2 this script pins:" \
    "Debian 12 has updated it; pin the new version here once the Linux build has it too"
}
# Every file a .dsc lists must have the SHA-256 the .dsc gives it. The .dsc
# itself came from the archive's Sources index, which apt checked against
# the signed Release file (its own signature is the uploader's, whose keys
# are not on the machine).
verify_dsc() {
  awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 }
       on && NF == 3 { print $1 "  " $3 }' "$1" >"$1.sha256"
  [ -s "$1.sha256" ] || fail "$1 lists no SHA-256 checksums"
  (cd "$(dirname "$1")" && sha256sum --quiet --strict -c "$(basename "$1").sha256") >&2 ||
    fail "a file of $1 does not match its checksum; remove $(dirname "$1") to fetch them again"
}
upstream() { v=${1#*:}; echo "${v%-*}"; }
dsc_name() { echo "$1_${2#*:}.dsc"; }

sources=$work/sources
mkdir -p "$sources"
giflib_dsc=$sources/$(dsc_name giflib "$giflib_version")
jpeg_dsc=$sources/$(dsc_name libjpeg-turbo "$jpeg_version")
if [ ! -f "$giflib_dsc" ] || [ ! -f "$jpeg_dsc" ]; then
  echo "codecs.sh: fetching giflib $giflib_version and libjpeg-turbo $jpeg_version" >&2
  write_apt_config
  # Every index or none: what the archive offers is judged on all three.
  step apt-update apt_run apt-get update --error-on=any
  check_offered giflib "$giflib_version"
  check_offered libjpeg-turbo "$jpeg_version"
  (cd "$sources" && step apt-source apt_run apt-get source --download-only --only-source \
    "giflib=$giflib_version" "libjpeg-turbo=$jpeg_version")
fi
for package in libgif-dev:"$giflib_version" libjpeg62-turbo-dev:"$jpeg_version"; do
  installed=$(dpkg-query -W -f '${Version}' "${package%%:*}" 2>/dev/null || true)
  if [ -n "$installed" ] && [ "$installed" != "${package#*:}" ]; then
    echo "codecs.sh: warning: this machine's ${package%%:*} is $installed, not ${package#*:}:" \
      "the Linux build may decode differently" >&2
  fi
done
verify_dsc "$giflib_dsc"
verify_dsc "$jpeg_dsc"
# Unpacked afresh, with Debian's patches applied by dpkg-source as "apt-get
# source" does (the checksums were checked above).
giflib_src=$sources/giflib-$(upstream "$giflib_version")
jpeg_src=$sources/libjpeg-turbo-$(upstream "$jpeg_version")
rm -rf "$giflib_src" "$jpeg_src"
step unpack-giflib dpkg-source --no-check -x "$giflib_dsc" "$giflib_src"
step unpack-libjpeg-turbo dpkg-source --no-check -x "$jpeg_dsc" "$jpeg_src"

# ---- the static libraries, for the target ----
echo "codecs.sh: building them for $target" >&2
case $target in
  web)
    # Emscripten's optimizer finds Debian's acorn only through NODE_PATH.
    export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
    # CMake's checks run their programs in Node, whose exit status is then
    # their answer. emcmake would start Node with a flag for threads that
    # newer Node refuses; and this emscripten's programs load their .wasm
    # with fetch() when Node has it, which fails on a file name.
    node=$(command -v node || command -v nodejs) || fail "needs Node.js (nodejs)"
    configure() {
      emcmake cmake "-DCMAKE_CROSSCOMPILING_EMULATOR=$node;--no-experimental-fetch" "$@"
    }
    size_t_bytes=4
    cflags="" ;;
  windows)
    configure() {
      cmake -DCMAKE_TOOLCHAIN_FILE="$root/platform/win32/mingw-w64-x86_64.cmake" "$@"
    }
    size_t_bytes=8
    # Each function in a section of its own, so that the program's linker
    # drops those the game never calls; the C library's own printf and
    # scanf (msvcrt's) for libjpeg's error texts and its JPEGMEM setting,
    # rather than a second copy of MinGW's in every program.
    cflags="-ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0" ;;
esac
# Built for size: three small pictures are decoded once, at start-up, and
# the libraries are a large part of the page's and orvo.exe's bytes.
build_type=MinSizeRel
stage=$work/stage
rm -rf "$stage" "$work/giflib-build" "$work/libjpeg-turbo-build"
jobs=$(nproc)
# giflib's library files are those its (patched) Makefile builds the library
# from: make itself reads them out of it.
# shellcheck disable=SC2016 # make expands $(SOURCES)
giflib_files=$(printf 'orvo-library-files:\n\t@echo $(SOURCES)\n' |
  make -s -C "$giflib_src" -f Makefile -f - orvo-library-files | tr ' ' ';')
[ -n "$giflib_files" ] || fail "no library files found in giflib's Makefile"
step giflib-configure configure -S "$root/cmake/giflib" -B "$work/giflib-build" \
  -DCMAKE_BUILD_TYPE=$build_type -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$stage" \
  -DGIFLIB_SOURCE_DIR="$giflib_src" -DGIFLIB_SOURCES="$giflib_files"
step giflib-build cmake --build "$work/giflib-build" -j "$jobs"
step giflib-install cmake --install "$work/giflib-build"
# libjpeg-turbo: the static library alone, without the TurboJPEG API, the
# tools and the tests, and in plain C: its SIMD code needs NASM on Windows
# and has no WebAssembly version, and the C code decodes to the same pixels
# as the SIMD code of the Linux build (the test codecs.same_pixels compares
# them). Its version string holds the day of the build; as in Debian's build,
# that is the day of its changelog's last entry, so that the same sources
# give the same library (and the same orvo.exe) on any day.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$jpeg_src/debian/changelog" -STimestamp)
export SOURCE_DATE_EPOCH
step libjpeg-turbo-configure configure -S "$jpeg_src" -B "$work/libjpeg-turbo-build" \
  -DCMAKE_BUILD_TYPE=$build_type -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$stage" \
  -DENABLE_SHARED=OFF \
  -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DWITH_SIMD=OFF
# Its checks measured the target's types, not the host's (nor a failure).
grep -q "^#define SIZEOF_SIZE_T  $size_t_bytes\$" "$work/libjpeg-turbo-build/jconfigint.h" ||
  fail "libjpeg-turbo's configuration got the size of size_t wrong: $(grep SIZEOF_SIZE_T \
    "$work/libjpeg-turbo-build/jconfigint.h")"
step libjpeg-turbo-build cmake --build "$work/libjpeg-turbo-build" -j "$jobs" --target jpeg-static
# Its install rules would want the tools too: the library and its four
# public headers are copied as they would install them.
mkdir -p "$stage/include" "$stage/lib"
cp "$work/libjpeg-turbo-build/libjpeg.a" "$stage/lib/"
cp "$work/libjpeg-turbo-build/jconfig.h" "$jpeg_src/jerror.h" "$jpeg_src/jmorecfg.h" \
  "$jpeg_src/jpeglib.h" "$stage/include/"
# Their licences, for whatever ships a program built with them.
mkdir -p "$stage/share/licenses/giflib" "$stage/share/licenses/libjpeg-turbo"
cp "$giflib_src/COPYING" "$giflib_src/debian/copyright" "$stage/share/licenses/giflib/"
cp "$jpeg_src/LICENSE.md" "$jpeg_src/README.ijg" "$jpeg_src/debian/copyright" \
  "$stage/share/licenses/libjpeg-turbo/"
# The notice that ships beside a program built with them (the page's
# notices.txt, the zip's NOTICES.txt): both licences ask for their texts to
# go with the program, and the IJG's for its credit line.
{
  printf 'Orvo decodes its pictures with giflib %s and libjpeg-turbo %s,\n' \
    "$(upstream "$giflib_version")" "$(upstream "$jpeg_version")"
  printf 'built from the source packages of Debian 12. Their licences follow.\n\n'
  printf '==== giflib ====\n\n'
  cat "$giflib_src/COPYING"
  printf '\n==== libjpeg-turbo ====\n\n'
  printf 'This software is based in part on the work of the Independent JPEG Group.\n\n'
  cat "$jpeg_src/LICENSE.md"
  printf '\n---- from README.ijg ----\n\n'
  sed -n '/^LEGAL ISSUES$/,/^REFERENCES$/p' "$jpeg_src/README.ijg" | sed '$d'
} >"$stage/share/notices.txt"
grep -q '^LEGAL ISSUES$' "$stage/share/notices.txt" || fail "README.ijg has no LEGAL ISSUES part"
key >"$stage/codecs.stamp"
rm -rf "$prefix"
mv "$stage" "$prefix"
echo "$prefix"
