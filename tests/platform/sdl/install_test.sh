#!/bin/sh
# Installs the build into a temporary prefix and checks what lands where:
# the program with its pictures under lib/games/orvo, the launcher links in
# games/, the desktop entry and the icons; then starts the installed launcher with a
# broken picture folder to see that it runs from its real folder.
# Usage: install_test.sh <build folder>
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/lib/games/orvo/orvo" ] || fail "no program in lib/games/orvo"
for picture in GameBack.jpg Blocks.gif Grid.gif; do
  cmp -s "$build/Graphics/$picture" "$prefix/lib/games/orvo/Graphics/$picture" ||
    fail "Graphics/$picture missing or different"
done
if [ -e "$build/orvo-replay" ]; then
  [ -x "$prefix/lib/games/orvo/orvo-replay" ] || fail "orvo-replay not installed beside the game"
fi
[ -L "$prefix/games/orvo" ] || fail "games/orvo is not a link"
[ "$(readlink "$prefix/games/orvo")" = "../lib/games/orvo/orvo" ] || fail "games/orvo points elsewhere"
[ "$(readlink -f "$prefix/games/orvo")" = "$(readlink -f "$prefix/lib/games/orvo/orvo")" ] ||
  fail "games/orvo does not reach the program"
if [ -e "$build/orvo-replay" ]; then
  [ "$(readlink -f "$prefix/games/orvo-replay")" = "$(readlink -f "$prefix/lib/games/orvo/orvo-replay")" ] ||
    fail "games/orvo-replay does not reach the replay tool"
fi

desktop="$prefix/share/applications/orvo.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
for line in "Name=Orvo" "Exec=orvo" "Icon=orvo" "Categories=Game;BlocksGame;" "Type=Application"; do
  grep -qx "$line" "$desktop" || fail "desktop entry lacks $line"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop entry does not validate"
fi
for size in 16 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/orvo.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  # The PNG header holds the width and height as big-endian words at 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$dims" = "${size}x${size}" ] || fail "icon ${size} is $dims"
done

# Started by its launcher link, the program looks for Graphics/ beside its
# real file: with a missing picture there, it names that file.
mv "$prefix/lib/games/orvo/Graphics/Grid.gif" "$prefix/lib/games/orvo/Graphics/Grid.old"
status=0
err=$(cd / && env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/games/orvo" 2>&1 >/dev/null) || status=$?
real=$(readlink -f "$prefix/lib/games/orvo")
[ "$status" -eq 1 ] || fail "exit status $status with a missing picture"
[ "$err" = "Error loading game: Path not found: $real/Graphics/Grid.gif" ] || fail "message: $err"
echo "install test passed"
