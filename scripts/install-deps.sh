#!/bin/sh
# Installs the Debian packages that building, playing, testing and packaging
# Orvo need, when they are missing.
# Usage: scripts/install-deps.sh [WHAT...]
# WHAT: play, package, glyphs (scripts/make-glyphs.sh), a stage of the test
# command (werror, sanitize, web, windows), or web-build, windows-build (the
# browser's and the Windows builds without their tests); test stands for
# all four stages, and is the default.
set -eu
# A native orvo-replay alone (built without the window): the web and Windows
# tests compare with it.
replay="build-essential cmake pkg-config nlohmann-json3-dev libpng-dev libgif-dev libjpeg-dev
  libssl-dev libutfcpp-dev"
# Every native build of the game with its window: SDL2, fontconfig and the
# label fonts it draws with (which orvo-make-glyphs also renders the
# committed glyph atlas from), and X's core fonts for its failure box.
native="$replay libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev
  fonts-terminus-otb fonts-liberation2 fonts-dejavu-core xfonts-base"
# What the browser's and the Windows builds compile with; their labels come
# from the committed glyph atlas, so no fonts; giflib's and libjpeg-turbo's
# sources are fetched, checked and unpacked by scripts/codecs.sh.
codecs="dpkg-dev debian-archive-keyring ca-certificates"
web_build="cmake make nlohmann-json3-dev libutfcpp-dev emscripten node-acorn nodejs python3 $codecs"
windows_build="cmake make nlohmann-json3-dev libutfcpp-dev g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 ninja-build zip $codecs"
packages=""
for what in $(echo " ${*:-test} " | sed 's/ test / werror sanitize web windows /'); do
  case $what in
    play | glyphs) packages="$packages $native" ;;
    werror | sanitize)
      # The unit, window and end-to-end tests, the checks of format and
      # layering, the benchmarks, and the Debian package's checks.
      packages="$packages $native libgtest-dev libgmock-dev libbenchmark-dev clang-format xvfb xauth
        xdotool imagemagick x11-utils procps git python3 dpkg-dev file lintian appstream
        desktop-file-utils" ;;
    package) packages="$packages $native dpkg-dev file lintian appstream desktop-file-utils" ;;
    web-build) packages="$packages $web_build" ;;
    web)
      # The build (emscripten's optimizer needs node-acorn), orvo-replay, and
      # the browsers the page is tested in, with a font for their own text.
      packages="$packages $web_build $replay chromium firefox-esr ca-certificates fonts-dejavu-core"
      # npm comes with Debian's package of that name, or within a Node.js from
      # elsewhere (which then conflicts with Debian's npm).
      command -v npm >/dev/null 2>&1 || packages="$packages npm" ;;
    windows-build) packages="$packages $windows_build" ;;
    windows)
      # The Windows program, cross-built with mingw-w64 (GoogleTest from its
      # sources), zipped, and tested under Wine in Xvfb against orvo-replay
      # (with X's core fonts for the xmessage window that takes the keyboard).
      packages="$packages $windows_build $replay googletest wine wine64 xvfb xauth xdotool
        imagemagick x11-utils xfonts-base procps python3" ;;
    *) echo "usage: scripts/install-deps.sh" \
         "[play|package|glyphs|werror|sanitize|web|web-build|windows|windows-build|test]..." >&2
       exit 2 ;;
  esac
done
missing=""
for p in $packages; do
  case " $missing " in *" $p "*) continue ;; esac
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
