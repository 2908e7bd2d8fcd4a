#!/usr/bin/python3
"""Draws every picture of the game: the board background, the block sprite
sheet, the game-over grid tile, the window background, the icons and a
preview sheet for checking them.

Run from anywhere: /usr/bin/python3 tools/art/make_art.py
The output is deterministic: fixed seeds, no clock, same bytes every run.

Sprites in Blocks.gif are drawn by the game with two raster passes (mask OR,
then picture AND), so a pixel there is either exact white (transparent) or an
opaque colour that is never exact white. Everything is rendered with binary
coverage: shapes are supersampled, their coverage thresholded, and the colour
of an edge pixel averaged over the covered subpixels only, so no edge ever
blends towards white or towards the background.
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GRAPHICS = os.path.join(ROOT, "Graphics")
ASSETS = os.path.join(ROOT, "assets")
ART = os.path.join(ROOT, "tools", "art")

TILE = 48
COLS, ROWS = 10, 6  # visible board
BOARD_W, BOARD_H = COLS * TILE, ROWS * TILE
SHEET_COLS, FRAMES = 7, 6
WIN_W, WIN_H = 580, 388
BOARD_X, BOARD_Y = 50, 50
SS = 4  # supersampling factor for shapes

WHITE = (255, 255, 255)
NEAR_WHITE = (250, 248, 255)  # brightest colour any opaque sprite pixel may take

# ---------------------------------------------------------------- colour maths


def clamp8(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(clamp8(x + (y - x) * t) for x, y in zip(a, b))


def scale(c, f):
    return tuple(clamp8(x * f) for x in c)


def add(a, b):
    return tuple(clamp8(x + y) for x, y in zip(a, b))


# ---------------------------------------------------------------- binary sprites
#
# A sprite layer is an RGBA image whose alpha is only 0 or 255.


def new_layer(size=TILE):
    return Image.new("RGBA", (size, size), (0, 0, 0, 0))


def resolve(ss_image):
    """Reduces a supersampled RGBA drawing to 1x with hard edges.

    The colour of each pixel is the average of its covered subpixels
    (premultiplied box filter, then un-premultiplied); the pixel is opaque when
    at least half of it is covered."""
    w, h = ss_image.size
    small = ss_image.convert("RGBa").resize((w // SS, h // SS), Image.BOX).convert("RGBA")
    r, g, b, a = small.split()
    a = a.point(lambda v: 255 if v >= 128 else 0)
    return Image.merge("RGBA", (r, g, b, a))


def over(base, top):
    """Pastes the opaque pixels of `top` onto `base` (both binary-alpha)."""
    out = base.copy()
    out.paste(top, (0, 0), top.split()[3])
    return out


def alpha_of(layer):
    return layer.split()[3]


def dilate(mask, steps=1):
    for _ in range(steps):
        mask = mask.filter(ImageFilter.MaxFilter(3))
    return mask


def dilate4(mask):
    """One step of 4-neighbour dilation (rounder than the 3x3 square)."""
    w, h = mask.size
    out = mask.copy()
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        shifted = Image.new("L", (w, h), 0)
        shifted.paste(mask, (dx, dy))
        out = ImageChops.lighter(out, shifted)
    return out


def solid(mask, colour):
    """A layer of one colour wherever `mask` is set."""
    layer = Image.new("RGBA", mask.size, colour + (255,))
    layer.putalpha(mask.point(lambda v: 255 if v else 0))
    return layer


def ring(mask, steps=1, four=False):
    grown = mask
    for _ in range(steps):
        grown = dilate4(grown) if four else dilate(grown)
    return ImageChops.subtract(grown, mask)


# ---------------------------------------------------------------- gem geometry


def regular(n, start_deg):
    return [
        (math.cos(math.radians(start_deg + 360.0 * i / n)), math.sin(math.radians(start_deg + 360.0 * i / n)))
        for i in range(n)
    ]


def star_points(n, inner):
    pts = []
    for i in range(2 * n):
        r = 1.0 if i % 2 == 0 else inner
        a = math.radians(-90 + 180.0 * i / n)
        pts.append((r * math.cos(a), r * math.sin(a)))
    return pts


def chamfer(poly, cut):
    """Cuts each corner of a convex polygon by `cut` of the adjacent edges."""
    out = []
    n = len(poly)
    for i in range(n):
        p, prev, nxt = poly[i], poly[i - 1], poly[(i + 1) % n]
        out.append((p[0] + (prev[0] - p[0]) * cut, p[1] + (prev[1] - p[1]) * cut))
        out.append((p[0] + (nxt[0] - p[0]) * cut, p[1] + (nxt[1] - p[1]) * cut))
    return out


def fit(poly, width, height, cx=24.0, cy=24.0):
    """Scales a unit shape to fit width x height and centres its box on (cx, cy)."""
    xs = [p[0] for p in poly]
    ys = [p[1] for p in poly]
    k = min(width / (max(xs) - min(xs)), height / (max(ys) - min(ys)))
    mx = (max(xs) + min(xs)) / 2
    my = (max(ys) + min(ys)) / 2
    return [((x - mx) * k + cx, (y - my) * k + cy) for x, y in poly]


def centroid(poly):
    return (sum(p[0] for p in poly) / len(poly), sum(p[1] for p in poly) / len(poly))


def scaled_about(poly, centre, k, shift=(0.0, 0.0)):
    cx, cy = centre
    return [(cx + (x - cx) * k + shift[0], cy + (y - cy) * k + shift[1]) for x, y in poly]


LIGHT = (-0.55, -0.835)  # light from the upper left, mostly from above


class Level:
    def __init__(self, name, base, shape, width, height, table=0.5, cy=24.0):
        self.name = name
        self.base = base
        self.shape = shape
        self.width = width
        self.height = height
        self.table = table
        self.cy = cy

    def outline(self, k=1.0):
        poly = fit(self.shape, self.width * k, self.height * k, 24.0, 24.0 + (self.cy - 24.0) * k)
        return poly


LEVELS = {
    # level: hue and cut. Each level has its own colour and its own silhouette.
    1: Level("ruby", (226, 36, 58), regular(16, 360 / 32), 39, 39, table=0.52),
    2: Level("citrine", (250, 178, 18), chamfer(regular(3, -90), 0.17), 43, 40, table=0.44),
    3: Level("emerald", (30, 196, 96), chamfer(regular(4, 45), 0.2), 37, 37, table=0.56),
    4: Level("sapphire", (40, 128, 250), star_points(5, 0.52), 44, 42, table=0.42),
    5: Level("amethyst", (200, 70, 236), regular(6, -90), 40, 44, table=0.5),
}


def facet_shade(base, f, dark_factor=0.34):
    """Colour of a facet whose light factor is f in [-1, 1]."""
    light = mix(base, NEAR_WHITE, 0.55)
    dark = scale(base, dark_factor)
    if f >= 0:
        return mix(base, light, f)
    return mix(base, dark, -f)


def gem_layer(level, k=1.0, brighten=0.0, outline_colour=None, glint=True):
    """Renders one gem at size factor k, brightened towards white by `brighten`."""
    lv = LEVELS[level]
    poly = lv.outline(k)
    c = centroid(poly)
    # The table (the flat top face) sits a little towards the light.
    shift = (-0.9 * k, -1.1 * k)
    table = scaled_about(poly, c, lv.table, shift)
    base = mix(lv.base, NEAR_WHITE, brighten)
    # a brightened gem keeps its hue in the shadows instead of going grey
    dark_factor = 0.34 + 0.4 * brighten

    img = Image.new("RGBA", (TILE * SS, TILE * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    def poly_ss(points, colour):
        d.polygon([(x * SS, y * SS) for x, y in points], fill=colour + (255,))

    n = len(poly)
    for i in range(n):
        p0, p1 = poly[i], poly[(i + 1) % n]
        t0, t1 = table[i], table[(i + 1) % n]
        ex, ey = p1[0] - p0[0], p1[1] - p0[1]
        length = math.hypot(ex, ey) or 1.0
        nx, ny = ey / length, -ex / length  # outward normal for clockwise screen order
        # make sure the normal points away from the centre
        mxp, myp = (p0[0] + p1[0]) / 2 - c[0], (p0[1] + p1[1]) / 2 - c[1]
        if nx * mxp + ny * myp < 0:
            nx, ny = -nx, -ny
        f = nx * LIGHT[0] + ny * LIGHT[1]
        tm = ((t0[0] + t1[0]) / 2, (t0[1] + t1[1]) / 2)
        pm = ((p0[0] + p1[0]) / 2, (p0[1] + p1[1]) / 2)
        # a crown facet split into a kite and two side triangles
        poly_ss([p0, p1, t1, t0], facet_shade(base, f * 0.95, dark_factor))
        poly_ss([p0, pm, tm, t0], facet_shade(base, f * 0.95 + 0.18, dark_factor))
        poly_ss([pm, p1, t1, tm], facet_shade(base, f * 0.95 - 0.12, dark_factor))
    # the table: lit face with a lighter band towards the light
    poly_ss(table, facet_shade(base, 0.42))
    tc = centroid(table)
    inner = scaled_about(table, tc, 0.62, (-0.8 * k, -0.8 * k))
    poly_ss(inner, facet_shade(base, 0.62))
    layer = resolve(img)

    # dark outline hugging the body, plus a darker rim on the shadow side
    mask = alpha_of(layer)
    out_col = outline_colour if outline_colour is not None else mix(scale(lv.base, 0.22), (10, 4, 18), 0.4)
    layer = over(solid(ring(mask, 1), out_col), layer)

    if glint and k >= 0.5:
        gx = int(round(tc[0] - (tc[0] - table[0][0]) * 0.0 - 4 * k))
        gy = int(round(tc[1] - 4 * k))
        sparkle(layer, gx, gy, 3 if k >= 0.8 else 2, NEAR_WHITE, mix(base, NEAR_WHITE, 0.7))
    return layer


def sparkle(layer, cx, cy, r, core, arm):
    """A crisp four-pointed pixel sparkle centred on pixel (cx, cy)."""
    px = layer.load()
    w, h = layer.size

    def put(x, y, c):
        if 0 <= x < w and 0 <= y < h:
            px[x, y] = c + (255,)

    put(cx, cy, core)
    for dist in range(1, r + 1):
        col = core if dist <= max(1, r // 2) else arm
        for dx, dy in ((dist, 0), (-dist, 0), (0, dist), (0, -dist)):
            put(cx + dx, cy + dy, col)
    if r >= 3:
        for dx, dy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
            put(cx + dx, cy + dy, arm)


def ring_points(count, radius, phase, jitter_seed):
    rnd = random.Random(jitter_seed)
    pts = []
    for i in range(count):
        a = math.radians(phase + 360.0 * i / count + rnd.uniform(-8, 8))
        r = radius + rnd.uniform(-1.5, 1.5)
        pts.append((int(round(24 + r * math.cos(a) - 0.5)), int(round(24 + r * math.sin(a) - 0.5))))
    return pts


def glow_ring(mask, colour, dither_colour):
    """A two-pixel halo: a solid inner pixel and a checkered outer one."""
    inner = ring(mask, 1, four=True)
    outer = ring(ImageChops.lighter(mask, inner), 1, four=True)
    checker = Image.new("L", mask.size, 0)
    cp = checker.load()
    for y in range(mask.size[1]):
        for x in range(mask.size[0]):
            cp[x, y] = 255 if (x + y) % 2 == 0 else 0
    outer = ImageChops.multiply(outer, checker)
    return over(solid(outer, dither_colour), solid(inner, colour))


def merge_frame(level, frame):
    """Frame 0 is the gem at rest; 1 to 5 glow, flash, shrink and scatter."""
    lv = LEVELS[level]
    light = mix(lv.base, NEAR_WHITE, 0.55)
    lighter = mix(lv.base, NEAR_WHITE, 0.8)
    if frame == 0:
        return gem_layer(level)
    if frame == 1:
        gem = gem_layer(level, 0.94, brighten=0.22)
        halo = glow_ring(alpha_of(gem), light, lv.base)
        return over(halo, gem)
    if frame == 2:
        gem = gem_layer(level, 0.86, brighten=0.5, outline_colour=lv.base)
        halo = glow_ring(alpha_of(gem), lighter, light)
        layer = over(halo, gem)
        for x, y in ring_points(4, 20, 45, level * 10 + 2):
            sparkle(layer, x, y, 2, NEAR_WHITE, light)
        return layer
    if frame == 3:
        layer = gem_layer(level, 0.58, brighten=0.7, outline_colour=light, glint=False)
        for x, y in ring_points(6, 16, 15, level * 10 + 3):
            sparkle(layer, x, y, 3, NEAR_WHITE, light)
        return layer
    if frame == 4:
        layer = gem_layer(level, 0.3, brighten=0.85, outline_colour=lighter, glint=False)
        for x, y in ring_points(8, 19, 35, level * 10 + 4):
            sparkle(layer, x, y, 2, lighter, light)
        return layer
    # frame 5: only a few dying sparks at the rim
    layer = new_layer()
    for x, y in ring_points(6, 21, 5, level * 10 + 5):
        sparkle(layer, x, y, 1, light, lv.base)
    return layer


# Column 6, row 0 is what a level-6 block leaves behind: the game does not
# redraw the emptied cell, so this tile stays there until something covers it.
# It must read as an empty slot, so it is an afterglow on the board's own dark
# violet: a dithered scorch a shade darker than the slot, a few ash specks a
# shade lighter and a handful of dim embers. No outline, no solid area, and
# nothing near as bright as a gem's lit facets.
SOOT = (3, 2, 7)
ASH = (38, 28, 54)
EMBER_HOT = (166, 102, 50)
EMBER_WARM = (104, 58, 38)
EMBER_DULL = (60, 34, 36)
AFTERGLOW_COLOURS = (SOOT, ASH, EMBER_HOT, EMBER_WARM, EMBER_DULL)
AFTERGLOW_CENTRE = (24.0, 25.0)
STREAKS = (-96, -40, 8, 52, 118, 160, 206)  # directions of the ash streaks, in degrees
# Where the embers glow: (dx, dy) from the centre; as the afterglow cools the
# last ones listed go out first.
EMBERS = ((-1, -1), (4, 3), (-5, 4), (6, -4), (-7, -3), (1, 8), (-3, -8), (9, 1))


def resting_cover():
    """The pixels that every block at rest covers. A block that falls into the
    emptied cell is drawn without the background being restored first, so the
    afterglow stays inside this area: any block landing on it hides it."""
    cover = None
    for level in LEVELS:
        a = alpha_of(merge_frame(level, 0))
        cover = a if cover is None else ImageChops.multiply(cover, a)
    return cover


def afterglow_frame(frame, cover):
    """Row 0: the afterglow. Rows 1 to 5 (never drawn in play, but the bomb
    would play them for a cell holding a 6) let it cool away: the same pixels,
    fewer of them each frame, embers dimming and going out."""
    layer = new_layer()
    px = layer.load()
    cp = cover.load()
    cx, cy = AFTERGLOW_CENTRE
    # One fixed draw per pixel for every frame, so each frame keeps a subset of
    # the pixels of the one before: the scorch thins, it does not jump about.
    rnd = random.Random(66)
    wobble = [rnd.uniform(-1.0, 1.0) for _ in range(3)]
    keep = 1.0 - frame / 5.5
    for y in range(TILE):
        for x in range(TILE):
            u = rnd.random()
            if not cp[x, y]:
                continue
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            r = math.hypot(dx, dy)
            a = math.atan2(dy, dx)
            # an irregular blot: its radius wanders with the angle
            edge = 9.5 + 1.6 * sum(w * math.sin((i + 2) * a + i) for i, w in enumerate(wobble))
            if r < edge:
                density = 0.62 - 0.4 * (r / edge)
                if u < density * keep:
                    px[x, y] = SOOT + (255,)
            elif r < edge + 2.5:
                if u < 0.12 * keep:
                    px[x, y] = ASH + (255,)
    # short streaks of ash thrown outwards by the blast: dashes of two pixels
    # with a gap, the outer dashes going first as it cools
    for deg in STREAKS:
        a = math.radians(deg)
        for dist in (7, 8, 11, 12, 15):
            if dist > 15 - 3 * frame:
                break
            x = int(math.floor(cx + dist * math.cos(a)))
            y = int(math.floor(cy + dist * math.sin(a)))
            if cp[x, y]:
                px[x, y] = ASH + (255,)
    # embers: every third one starts hot, the others warm; each frame one more
    # goes out, and every other frame the rest dim a step (hot, warm, dull)
    cooling = (EMBER_HOT, EMBER_WARM, EMBER_DULL)
    for i, (ex, ey) in enumerate(EMBERS[: len(EMBERS) - frame]):
        step = min(len(cooling) - 1, (1 if i % 3 else 0) + (frame + 1) // 2)
        x, y = int(cx) + ex, int(cy) + ey
        if cp[x, y]:
            px[x, y] = cooling[step] + (255,)
    if frame <= 1:
        # the hottest ember still throws a tiny cross of dull light
        x, y = int(cx) + EMBERS[0][0], int(cy) + EMBERS[0][1]
        for ox, oy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if cp[x + ox, y + oy]:
                px[x + ox, y + oy] = (EMBER_DULL if frame == 0 else SOOT) + (255,)
    return layer


# ---------------------------------------------------------------- the sprite sheet


def build_sheet():
    sheet = Image.new("RGBA", (SHEET_COLS * TILE, FRAMES * TILE), (0, 0, 0, 0))
    cover = resting_cover()
    for frame in range(FRAMES):
        for level in range(1, 6):
            tile = merge_frame(level, frame)
            sheet.paste(tile, (level * TILE, frame * TILE))
        sheet.paste(afterglow_frame(frame, cover), (6 * TILE, frame * TILE))
    return sheet


def sq_dist(a, b):
    return (a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2


def refine_palette(pixels, count, rounds=10):
    """A palette of at most `count` colours for `pixels`: median cut to start,
    then a few weighted k-means rounds to pull the entries onto the colours
    that matter (facet colours are flat and cover many pixels)."""
    strip = Image.new("RGB", (len(pixels), 1))
    strip.putdata(pixels)
    quant = strip.quantize(colors=count, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    flat = quant.getpalette()
    used = sorted(set(quant.getdata()))
    pal = [tuple(flat[i * 3 : i * 3 + 3]) for i in used]
    weights = {}
    for c in pixels:
        weights[c] = weights.get(c, 0) + 1
    colours = sorted(weights)
    for _ in range(rounds):
        sums = [[0, 0, 0, 0] for _ in pal]
        for c in colours:
            i = min(range(len(pal)), key=lambda j: sq_dist(c, pal[j]))
            wgt = weights[c]
            acc = sums[i]
            acc[0] += c[0] * wgt
            acc[1] += c[1] * wgt
            acc[2] += c[2] * wgt
            acc[3] += wgt
        pal = [
            (clamp8(a[0] / a[3]), clamp8(a[1] / a[3]), clamp8(a[2] / a[3])) if a[3] else pal[i]
            for i, a in enumerate(sums)
        ]
    return pal


def write_sheet_gif(sheet, path, reserved=AFTERGLOW_COLOURS):
    """Writes the sheet as a palette GIF: 255 colours for the opaque pixels,
    chosen from those pixels alone, and one exact white for transparency.
    The `reserved` colours get entries of their own: the afterglow covers too
    few pixels for the palette search to keep its faint shades, and without
    them it would take the nearest gem outline colour instead."""
    rgb = sheet.convert("RGB")
    alpha = alpha_of(sheet)
    w, h = sheet.size
    src = rgb.load()
    ap = alpha.load()
    opaque = []
    for y in range(h):
        for x in range(w):
            if ap[x, y]:
                c = src[x, y]
                if c == WHITE:
                    c = NEAR_WHITE
                opaque.append(c)
    rest = [c for c in opaque if c not in reserved]
    pal = list(reserved) + refine_palette(rest, 255 - len(reserved))
    for i, c in enumerate(pal):
        if c == WHITE:
            pal[i] = NEAR_WHITE
    nearest = {}
    indices = []
    for c in opaque:
        if c not in nearest:
            nearest[c] = min(range(len(pal)), key=lambda i: sq_dist(c, pal[i]))
        indices.append(nearest[c])
    pal = [v for c in pal for v in c] + [0] * (3 * (255 - len(pal)))
    out = Image.new("P", (w, h), 255)
    out.putpalette(pal + [255, 255, 255])
    op = out.load()
    i = 0
    for y in range(h):
        for x in range(w):
            if ap[x, y]:
                op[x, y] = indices[i]
                i += 1
    out.save(path, optimize=False)
    return out


def check_sheet_gif(path, sheet):
    """Reads the written GIF back and checks the transparency contract."""
    back = Image.open(path)
    assert back.size == (SHEET_COLS * TILE, FRAMES * TILE), back.size
    assert "transparency" not in back.info, "the sheet must not carry a GIF transparency index"
    rgb = back.convert("RGB").load()
    ap = alpha_of(sheet).load()
    w, h = back.size
    for y in range(h):
        for x in range(w):
            c = rgb[x, y]
            if ap[x, y]:
                assert c != WHITE, ("opaque pixel became white", x, y)
            else:
                assert c == WHITE, ("transparent pixel is not white", x, y, c)
    for y in range(h):
        for x in range(TILE):
            assert rgb[x, y] == WHITE, "column 0 must be empty"
    # the afterglow keeps its exact colours and stays where every block covers it
    drawn = sheet.load()
    cover = resting_cover().load()
    for y in range(h):
        for x in range(6 * TILE, 7 * TILE):
            if ap[x, y]:
                assert rgb[x, y] == drawn[x, y][:3], ("afterglow colour changed", x, y)
                assert cover[x - 6 * TILE, y % TILE], ("afterglow outside every block", x, y)


# ---------------------------------------------------------------- value noise


def value_noise(w, h, cell, seed):
    """Smooth noise in 0..255: random lattice values, bicubically enlarged."""
    rnd = random.Random(seed)
    gw, gh = w // cell + 3, h // cell + 3
    small = Image.new("L", (gw, gh))
    small.putdata([rnd.randrange(256) for _ in range(gw * gh)])
    big = small.resize((gw * cell, gh * cell), Image.BICUBIC)
    return big.crop((cell, cell, cell + w, cell + h))


def grain(w, h, seed):
    rnd = random.Random(seed)
    im = Image.new("L", (w, h))
    im.putdata([rnd.randrange(256) for _ in range(w * h)])
    return im


# ---------------------------------------------------------------- board background


def build_board_back():
    w, h = BOARD_W, BOARD_H
    n1 = value_noise(w, h, 48, 11).load()
    n2 = value_noise(w, h, 12, 12).load()
    g = grain(w, h, 13).load()
    img = Image.new("RGB", (w, h))
    px = img.load()
    base = (16, 12, 30)
    for y in range(h):
        for x in range(w):
            cx, cy = x % TILE, y % TILE
            # gentle vignette towards the board's edges
            vx = (x - w / 2) / (w / 2)
            vy = (y - h / 2) / (h / 2)
            v = 1.0 - 0.28 * (vx * vx * 0.6 + vy * vy)
            t = (n1[x, y] - 128) / 128.0 * 0.5 + (n2[x, y] - 128) / 128.0 * 0.25 + (g[x, y] - 128) / 128.0 * 0.08
            col = (base[0] * v + 5 * t, base[1] * v + 4 * t, base[2] * v + 9 * t)
            # a recessed slot: the cell's inner area slightly darker in its middle
            dx = min(cx, TILE - 1 - cx)
            dy = min(cy, TILE - 1 - cy)
            edge = min(dx, dy)
            if edge == 0:
                # the grid line itself; top/left edges catch a little light
                col = (col[0] + 20, col[1] + 16, col[2] + 34) if (cx == 0 or cy == 0) else (col[0] + 12, col[1] + 9, col[2] + 22)
            elif edge == 1:
                col = (col[0] - 4, col[1] - 4, col[2] - 6)
            elif edge <= 4:
                pass
            else:
                col = (col[0] - 2, col[1] - 2, col[2] - 3)
            # small bright studs where the grid lines cross
            if (cx in (0, TILE - 1)) and (cy in (0, TILE - 1)):
                col = (col[0] + 22, col[1] + 16, col[2] + 40)
            px[x, y] = tuple(clamp8(c) for c in col)
    return img


# ---------------------------------------------------------------- game-over grid


def build_grid():
    """A tile ANDed over the board when a game ends. One pixel in four keeps the
    board's colour (a staggered screen, so blocks still show faintly); the rest
    keeps only low bits, which turns any colour into a deep, dim violet."""
    img = Image.new("RGB", (TILE, TILE))
    px = img.load()
    for y in range(TILE):
        for x in range(TILE):
            see_through = (y % 2 == 0) and ((x + (y // 2) * 2) % 4 == 0)
            if see_through:
                px[x, y] = (0xEF, 0xDF, 0xFF)
            else:
                px[x, y] = (0x0C, 0x08, 0x1C)
    return img


# ---------------------------------------------------------------- window background


def build_window_back():
    w, h = WIN_W, WIN_H
    n1 = value_noise(w, h, 64, 21).load()
    n2 = value_noise(w, h, 16, 22).load()
    n3 = value_noise(w, h, 5, 23).load()
    g = grain(w, h, 24).load()
    bx0, by0, bx1, by1 = BOARD_X, BOARD_Y, BOARD_X + BOARD_W, BOARD_Y + BOARD_H  # board: [bx0, bx1) x [by0, by1)
    top_band, bottom_band = 46, 346
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            # distance (in pixels) from the board rectangle, 0 inside
            dx = max(bx0 - x, 0, x - (bx1 - 1))
            dy = max(by0 - y, 0, y - (by1 - 1))
            inside = dx == 0 and dy == 0
            if inside:
                px[x, y] = (0, 0, 0)
                continue
            dist = math.hypot(dx, dy)
            t = (n1[x, y] - 128) / 128.0 * 0.6 + (n2[x, y] - 128) / 128.0 * 0.3 + (n3[x, y] - 128) / 128.0 * 0.15
            # dark purple texture, faint diagonal weave on top
            weave = 1.0 if ((x + y) % 6 == 0 or (x - y) % 6 == 0) else 0.0
            r = 30 + 16 * t + 3 * weave
            gg = 16 + 8 * t + 1.5 * weave
            b = 50 + 26 * t + 5 * weave
            gn = (g[x, y] - 128) / 128.0
            r, gg, b = r + 3 * gn, gg + 2 * gn, b + 4 * gn
            # violet glow around the frame
            glow = math.exp(-max(dist - 3, 0) / 7.0)
            r += 110 * glow
            gg += 40 * glow
            b += 200 * glow
            # the frame itself: a bright inner line and a bevel
            if dist <= 1.0:
                r, gg, b = 214, 170, 255
            elif dist <= 2.0:
                r, gg, b = 150, 88, 238
            elif dist <= 3.0:
                r, gg, b = 72, 36, 140
            # calm dark bands under the texts
            if y < top_band or y >= bottom_band:
                edge = (top_band - 1 - y) if y < top_band else (y - bottom_band)
                k = 0.32 if edge >= 2 else (0.45 if edge == 1 else 0.6)
                r, gg, b = r * k, gg * k, b * k
                if edge == 0:
                    r, gg, b = r + 40, gg + 18, b + 80
            px[x, y] = (clamp8(r), clamp8(gg), clamp8(b))
    d = ImageDraw.Draw(img)

    def jewel(cx, cy, r, fill, edge, core):
        d.polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], fill=fill, outline=edge)
        d.point((cx, cy), fill=core)

    # small markers beside every board row, in the side panels
    for row in range(ROWS):
        cy = by0 + row * TILE + TILE // 2 - 1
        for cx in (bx0 // 2 - 1, bx1 + (w - bx1) // 2):
            jewel(cx, cy, 3, (58, 30, 104), (104, 60, 180), (170, 130, 240))
    # corner jewels of the frame, just outside the board
    for cx, cy in ((bx0 - 5, by0 - 5), (bx1 + 4, by0 - 5), (bx0 - 5, by1 + 4), (bx1 + 4, by1 + 4)):
        jewel(cx, cy, 4, (130, 70, 230), (230, 200, 255), (255, 240, 255))
    # keep the board rectangle exactly black (the jewels stop at its edge)
    d.rectangle([bx0, by0, bx1 - 1, by1 - 1], fill=(0, 0, 0))
    return img


# ---------------------------------------------------------------- icon


def build_icon(size):
    """The amethyst gem, antialiased on a transparent background."""
    big = size * 8
    k = big / TILE
    lv = LEVELS[5]
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    poly = [(x * k, y * k) for x, y in fit(lv.shape, 44, 46)]
    c = centroid(poly)
    table = scaled_about(poly, c, lv.table, (-1.0 * k, -1.2 * k))
    out = scaled_about(poly, c, 1.0 + 2.2 / 22)
    d.polygon(out, fill=mix(scale(lv.base, 0.22), (10, 4, 18), 0.4) + (255,))
    n = len(poly)
    for i in range(n):
        p0, p1 = poly[i], poly[(i + 1) % n]
        t0, t1 = table[i], table[(i + 1) % n]
        mxp, myp = (p0[0] + p1[0]) / 2 - c[0], (p0[1] + p1[1]) / 2 - c[1]
        ln = math.hypot(mxp, myp)
        f = (mxp * LIGHT[0] + myp * LIGHT[1]) / ln
        tm = ((t0[0] + t1[0]) / 2, (t0[1] + t1[1]) / 2)
        pm = ((p0[0] + p1[0]) / 2, (p0[1] + p1[1]) / 2)
        d.polygon([p0, p1, t1, t0], fill=facet_shade(lv.base, f * 0.95) + (255,))
        d.polygon([p0, pm, tm, t0], fill=facet_shade(lv.base, f * 0.95 + 0.18) + (255,))
        d.polygon([pm, p1, t1, tm], fill=facet_shade(lv.base, f * 0.95 - 0.12) + (255,))
    d.polygon(table, fill=facet_shade(lv.base, 0.42) + (255,))
    tc = centroid(table)
    d.polygon(scaled_about(table, tc, 0.62, (-0.8 * k, -0.8 * k)), fill=facet_shade(lv.base, 0.62) + (255,))
    # a four-pointed glint
    gx, gy, r, wdt = tc[0] - 4 * k, tc[1] - 4 * k, 6 * k, 1.2 * k
    d.polygon([(gx, gy - r), (gx + wdt, gy), (gx, gy + r), (gx - wdt, gy)], fill=NEAR_WHITE + (255,))
    d.polygon([(gx - r, gy), (gx, gy - wdt), (gx + r, gy), (gx, gy + wdt)], fill=NEAR_WHITE + (255,))
    return img.resize((size, size), Image.LANCZOS)


def build_small_icon(size):
    """The amethyst gem for sizes where a smooth reduction turns to mush
    (16 pixels): drawn like the sprites, with hard edges, a one-pixel dark
    outline, the crown facets and the table flat-shaded, one glint pixel."""
    lv = LEVELS[5]
    ss = 8
    img = Image.new("RGBA", (size * ss, size * ss), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    # the body leaves one pixel on each side for the outline
    body = fit(lv.shape, (size - 2) * 0.87, size - 2.0, size / 2, size / 2)
    poly = [(x * ss, y * ss) for x, y in body]
    c = centroid(poly)
    table = scaled_about(poly, c, lv.table, (-0.06 * size * ss, -0.07 * size * ss))
    n = len(poly)
    for i in range(n):
        p0, p1 = poly[i], poly[(i + 1) % n]
        t0, t1 = table[i], table[(i + 1) % n]
        mxp, myp = (p0[0] + p1[0]) / 2 - c[0], (p0[1] + p1[1]) / 2 - c[1]
        f = (mxp * LIGHT[0] + myp * LIGHT[1]) / math.hypot(mxp, myp)
        d.polygon([p0, p1, t1, t0], fill=facet_shade(lv.base, f * 0.95) + (255,))
    d.polygon(table, fill=facet_shade(lv.base, 0.5) + (255,))
    small = img.convert("RGBa").resize((size, size), Image.BOX).convert("RGBA")
    r, g, b, a = small.split()
    layer = Image.merge("RGBA", (r, g, b, a.point(lambda v: 255 if v >= 128 else 0)))
    outline = mix(scale(lv.base, 0.22), (10, 4, 18), 0.4)
    layer = over(solid(ring(alpha_of(layer), 1, four=True), outline), layer)
    tc = centroid(table)
    layer.putpixel((int(tc[0] / ss - 1.5), int(tc[1] / ss - 1.5)), NEAR_WHITE + (255,))
    return layer


ICON_SIZES = (16, 32, 48, 64, 128, 256)  # the usual hicolor sizes
WEB_ICON_SIZES = (192, 512)  # the web page's manifest asks for these two
HOME_BACK = (30, 16, 50)  # the window background's dark violet, as one flat colour
HOME_GEM = 0.72  # the gem's drawing size in a home-screen icon, as a part of the icon's size
SAFE_RADIUS = 0.4  # home screens may crop an icon to any shape holding this central circle


def icon(size):
    return build_small_icon(size) if size < 32 else build_icon(size)


def build_home_icon(size):
    """The gem on an opaque square of the window's dark violet, for home
    screens that cut icons to their own shapes (the manifest's maskable icon,
    the apple-touch-icon). Every pixel the gem touches lies inside the
    central circle of radius SAFE_RADIUS * size, which every cut keeps; the
    script fails if it does not."""
    gem_size = round(size * HOME_GEM)
    gem = build_icon(gem_size)
    at = (size - gem_size) // 2
    alpha = gem.split()[3].load()
    centre = size / 2
    for y in range(gem_size):
        for x in range(gem_size):
            if alpha[x, y]:
                # the pixel's corner farthest from the centre
                fx = max(abs(at + x - centre), abs(at + x + 1 - centre))
                fy = max(abs(at + y - centre), abs(at + y + 1 - centre))
                assert math.hypot(fx, fy) <= SAFE_RADIUS * size, "the gem leaves the safe circle"
    img = Image.new("RGBA", (size, size), HOME_BACK + (255,))
    img.alpha_composite(gem, (at, at))
    return img.convert("RGB")


# ---------------------------------------------------------------- preview


def bits(img):
    return int.from_bytes(img.convert("RGB").tobytes(), "big")


def from_bits(value, size):
    return Image.frombytes("RGB", size, value.to_bytes(size[0] * size[1] * 3, "big"))


class Surface:
    """Software copy of the game's drawing: copy, OR and AND of rectangles."""

    def __init__(self, img):
        self.img = img.convert("RGB").copy()

    def blit(self, dx, dy, w, h, src, sx, sy, op):
        part = src.crop((sx, sy, sx + w, sy + h)).convert("RGB")
        dst = self.img.crop((dx, dy, dx + w, dy + h))
        if op == "copy":
            res = part
        else:
            a, b = bits(dst), bits(part)
            res = from_bits(a | b if op == "or" else a & b, (w, h))
        self.img.paste(res, (dx, dy))


