#!/usr/bin/python3
"""Draws tools/art/removal.png: a removal as the real game draws it.

Runs removal.scn with orvo-replay (the game's own rules and drawing on a
virtual clock), which snapshots the board surface just before a pair lands and
right after the landing's cascade, in which a level-6 block vanishes. The
picture puts the two snapshots side by side, with the board around the
vanished block's cell enlarged twice under each.

Usage: /usr/bin/python3 tools/art/make_removal.py BUILD/orvo-replay
"""

import os
import subprocess
import sys
import tempfile

from PIL import Image

ART = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(ART))
TILE = 48
PAD = 12
# The cell the scenario's level-6 block vanishes from, and the close-up's
# cells around it: columns 0 to 4, rows 3 to 5.
CLOSE_UP = (0, 3, 5, 6)


def snapshots(replay):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(
            [replay, "--graphics", os.path.join(ROOT, "Graphics") + "/", os.path.join(ART, "removal.scn")],
            cwd=folder,
            check=True,
            stdout=subprocess.DEVNULL,
        )
        return [Image.open(os.path.join(folder, name)).convert("RGB") for name in ("removal-before.png", "removal-after.png")]


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    shots = snapshots(os.path.abspath(argv[1]))
    w, h = shots[0].size
    x0, y0, x1, y1 = (v * TILE for v in CLOSE_UP)
    out = Image.new("RGB", (2 * w + PAD, h + PAD + 2 * (y1 - y0)), (40, 40, 44))
    for i, shot in enumerate(shots):
        left = i * (w + PAD)
        out.paste(shot, (left, 0))
        near = shot.crop((x0, y0, x1, y1))
        out.paste(near.resize((near.width * 2, near.height * 2), Image.NEAREST), (left, h + PAD))
    out.save(os.path.join(ART, "removal.png"), optimize=False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
