#!/bin/sh
# Decodes pictures with the native orvo-picture-digest, on Debian's giflib
# and libjpeg-turbo, and with this build's (COMMAND: the program in Node or
# under Wine), and fails unless both print the same: the libraries' versions,
# then each picture's size and pixel digest, or the same refusal.
# Usage: same_pixels.sh NATIVE PICTURE... -- COMMAND...
set -eu
native=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Copies, numbered: both programs are given the same names, whatever the
# originals' folders (and two names that differ only in case stay apart on
# Windows).
mkdir "$scratch/pictures"
count=0
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  count=$((count + 1))
  cp "$1" "$scratch/pictures/$(printf %02d "$count")-$(basename "$1")"
  shift
done
if [ $# -lt 2 ] || [ "$count" -eq 0 ]; then
  echo "usage: same_pixels.sh NATIVE PICTURE... -- COMMAND..." >&2
  exit 2
fi
shift
"$native" "$scratch"/pictures/* >"$scratch/native" || true
# Windows' line ends become Linux's.
"$@" "$scratch"/pictures/* | tr -d '\r' >"$scratch/built" || true
echo "native, on Debian's libraries:"
cat "$scratch/native"
if [ "$(grep -c ': ' "$scratch/native")" -ne "$count" ]; then
  echo "the native program did not decode every picture" >&2
  exit 1
fi
if diff -u "$scratch/native" "$scratch/built"; then
  echo "this build's libraries decode all $count pictures to the same pixels"
else
  echo "this build's libraries decode differently (-: Debian's, +: this build's)"
  exit 1
fi