def mask_of(picture):
    rgb = picture.convert("RGB")
    m = Image.new("RGB", rgb.size)
    src, mp = rgb.load(), m.load()
    for y in range(rgb.size[1]):
        for x in range(rgb.size[0]):
            mp[x, y] = (0, 0, 0) if src[x, y] == WHITE else WHITE
    return m


def font(path, px):
    try:
        return ImageFont.truetype(path, px)
    except OSError:
        return ImageFont.load_default()


def build_preview():
    back = Image.open(os.path.join(GRAPHICS, "GameBack.jpg")).convert("RGB")
    blocks = Image.open(os.path.join(GRAPHICS, "Blocks.gif")).convert("RGB")
    grid = Image.open(os.path.join(GRAPHICS, "Grid.gif")).convert("RGB")
    window = Image.open(os.path.join(ASSETS, "window_back.jpg")).convert("RGB")
    mask = mask_of(blocks)

    def restore(s, x, y):
        s.blit(x * TILE, y * TILE, TILE, TILE, back, x * TILE, y * TILE, "copy")

    def block(s, x, y, v, k):
        s.blit(x * TILE, y * TILE, TILE, TILE, mask, v * TILE, k * TILE, "or")
        s.blit(x * TILE, y * TILE, TILE, TILE, blocks, v * TILE, k * TILE, "and")

    # 1: every tile of the sheet (columns 0-5 = levels 1-6, rows = frames), and
    #    two merges as they play: 2+2 -> 3 in columns 7-8, and in column 9 the
    #    left cell of 5+5, whose level-6 block vanishes and leaves the afterglow
    sheet_view = Surface(back)
    for k in range(FRAMES):
        for v in range(1, 7):
            block(sheet_view, v - 1, k, v, k)
        block(sheet_view, 7, k, 3, 0)
        block(sheet_view, 7, k, 2, k)
        block(sheet_view, 8, k, 2, k)
        block(sheet_view, 9, k, 6, 0)
        block(sheet_view, 9, k, 5, k)

    # 2: a board in play
    rnd = random.Random(5)
    heights = [6, 5, 4, 4, 3, 3, 2, 0, 1, 0]
    board = {}
    for x in range(COLS):
        for y in range(ROWS - heights[x], ROWS):
            board[(x, y)] = rnd.choice([1, 1, 1, 2, 2, 2, 3, 3, 4, 5])
    board[(6, 2)] = 2
    board[(5, 2)] = 4
    play = Surface(back)
    vanished = (7, 5)  # a level-6 block has just vanished here, between blocks
    block(play, vanished[0], vanished[1], 6, 0)
    for (x, y), v in sorted(board.items(), key=lambda i: (i[0][1], i[0][0])):
        block(play, x, y, v, 0)

    # 3: the same board under the game-over grid, with its texts
    over_view = Surface(play.img)
    gw, gh = grid.size
    n = round(BOARD_H / gh)
    m = round(BOARD_W / gw)
    for i in range(n + 1):
        for j in range(m + 1):
            w = min(gw, BOARD_W - j * gw)
            h = min(gh, BOARD_H - i * gh)
            if w > 0 and h > 0:
                over_view.blit(j * gw, i * gh, w, h, grid, 0, 0, "and")
    big = font("/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf", 27)
    d = ImageDraw.Draw(over_view.img)
    d.text((144, 60), "Your Highscore", font=big, fill=(192, 192, 255))
    d.text((248, 96), "12345", font=big, fill=WHITE, anchor="ma")
    d.text((140, 168), "Chain Reactions", font=big, fill=(192, 192, 255))
    d.text((248, 204), "7", font=big, fill=WHITE, anchor="ma")

    # 4: the window with the board in place and its labels
    win = window.copy()
    win.paste(play.img, (BOARD_X, BOARD_Y))
    small = font("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf", 13)
    d = ImageDraw.Draw(win)
    dim, lit = (128, 64, 240), (176, 128, 240)
    d.text((16, 10), "Level_", font=small, fill=dim)
    d.text((76, 10), "3", font=small, fill=lit)
    d.text((164, 10), "Reactions_", font=small, fill=dim)
    d.text((264, 10), "4/7", font=small, fill=lit)
    d.text((494, 10), "12345", font=small, fill=lit, anchor="ra")
    d.text((496, 10), "_Points", font=small, fill=dim)
    d.text((492, 29), "15000", font=font("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", 11), fill=lit, anchor="ra")
    d.text((16, 358), "Exit", font=small, fill=dim)
    d.text((88, 358), "Stop", font=small, fill=dim)
    d.text((396, 358), "Bombs_", font=small, fill=dim)
    d.text((456, 358), "\u00a4 \u00a4 ", font=small, fill=lit)

    pad = 12
    W = pad * 3 + BOARD_W + WIN_W
    H = pad * 4 + BOARD_H * 3
    sheet = Image.new("RGB", (W, H), (40, 40, 44))
    sheet.paste(sheet_view.img, (pad, pad))
    sheet.paste(over_view.img, (pad, pad * 2 + BOARD_H))
    sheet.paste(win, (pad * 2 + BOARD_W, pad))
    # the window without anything on it, scaled down, and the icons
    bare = window.resize((WIN_W // 2, WIN_H // 2), Image.BOX)
    sheet.paste(bare, (pad * 2 + BOARD_W, pad * 2 + WIN_H))
    # the icon files at their own sizes (256 is the 128 drawing, larger)
    left = pad * 3 + BOARD_W + WIN_W // 2
    y = pad * 2 + WIN_H
    for row in ((128, 64), (48, 32, 16)):
        x = left
        for s in row:
            icon = Image.open(os.path.join(ASSETS, "icon-%d.png" % s)).convert("RGBA")
            sheet.paste(icon, (x, y), icon)
            x += s + pad
        y += row[0] + pad
    # the raw files as they are: the sprite sheet (white = transparent) and
    # the grid tile, enlarged four times
    raw_y = pad * 3 + BOARD_H * 2
    sheet.paste(blocks, (pad, raw_y))
    sheet.paste(grid.resize((gw * 4, gh * 4), Image.NEAREST), (pad * 2 + blocks.size[0], raw_y))
    # the board around the vanished block's cell, enlarged twice
    vx, vy = vanished
    crop = play.img.crop(((vx - 2) * TILE, (vy - 2) * TILE, (vx + 3) * TILE, (vy + 1) * TILE))
    sheet.paste(crop.resize((crop.size[0] * 2, crop.size[1] * 2), Image.NEAREST), (pad * 3 + blocks.size[0] + gw * 4, raw_y))
    return sheet


# ---------------------------------------------------------------- main


def save_jpeg(img, path):
    img.save(path, "JPEG", quality=95, subsampling=0, optimize=False, progressive=False)


def main():
    os.makedirs(GRAPHICS, exist_ok=True)
    os.makedirs(ASSETS, exist_ok=True)

    save_jpeg(build_board_back(), os.path.join(GRAPHICS, "GameBack.jpg"))

    sheet = build_sheet()
    gif_path = os.path.join(GRAPHICS, "Blocks.gif")
    write_sheet_gif(sheet, gif_path)
    check_sheet_gif(gif_path, sheet)

    grid = build_grid()
    grid.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE).save(
        os.path.join(GRAPHICS, "Grid.gif"), optimize=False
    )
    check = Image.open(os.path.join(GRAPHICS, "Grid.gif")).convert("RGB")
    assert list(check.getdata()) == list(grid.getdata()), "Grid.gif must keep its exact colours"

    save_jpeg(build_window_back(), os.path.join(ASSETS, "window_back.jpg"))
    for s in ICON_SIZES:
        icon(s).save(os.path.join(ASSETS, "icon-%d.png" % s), optimize=False)
    for s in WEB_ICON_SIZES:
        icon(s).save(os.path.join(ASSETS, "icon-%d.png" % s), optimize=False)
    build_home_icon(512).save(os.path.join(ASSETS, "icon-maskable-512.png"), optimize=False)
    build_home_icon(180).save(os.path.join(ASSETS, "apple-touch-icon.png"), optimize=False)
    # The Windows program's icon, packed from the PNGs above.
    sys.path.insert(0, ART)
    import make_ico  # noqa: E402

    make_ico.main()

    build_preview().save(os.path.join(ART, "preview.png"), optimize=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
