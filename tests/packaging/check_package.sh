#!/bin/sh
# Checks a built Debian package of Orvo: its control fields and dependencies,
# that every file of the layout is in it (and the links point where they
# should), that the version agrees everywhere, and that lintian, the desktop
# entry's validator and the metainfo's validator report no errors. With
# "release" (scripts/package.sh), also that the game holds no state dump:
# a release build leaves it and its JSON library out; orvo-replay keeps them.
# Usage: check_package.sh <orvo_*.deb> <version> [release]
# Exit status 0 when all holds, 1 when something does not, 77 when a tool is
# missing (the test is then skipped).
set -eu
deb=$1
version=$2
release=${3:-}
for tool in dpkg-deb lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: missing tool $tool"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# ---- control fields ----
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = orvo ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), expected $version"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture $(field Architecture)"
depends=$(field Depends)
echo "Depends: $depends"
for needed in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 libgif7 libjpeg62-turbo libpng16-16 \
  libssl3 libstdc++6 fonts-terminus-otb fonts-liberation2; do
  echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -Fqx "$needed" ||
    fail "Depends lacks $needed"
done

# ---- contents ----
dpkg-deb -c "$deb" >"$work/contents"
echo "contents: $(wc -l <"$work/contents") entries, installed size $(field Installed-Size) KiB"
has() { awk '{print $6}' "$work/contents" | grep -qx "./$1" || fail "no $1 in the package"; }
for path in usr/lib/games/orvo/orvo usr/lib/games/orvo/orvo-replay \
  usr/lib/games/orvo/Graphics/GameBack.jpg usr/lib/games/orvo/Graphics/Blocks.gif \
  usr/lib/games/orvo/Graphics/Grid.gif usr/games/orvo usr/games/orvo-replay \
  usr/share/applications/orvo.desktop usr/share/metainfo/orvo.metainfo.xml \
  usr/share/man/man6/orvo.6.gz usr/share/man/man1/orvo-replay.1.gz \
  usr/share/doc/orvo/copyright usr/share/doc/orvo/changelog.gz \
  usr/share/doc/orvo/examples/rules_removals.scn usr/share/doc/orvo/examples/rules_removals.out; do
  has "$path"
done
for size in 16 32 48 64 128 256; do
  has "usr/share/icons/hicolor/${size}x${size}/apps/orvo.png"
done
# Nothing outside /usr, nothing owned by anyone but root.
awk '$6 !~ /^\.\/(usr(\/|$))?$/ && $6 !~ /^\.\/usr\// {print $6}' "$work/contents" | grep . &&
  fail "files outside /usr"
awk '$2 != "root/root" {print $2, $6}' "$work/contents" | grep . && fail "files not owned by root"

# ---- the unpacked files ----
root=$work/root
dpkg-deb -x "$deb" "$root"
[ "$(readlink "$root/usr/games/orvo")" = ../lib/games/orvo/orvo ] ||
  fail "/usr/games/orvo points to $(readlink "$root/usr/games/orvo")"
[ "$(readlink "$root/usr/games/orvo-replay")" = ../lib/games/orvo/orvo-replay ] ||
  fail "/usr/games/orvo-replay points to $(readlink "$root/usr/games/orvo-replay")"
for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/orvo.png
  [ -f "$icon" ] || continue
  # The PNG header holds the width and height as big-endian words at 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
# One version everywhere: the package, the replay tool, the metainfo's newest
# release, the changelog's newest entry and the manual pages.
replay_version=$("$root/usr/lib/games/orvo/orvo-replay" --version) || fail "orvo-replay --version failed"
[ "$replay_version" = "orvo-replay $version" ] || fail "orvo-replay --version says: $replay_version"
metainfo=$root/usr/share/metainfo/orvo.metainfo.xml
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$release" = "$version" ] || fail "the metainfo's newest release is $release"
entry=$(gzip -dc "$root/usr/share/doc/orvo/changelog.gz" | sed -n '1s/^orvo (\([^)]*\)).*/\1/p')
[ "$entry" = "$version" ] || fail "the changelog's newest entry is $entry"
for page in man6/orvo.6.gz man1/orvo-replay.1.gz; do
  gzip -dc "$root/usr/share/man/$page" | head -n 1 | grep -q "\"orvo $version\"" ||
    fail "$page does not name version $version"
done
# The replay tool runs a shipped example with its pictures and gives the
# output shipped with it.
examples=$root/usr/share/doc/orvo/examples
"$root/usr/lib/games/orvo/orvo-replay" "$examples/rules_removals.scn" >"$work/removals.out" ||
  fail "orvo-replay failed on the shipped example"
cmp -s "$work/removals.out" "$examples/rules_removals.out" ||
  fail "orvo-replay's output differs from the shipped example's"

# The JSON library's exceptions keep their type names in a stripped program.
if [ "$release" = release ]; then
  grep -q nlohmann "$root/usr/lib/games/orvo/orvo" && fail "orvo holds the state dump"
  grep -q nlohmann "$root/usr/lib/games/orvo/orvo-replay" || fail "orvo-replay has no state dump"
fi

# ---- validators ----
desktop-file-validate "$root/usr/share/applications/orvo.desktop" || fail "desktop-file-validate"
grep -qx "StartupWMClass=orvo" "$root/usr/share/applications/orvo.desktop" ||
  fail "the desktop entry does not name the window class orvo"
# appstreamcli exits non-zero on errors and on warnings; only errors fail here.
appstreamcli validate --no-net --no-color "$metainfo" >"$work/appstream" 2>&1 || true
cat "$work/appstream"
grep -q "^E:" "$work/appstream" && fail "appstreamcli validate reports errors"
# lintian: errors fail; the warnings and notes are listed.
lintian --tag-display-limit 0 --display-info "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
grep -q "^E:" "$work/lintian" && fail "lintian reports errors"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package checks passed: $deb"
