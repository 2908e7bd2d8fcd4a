#!/bin/sh
# Installs the Debian packages that building, playing, testing and packaging
# Orvo need, when they are missing.
# Usage: scripts/install-deps.sh [WHAT...]
# WHAT: play, package, or a stage of the test command (werror, sanitize,
# web, windows); test stands for all four stages, and is the default.
set -eu
# Every native build of the game: the window, orvo-replay, and the glyph
# renderer that the browser's and the Windows builds use.
packages="build-essential cmake pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev
  libfontconfig-dev nlohmann-json3-dev libpng-dev fonts-terminus-otb fonts-liberation2 fonts-dejavu-core
  libgif-dev libjpeg-dev libx11-dev xfonts-base libssl-dev libutfcpp-dev"
for what in $(echo " ${*:-test} " | sed 's/ test / werror sanitize web windows /'); do
  case $what in
    play) ;;
    werror | sanitize)
      # The unit, window and end-to-end tests, the checks of format and
      # layering, the benchmarks, and the Debian package's checks.
      packages="$packages libgtest-dev libgmock-dev libbenchmark-dev clang-format xvfb xauth xdotool
        imagemagick x11-utils procps git python3 dpkg-dev file lintian appstream desktop-file-utils" ;;
    package) packages="$packages dpkg-dev file lintian appstream desktop-file-utils" ;;
    web)
      # The browser's build (emscripten's optimizer needs node-acorn) and the
      # browsers its page is tested in; giflib's and libjpeg-turbo's sources
      # fetched, checked and unpacked by scripts/codecs.sh.
      packages="$packages emscripten node-acorn nodejs python3 chromium firefox-esr ca-certificates
        dpkg-dev debian-archive-keyring"
      # npm comes with Debian's package of that name, or within a Node.js from
      # elsewhere (which then conflicts with Debian's npm).
      command -v npm >/dev/null 2>&1 || packages="$packages npm" ;;
    windows)
      # The Windows program, cross-built with mingw-w64 (GoogleTest from its
      # sources, giflib and libjpeg-turbo from Debian's by scripts/codecs.sh),
      # zipped, and tested under Wine in Xvfb.
      packages="$packages g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest ninja-build
        zip wine wine64 xvfb xauth xdotool imagemagick x11-utils procps python3
        dpkg-dev debian-archive-keyring ca-certificates" ;;
    *) echo "usage: scripts/install-deps.sh [play|package|werror|sanitize|web|windows|test]..." >&2
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
