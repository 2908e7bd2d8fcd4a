#!/bin/sh
# Installs the Debian packages that building, playing, testing and packaging
# Orvo need, when they are missing.
# Usage: scripts/install-deps.sh [play|test|web|package|windows]
set -eu
what=${1:-test}
packages="build-essential cmake pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev
  libfontconfig-dev nlohmann-json3-dev libpng-dev fonts-terminus-otb fonts-liberation2 fonts-dejavu-core
  libgif-dev libjpeg-dev libx11-dev xfonts-base libssl-dev libutfcpp-dev"
if [ "$what" = web ] || [ "$what" = test ]; then
  # The browser's build (emscripten's optimizer needs node-acorn) and its
  # headless browser.
  packages="$packages emscripten node-acorn nodejs python3 chromium ca-certificates"
  # npm comes with Debian's package of that name, or within a Node.js from
  # elsewhere (which then conflicts with Debian's npm).
  command -v npm >/dev/null 2>&1 || packages="$packages npm"
fi
if [ "$what" = windows ] || [ "$what" = test ]; then
  # The Windows program, cross-built with mingw-w64 (GoogleTest from its
  # sources), zipped, and tested under Wine in Xvfb.
  packages="$packages g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest ninja-build zip
    wine wine64 xvfb xauth xdotool imagemagick x11-utils procps python3"
fi
if [ "$what" = package ] || [ "$what" = test ]; then
  # CPack's Debian package (dpkg-shlibdeps is in dpkg-dev) and its checks.
  packages="$packages dpkg-dev file lintian appstream desktop-file-utils"
fi
if [ "$what" = test ]; then
  packages="$packages libgtest-dev libgmock-dev libbenchmark-dev clang-format xvfb xauth xdotool imagemagick
    x11-utils procps desktop-file-utils git firefox-esr"
fi
missing=""
for p in $packages; do
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
