#!/bin/sh
# Renders the label glyph atlas that the web page and the Windows program
# carry, assets/label_glyphs.atlas, with this machine's fonts (Terminus and
# Liberation Sans, found through fontconfig as the SDL window finds them),
# and says whether the committed file changed. Run it when the fonts change
# or a label gains a character the atlas lacks (tools/glyphs/README.md), and
# commit the file it writes.
# Usage: scripts/make-glyphs.sh [--check]
# With --check it writes nothing and exits with status 1 when this machine's
# rendering differs from the committed file.
set -eu
cd "$(dirname "$0")/.."
check=""
for arg in "$@"; do
  case $arg in
    --check) check=yes ;;
    -h | --help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "usage: scripts/make-glyphs.sh [--check]" >&2; exit 2 ;;
  esac
done
scripts/install-deps.sh glyphs >&2
tools=$(scripts/native-tools.sh orvo-make-glyphs)
atlas=assets/label_glyphs.atlas
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tools/orvo-make-glyphs" "$work/first"
# The same fonts must give the same bytes, or the committed file would
# change at every run.
"$tools/orvo-make-glyphs" "$work/second"
if ! cmp -s "$work/first" "$work/second"; then
  echo "scripts/make-glyphs.sh: two renderings differ; nothing written" >&2
  exit 1
fi
size=$(wc -c <"$work/first" | tr -d ' ')
if cmp -s "$work/first" "$atlas"; then
  echo "$atlas is unchanged ($size bytes)"
elif [ -n "$check" ]; then
  echo "$atlas differs from this machine's rendering ($size bytes)"
  exit 1
else
  cp "$work/first" "$atlas"
  echo "$atlas changed ($size bytes): commit it"
fi
