#!/usr/bin/python3
"""Packs the game's icon PNGs into the Windows program's icon, assets/orvo.ico.

Every size is stored as its PNG as it is (an icon format Windows reads since
Vista), so the icon shows exactly the pixels of the PNGs. Standard library
only; make_art.py calls it after drawing the PNGs.

Run from anywhere: /usr/bin/python3 tools/art/make_ico.py
"""

import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(ROOT, "assets")
SIZES = (16, 32, 48, 64, 128, 256)


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def make_ico(pngs):
    header = struct.pack("<HHH", 0, 1, len(pngs))
    offset = len(header) + 16 * len(pngs)
    entries, images = b"", b""
    for data in pngs:
        w, h = png_size(data)
        if w > 256 or h > 256:
            raise ValueError("an icon is at most 256 pixels a side")
        # 0 stands for 256 in the directory's one-byte sizes.
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        images += data
    return header + entries + images


def main():
    pngs = []
    for s in SIZES:
        with open(os.path.join(ASSETS, "icon-%d.png" % s), "rb") as f:
            pngs.append(f.read())
    with open(os.path.join(ASSETS, "orvo.ico"), "wb") as f:
        f.write(make_ico(pngs))
    return 0


if __name__ == "__main__":
    sys.exit(main())
