#!/bin/sh
# The cost of the worst pictures: starts the window program with each of a
# set of hostile or outsized pictures in place of one of its own, and reports
# the peak memory and time of the start-up against the shipped pictures. The
# program runs without a display, so it ends right after loading them: with
# "no display" when the pictures were accepted, or naming the refused file.
# Usage: bench/picture_limits.sh [BUILD_DIR]   (needs ImageMagick)
set -eu
build=${1:-build-werror}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in convert python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

# ---- The pictures -----------------------------------------------------------
p=$work/pictures
mkdir -p "$p"
python3 - "$p" <<'EOF'
import struct, sys
out = sys.argv[1]
def gif(sw, sh, frames):
    b = b'GIF89a' + struct.pack('<HH', sw, sh) + bytes([0x80, 0, 0, 0, 0, 0, 255, 255, 255])
    for (l, t, w, h) in frames:
        b += b',' + struct.pack('<HHHHB', l, t, w, h, 0) + bytes([2, 2, 0x04, 0x05, 0])
    return b + b';'
open(out + '/huge-16384.gif', 'wb').write(gif(16384, 16384, [(0, 0, 16384, 16384)]))
open(out + '/frame-at-11308.gif', 'wb').write(gif(16, 16, [(11308, 11308, 4000, 4000)]))
# A GIF of almost 8 MiB: a valid start, then LZW data of a single clear
# code's worth of garbage, refused only once giflib has read it.
big = gif(2048, 2048, [])[:-1] + b',' + struct.pack('<HHHHB', 0, 0, 2048, 2048, 0) + bytes([8])
data = bytes(range(256)) * 4
block = bytes([255]) + data[:255]
body = block * ((8 * 1024 * 1024 - len(big)) // 256 - 1)
open(out + '/eight-mib-of-codes.gif', 'wb').write(big + body + b'\x00;')
EOF
convert -size 24x16 gradient:red-blue "$p/small.jpg"
python3 - "$p" <<'EOF'
import struct, sys
out = sys.argv[1]
src = bytearray(open(out + '/small.jpg', 'rb').read())
i = src.index(b'\xff\xc0')
src[i + 5:i + 9] = struct.pack('>HH', 16384, 16384)
open(out + '/huge-16384.jpg', 'wb').write(src)
EOF
# The largest pictures that are accepted: 2048 x 2048 of noise, the JPEGs
# at full colour resolution (the most coefficient memory for a progressive
# file) and within the 8 MiB file limit.
convert -size 2048x2048 xc: +noise Random -colors 256 "$p/largest-noise.gif"
convert -size 2048x2048 xc: +noise Random -quality 85 -sampling-factor 1x1 \
  "$p/largest-baseline.jpg"
convert -size 2048x2048 xc: +noise Random -quality 85 -sampling-factor 1x1 -interlace JPEG \
  "$p/largest-progressive.jpg"
# (The cost of a progressive file with the most scans allowed is measured
# by bench/gfx_bench.)

# ---- The runs ---------------------------------------------------------------
run() {  # $1 label, $2 picture file or "", $3 the game's file it replaces
  root=$work/run
  rm -rf "$root"
  mkdir -p "$root/Graphics"
  cp "$build/orvo" "$root/orvo"
  cp "$source_dir"/Graphics/* "$root/Graphics/"
  [ -n "$2" ] && cp "$2" "$root/Graphics/$3"
  /usr/bin/time -f '%M %e' -o "$work/time" env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    "$root/orvo" 2>"$work/err" >/dev/null || true
  set -- "$1" "$(tail -n 1 "$work/time")" "$(grep 'Error loading game' "$work/err" | sed 's|.*Graphics/||')"
  printf '%-34s %8s KB %6s s   %s\n' "$1" "${2% *}" "${2#* }" "$3"
}
echo "picture                            peak memory   time   outcome"
run "shipped pictures" "" ""
for f in "$p"/*.gif; do run "$(basename "$f") as Blocks.gif" "$f" Blocks.gif; done
for f in "$p"/*.jpg; do run "$(basename "$f") as GameBack.jpg" "$f" GameBack.jpg; done
