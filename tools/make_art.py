#!/usr/bin/env python3
"""Draws Tethra's icons, banner, menu pictures and check mark and writes
them to src/res/.

Everything is drawn from shapes in code, so the art can be regenerated and
tweaked without an image editor:

    python3 tools/make_art.py [output-dir]

Icons are written in the classic BMP-in-ICO layout (BITMAPINFOHEADER with a
doubled height, XOR bitmap, 1-bpp AND mask), each size both in 16 colours
(VGA palette) and in 256 colours, because Windows 95/98 cannot read
PNG-compressed icon images.

The banner is a 4-bpp, bottom-up BMP, run-length encoded (BI_RLE4, which
every Windows decodes when it loads the bitmap; the encoder is checked by
decoding its output). Its background uses the
greys 128/192/223, which LoadImage(LR_LOADMAP3DCOLORS) swaps for the user's
3-D shadow/face/light colours. The text is rasterised by ImageMagick
(`convert`) from a TrueType font and then reduced to the banner palette here;
the output is byte-for-byte stable for a given ImageMagick and font.

The menu pictures are one 8-bpp strip of 16 x 16 pictures on magenta,
which the program treats as transparent, in the order of the toolbar
resource: restart, sleep, shut down, log off, about, exit. The check mark is
a 17 x 17, 4-bpp picture whose greys and white the program maps to the
user's 3-D colours.
"""

import math
import os
import struct
import subprocess
import sys

# ---------------------------------------------------------------------------
# Palettes

VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE, NAVY = VGA[0], VGA[3], VGA[4]
SILVER, GREY, YELLOW, WHITE = VGA[7], VGA[8], VGA[11], VGA[15]

# The three greys LR_LOADMAP3DCOLORS remaps; the banner uses them only where
# the user's 3-D colours belong.
SHADOW_3D = (128, 128, 128)
FACE_3D = (192, 192, 192)
LIGHT_3D = (223, 223, 223)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def ramp(stops, t, levels=24):
    """Colour at t (0 = lit, 1 = shaded) along a list of stops, quantised to
    a fixed number of levels so 256-colour palettes stay small."""
    t = min(1.0, max(0.0, t))
    t = round(t * (levels - 1)) / (levels - 1)
    n = len(stops) - 1
    i = min(int(t * n), n - 1)
    return lerp(stops[i], stops[i + 1], t * n - i)


class Material:
    """Shading of one part. `deep` holds colour stops for 256-colour images;
    `flat` holds (threshold, colour) steps for 16-colour images and the
    banner, so those stay within their fixed palettes."""

    def __init__(self, deep, flat, outline_deep, outline_flat=BLACK):
        self.deep = deep
        self.flat = flat
        self.outline_deep = outline_deep
        self.outline_flat = outline_flat

    def colour(self, t, deep):
        if deep:
            return ramp(self.deep, t)
        for limit, col in self.flat:
            if t <= limit:
                return col
        return self.flat[-1][1]

    def outline(self, deep):
        return self.outline_deep if deep else self.outline_flat


BRASS = Material(
    [(255, 246, 176), (246, 206, 72), (214, 158, 24), (150, 96, 8)],
    [(0.10, WHITE), (0.62, YELLOW), (1.0, OLIVE)],
    (64, 40, 0))
STEEL = Material(
    [(255, 255, 255), (206, 212, 222), (150, 156, 170), (92, 98, 112)],
    [(0.18, WHITE), (0.62, SILVER), (1.0, GREY)],
    (24, 28, 40))
CLOCK_FACE = Material(
    [(255, 255, 255), (236, 240, 250), (206, 214, 232)],
    [(0.85, WHITE), (1.0, SILVER)],
    (0, 0, 96), NAVY)
HANDS = Material([(0, 0, 96), (0, 0, 96)], [(1.0, NAVY)], (0, 0, 96), NAVY)
DARK = Material([(40, 30, 10), (0, 0, 0)], [(1.0, BLACK)], (0, 0, 0))


# ---------------------------------------------------------------------------
# Rasterising

SUPER = 5  # samples per pixel along each axis


def coverage(w, h, inside):
    """Fraction of each pixel covered by the shape inside(x, y)."""
    cov = [[0.0] * w for _ in range(h)]
    n = SUPER * SUPER
    offs = [(i + 0.5) / SUPER for i in range(SUPER)]
    for y in range(h):
        for x in range(w):
            c = 0
            for oy in offs:
                for ox in offs:
                    if inside(x + ox, y + oy):
                        c += 1
            cov[y][x] = c / n
    return cov


def solid(cov, level=0.5):
    return [[c >= level for c in row] for row in cov]


def edge(mask):
    """Pixels of the mask with a 4-neighbour outside it: a one-pixel,
    8-connected outline that stays inside the shape."""
    h, w = len(mask), len(mask[0])
    out = [[False] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if not mask[y][x]:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < w and 0 <= ny < h) or not mask[ny][nx]:
                    out[y][x] = True
                    break
    return out


class Canvas:
    def __init__(self, w, h, deep, background=None):
        self.w, self.h, self.deep = w, h, deep
        self.px = [[background] * w for _ in range(h)]

    def paint(self, inside, material, shade, outline=True, level=0.5):
        """Fills a shape, shading each pixel by shade(x, y) -> 0..1 and
        giving it a one-pixel outline in the material's outline colour."""
        mask = solid(coverage(self.w, self.h, inside), level)
        rim = edge(mask) if outline else None
        for y in range(self.h):
            for x in range(self.w):
                if not mask[y][x]:
                    continue
                if rim and rim[y][x]:
                    self.px[y][x] = material.outline(self.deep)
                else:
                    self.px[y][x] = material.colour(
                        shade(x + 0.5, y + 0.5), self.deep)

    def dot(self, x, y, col):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = col


# Shape predicates -----------------------------------------------------------

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


# ---------------------------------------------------------------------------
# The pictures. Coordinates are in pixels; the padlock and the key are drawn
# into a box, so the same code draws them full size or smaller where two
# symbols share a picture.

def arch(cx, cy, half, bottom, round_by=0.3):
    """An upright bar end: |x - cx| <= half down to `bottom`, with a round
    top centred at (cx, cy). The radius is a little over `half` so the pixel
    circle has neither flat spots nor single-pixel bumps."""
    rr = (half + round_by) ** 2
    return lambda x, y: (abs(x - cx) <= half and y <= bottom and
                         (y >= cy or (x - cx) ** 2 + (y - cy) ** 2 <= rr))


def padlock(cv, bx, by, s, brass=None, steel=None, keyhole=True):
    """A padlock filling the s-by-s box at (bx, by). Edges are kept on whole
    pixels so the 16-pixel version stays crisp."""
    brass = brass or BRASS
    steel = steel or STEEL
    inset = max(1 if s < 16 else 2, round(s * 0.10))
    x0, x1 = bx + inset, bx + s - inset
    y0, y1 = by + round(s * 0.46), by + s
    cx = bx + s / 2
    # Shackle: a U-shaped bar of thickness t whose legs go into the body.
    t = max(3, round(s * 0.15))
    outer = max(t + 1, (x1 - x0) // 2 - max(1, round(s * 0.08)))
    inner = outer - t
    cy = by + outer
    shackle = minus(arch(cx, cy, outer, y0 + 2), arch(cx, cy, inner, y1))

    def shackle_shade(x, y):
        # Lit along the middle of the round bar, darker at its edges and
        # on the right-hand leg.
        d = math.hypot(x - cx, y - cy) if y < cy else abs(x - cx)
        u = (d - inner) / t
        side = 0.25 if x > cx else 0.0
        return min(1.0, abs(u - 0.4) * 1.3 + side)

    cv.paint(shackle, steel, shackle_shade)

    bw, bh = x1 - x0, y1 - y0

    def body_shade(x, y):
        u = (x - x0) / bw
        v = (y - y0) / bh
        if cv.deep:
            return min(1.0, 0.15 + 0.75 * u * u + 0.25 * v)
        # In 16 colours only a narrow band on the right goes dark.
        return 0.5 if u < 0.8 else 1.0

    cv.paint(rounded_rect(x0, y0, x1, y1, max(1.0, s * 0.06)),
             brass, body_shade)
    if s > 16:
        # A lit line just inside the top edge reads as a bevel.
        for x in range(x0 + 1, x1 - 2):
            cv.dot(x, y0 + 1, brass.colour(0.0, cv.deep))

    if keyhole:
        ky = y0 + bh * 0.40
        kr = max(1.2, s * 0.075)
        slot = max(1.0, kr * 0.45)
        hole = union(circle(cx, ky, kr),
                     rect(cx - slot, ky, cx + slot, y0 + bh * 0.76))
        cv.paint(hole, DARK, lambda x, y: 1.0, outline=False, level=0.45)


def clock(cv, n):
    """A clock face of diameter 2n+1 pixels in the bottom-right corner."""
    c = cv.w - 1 - n
    cx = cy = c + 0.5
    r = n + 0.45
    cv.paint(circle(cx, cy, r), CLOCK_FACE,
             lambda x, y: min(1.0, math.hypot(x - cx + r * 0.3, y - cy + r * 0.3) / (r * 1.6)))
    w = 0.45 if n < 10 else 1.0
    # Hands at three o'clock: minute hand up, hour hand to the right.
    minute = rect(cx - w, cy - r * 0.70, cx + w, cy + w)
    hour = rect(cx - w, cy - w, cx + r * 0.52, cy + w)
    cv.paint(union(minute, hour), HANDS, lambda x, y: 1.0, outline=False)
    if n >= 7:
        # Hour ticks at 12, 3, 6 and 9.
        for dx, dy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
            cv.dot(c + dx * (n - 1), c + dy * (n - 1), HANDS.colour(1.0, cv.deep))


def small_key(k):
    return k < 4.5


def key_shape(k, shaft_half, length, teeth=True):
    """A key lying along +x in its own frame: bow centred on the origin,
    bit at the far end hanging towards +y. k is the bow radius in pixels."""
    if small_key(k):
        # Centred on a pixel: an odd-sized ring round a one-pixel hole.
        bow = minus(circle(0, 0, math.floor(k) + 0.45), circle(0, 0, 0.5))
    else:
        # Centred on a pixel corner; radii of a whole number plus 0.3 give
        # pixel circles without flat spots or single-pixel bumps.
        hole = math.floor(0.45 * k) + 0.3
        bow = minus(circle(0, 0, math.floor(k) + 0.3), circle(0, 0, hole))
    tip = length * k
    shaft = rect(0.8 * k, -shaft_half, tip, shaft_half)
    tw = max(1.8, 0.42 * k)
    bit = union(
        rect(tip - tw, 0, tip, shaft_half + max(1.6, 0.8 * k)),
        rect(tip - 2.9 * tw, 0, tip - 1.9 * tw, shaft_half + max(1.2, 0.55 * k)))
    return union(bow, shaft, bit) if teeth else union(bow, shaft)


def key(cv, box, angle, material, length=3.7, mirror=False, teeth=True):
    """Draws a key turned by angle (degrees, counter-clockwise on screen),
    scaled and centred to fill box = (x0, y0, x1, y1)."""
    x0, y0, x1, y1 = box
    a = math.radians(angle)
    ca, sa = math.cos(a), math.sin(a)
    mx = -1 if mirror else 1

    def frame(k):
        # A shaft of at least 2.9 pixels keeps one row of colour between
        # its outlines.
        shape = key_shape(k, max(1.45, 0.30 * k), length, teeth)

        def at(px, py, ox, oy):
            # Screen to key frame: undo translation, rotation, then mirror.
            dx, dy = px - ox, py - oy
            u = dx * ca - dy * sa
            v = dx * sa + dy * ca
            return shape(u, v * mx)
        return at

    # Measure the key at a trial size, then scale it to fit the box.
    def bbox(k):
        at = frame(k)
        pts = [(px / 4.0, py / 4.0) for px in range(-240, 241) for py in range(-240, 241)
               if at(px / 4.0, py / 4.0, 0, 0)]
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        return min(xs), min(ys), max(xs), max(ys)

    k = 4.0
    for _ in range(3):
        bx0, by0, bx1, by1 = bbox(k)
        k *= min((x1 - x0) / (bx1 - bx0), (y1 - y0) / (by1 - by0))
    bx0, by0, bx1, by1 = bbox(k)
    # Centre the key in the box, with the bow's centre where key_shape
    # expects it (pixel corner, or pixel centre for a small key).
    snap = 0.5 if small_key(k) else 0.0
    ox = math.floor((x0 + x1) / 2 - (bx0 + bx1) / 2) + snap
    oy = math.floor((y0 + y1) / 2 - (by0 + by1) / 2) + snap
    at = frame(k)

    def shade(x, y):
        # Light from the top left.
        return min(1.0, max(0.0, ((x - x0) + (y - y0)) / ((x1 - x0) + (y1 - y0)) * 1.15))

    cv.paint(lambda x, y: at(x, y, ox, oy), material, shade)


def even(v):
    """Nearest even whole number: a padlock box of even width keeps its
    centre line on a pixel edge, so both sides come out the same."""
    return int(round(v / 2.0)) * 2


def draw_tethra(cv):
    padlock(cv, 0, 0, cv.w)


def draw_password(cv):
    s = cv.w
    m = 1 if s > 16 else 0
    key(cv, (m, m, s - m, s - m), 45, BRASS, length=3.7 if s > 16 else 3.0)


def draw_settings(cv):
    s = cv.w
    padlock(cv, 0, 0, even(s * 0.82), keyhole=False)
    clock(cv, max(4, round(s * 0.27)))


def draw_prompt(cv):
    # The padlock with its key in front, bow to the bottom right.
    s = cv.w
    padlock(cv, 0, 0, even(s * 0.80), keyhole=s >= 32)
    kh = max(7, round(s * 0.40))
    key(cv, (s - round(kh * 1.9), s - kh, s, s), 180, STEEL,
        length=2.6, mirror=True, teeth=s >= 32)


# ---------------------------------------------------------------------------
# File formats

def bmp_rows(canvas, index_of, bpp):
    """XOR bitmap rows, bottom-up, each padded to a 4-byte boundary."""
    out = bytearray()
    stride = ((canvas.w * bpp + 31) // 32) * 4
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(canvas.w):
            i = index_of(canvas.px[y][x])
            if bpp == 8:
                row[x] = i
            else:
                row[x >> 1] |= i << (4 if x % 2 == 0 else 0)
        out += row
    return bytes(out)


def and_mask(canvas):
    out = bytearray()
    stride = ((canvas.w + 31) // 32) * 4
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(canvas.w):
            if canvas.px[y][x] is None:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def palette_for(canvas, bpp):
    if bpp == 4:
        return list(VGA)
    pal = list(VGA)
    seen = set(pal)
    for row in canvas.px:
        for c in row:
            if c is not None and c not in seen:
                seen.add(c)
                pal.append(c)
    if len(pal) > 256:
        raise SystemExit("too many colours in a 256-colour image: %d" % len(pal))
    return pal + [(0, 0, 0)] * (256 - len(pal))


def icon_image(canvas, bpp):
    pal = palette_for(canvas, bpp)
    lookup = {c: i for i, c in reversed(list(enumerate(pal)))}

    def index_of(c):
        if c is None:
            return 0  # transparent: black under a set AND bit
        if c not in lookup:
            raise SystemExit("colour %r not in the %d-bpp palette" % (c, bpp))
        return lookup[c]

    xor = bmp_rows(canvas, index_of, bpp)
    mask = and_mask(canvas)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, bpp,
                         0, len(xor) + len(mask), 0, 0, 0, 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)
    return header + quads + xor + mask


def write_icon(path, draw, sizes):
    images = []
    for s in sizes:
        for bpp in (4, 8):
            cv = Canvas(s, s, deep=(bpp == 8))
            draw(cv)
            images.append((s, bpp, icon_image(cv, bpp)))
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for s, bpp, data in images:
        entries += struct.pack("<BBBBHHII", s % 256, s % 256,
                               16 if bpp == 4 else 0, 0, 1, bpp,
                               len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(head + entries + b"".join(d for _, _, d in images))


# ---------------------------------------------------------------------------
# Banner

BANNER_W, BANNER_H = 267, 47
TITLE = NAVY
B_BRASS = [(255, 238, 150), (238, 190, 52), (172, 120, 16)]
B_STEEL = [(242, 244, 248), (172, 178, 190), (100, 106, 120)]
BANNER_PALETTE = ([BLACK, SHADOW_3D, FACE_3D, LIGHT_3D, WHITE, TITLE] +
                  B_BRASS + B_STEEL +
                  # Unused; the rest of the VGA colours.
                  [VGA[1], VGA[2], VGA[5], VGA[6]])
BANNER_BRASS = Material(
    BRASS.deep, [(0.10, B_BRASS[0]), (0.60, B_BRASS[1]), (1.0, B_BRASS[2])], BLACK)
BANNER_STEEL = Material(
    STEEL.deep, [(0.18, B_STEEL[0]), (0.62, B_STEEL[1]), (1.0, B_STEEL[2])], BLACK)

FONT_DIRS = ["/usr/share/fonts/truetype/liberation", "/usr/share/fonts/truetype/dejavu"]


def find_font(names):
    for d in FONT_DIRS:
        for n in names:
            p = os.path.join(d, n)
            if os.path.exists(p):
                return p
    raise SystemExit("none of these fonts found: %s" % ", ".join(names))


def text_coverage(text, font, pointsize):
    """Rasterises text with ImageMagick; returns its coverage (rows of
    0..1) trimmed to the inked area."""
    w, h = pointsize * len(text) + 40, pointsize * 2 + 20
    cmd = ["convert", "-size", "%dx%d" % (w, h), "xc:black",
           "-font", font, "-pointsize", str(pointsize), "-fill", "white",
           "-gravity", "NorthWest", "-annotate", "+10+10", text,
           "-depth", "8", "gray:-"]
    try:
        raw = subprocess.run(cmd, check=True, stdout=subprocess.PIPE).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        raise SystemExit("ImageMagick convert failed: %s" % e)
    if len(raw) != w * h:
        raise SystemExit("unexpected output size from convert")
    rows = [[raw[y * w + x] / 255.0 for x in range(w)] for y in range(h)]
    ys = [y for y in range(h) if any(v > 0.02 for v in rows[y])]
    xs = [x for x in range(w) if any(rows[y][x] > 0.02 for y in range(h))]
    return [r[xs[0]:xs[-1] + 1] for r in rows[ys[0]:ys[-1] + 1]]


def stamp_text(cv, cov, ox, oy, core, edge_col, soft=0.28, firm=0.62):
    """Puts rasterised text on the banner with two tones: the core colour
    where the glyph covers most of a pixel and the shadow grey at its edges,
    which keeps the edges matched to whatever 3-D colours the user has."""
    for y, row in enumerate(cov):
        for x, v in enumerate(row):
            if v >= firm:
                cv.dot(ox + x, oy + y, core)
            elif v >= soft:
                cv.dot(ox + x, oy + y, edge_col)


def draw_banner():
    cv = Canvas(BANNER_W, BANNER_H, deep=False, background=FACE_3D)
    # Etched line along the bottom edge, in the user's 3-D colours.
    for x in range(BANNER_W):
        cv.dot(x, BANNER_H - 2, SHADOW_3D)
        cv.dot(x, BANNER_H - 1, LIGHT_3D)

    # Padlock at the left, drawn with the icon code into a sub-canvas.
    size = 38
    sub = Canvas(size, size, deep=False)
    padlock(sub, 0, 0, size, BANNER_BRASS, BANNER_STEEL)
    lx, ly = 8, 3
    for y in range(size):
        for x in range(size):
            if sub.px[y][x] is not None:
                cv.dot(lx + x, ly + y, sub.px[y][x])

    bold = find_font(["LiberationSans-Bold.ttf", "DejaVuSans-Bold.ttf"])
    regular = find_font(["LiberationSans-Regular.ttf", "DejaVuSans.ttf"])
    title = text_coverage("Tethra", bold, 30)
    subtitle = text_coverage("Password Lock", regular, 13)
    tx, ty = lx + size + 10, 5
    stamp_text(cv, title, tx, ty, TITLE, SHADOW_3D)
    stamp_text(cv, subtitle, tx + 2, ty + len(title) + 5, BLACK, SHADOW_3D)
    return cv


def rle4_row(row):
    """One row in BI_RLE4: runs of four or more pixels as (count, colour
    pair), everything between them in absolute mode (0, count, packed
    pixels, padded to a 16-bit boundary), then the end-of-line mark."""
    out = bytearray()
    i, n = 0, len(row)

    def run_at(j):
        k = j
        while k < n and k - j < 255 and row[k] == row[j]:
            k += 1
        return k - j

    while i < n:
        r = run_at(i)
        if r >= 4:
            out += bytes((r, row[i] << 4 | row[i]))
            i += r
            continue
        j = i
        while j < n and j - i < 255 and run_at(j) < 4:
            j += 1
        lit = row[i:j]
        if len(lit) < 3:
            # Absolute mode needs three pixels or more; one or two go as a run.
            out += bytes((len(lit), lit[0] << 4 | (lit[1] if len(lit) > 1 else 0)))
        else:
            packed = bytearray((len(lit) + 1) // 2)
            for k, v in enumerate(lit):
                packed[k >> 1] |= v << (4 if k % 2 == 0 else 0)
            if len(packed) % 2:
                packed.append(0)
            out += bytes((0, len(lit))) + packed
        i = j
    return bytes(out + b"\0\0")


def unrle4(data, w, h):
    """Decodes BI_RLE4 (bottom-up rows, as written above): the check that
    the encoder gives back every pixel."""
    rows, row, i = [], [], 0
    while True:
        a, b = data[i], data[i + 1]
        i += 2
        if a:
            row += [(b >> 4) if k % 2 == 0 else (b & 15) for k in range(a)]
        elif b == 0:
            rows.append(row)
            row = []
        elif b == 1:
            rows.append(row)
            break
        else:
            row += [(data[i + (k >> 1)] >> 4) if k % 2 == 0 else (data[i + (k >> 1)] & 15)
                    for k in range(b)]
            i += ((b + 1) // 2 + 1) & ~1
    if len(rows) != h or any(len(r) != w for r in rows):
        raise SystemExit("RLE4 round trip: wrong shape")
    return rows


def write_bmp4(path, cv, palette, rle=False):
    lookup = {c: i for i, c in reversed(list(enumerate(palette)))}

    def index_of(c):
        if c not in lookup:
            raise SystemExit("banner colour %r not in its palette" % (c,))
        return lookup[c]

    compression = 0
    bits = bmp_rows(cv, index_of, 4)
    if rle:
        rows = [[index_of(cv.px[y][x]) for x in range(cv.w)] for y in range(cv.h - 1, -1, -1)]
        bits = b"".join(rle4_row(r) for r in rows)[:-2] + b"\0\1"
        if unrle4(bits, cv.w, cv.h) != rows:
            raise SystemExit("RLE4 round trip: pixels differ")
        compression = 2  # BI_RLE4
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 4, compression, len(bits),
                       2835, 2835, 16, 0)
    off = 14 + len(info) + len(quads)
    filehdr = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    with open(path, "wb") as f:
        f.write(filehdr + info + quads + bits)


# ---------------------------------------------------------------------------
# Menu pictures

MAGENTA = (255, 0, 255)
GREEN = Material([(200, 255, 190), (60, 190, 60), (10, 110, 20)],
                 [(1.0, VGA[2])], (0, 70, 0))
RED = Material([(255, 190, 170), (230, 50, 30), (140, 10, 0)],
               [(1.0, VGA[9])], (90, 0, 0))
BLUE = Material([(190, 220, 255), (50, 110, 220), (10, 40, 140)],
                [(1.0, NAVY)], (0, 20, 90))
WOOD = Material([(236, 180, 110), (180, 110, 50), (110, 60, 20)],
                [(1.0, OLIVE)], (60, 30, 0))
LIGHT = Material([(255, 255, 255), (255, 255, 255)], [(1.0, WHITE)], WHITE)


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        s1, s2, s3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return inside


def ring(cx, cy, outer, inner):
    return minus(circle(cx, cy, outer), circle(cx, cy, inner))


def lit_from_top_left(x, y):
    return min(1.0, (x + y) / 28.0)


def arrow_right(cv, x0, x1, cy):
    """A green arrow pointing right, shaft from x0, head ending at x1."""
    head = x1 - 4
    cv.paint(union(rect(x0, cy - 1.5, head + 0.5, cy + 1.5),
                   triangle((head, cy - 4.2), (x1, cy), (head, cy + 4.2))),
             GREEN, lit_from_top_left)


def draw_menu_restart(cv):
    # A circular arrow, open at the top right, its head pointing round.
    cx, cy = 8, 8.5
    gap = lambda x, y: x > cx and y < cy - 1 and (x - cx) > (cy - y) * 0.3
    cv.paint(minus(ring(cx, cy, 6.8, 3.6), gap), GREEN, lit_from_top_left)
    cv.paint(triangle((9.5, 0.2), (15.6, 6.8), (9.5, 7.6)), GREEN, lit_from_top_left)


def draw_menu_sleep(cv):
    # A crescent moon with a small star.
    moon = minus(circle(7.5, 8, 7.2), circle(11.2, 6.2, 6.4))
    cv.paint(moon, BRASS, lit_from_top_left)
    for x, y in ((12, 10), (12, 12), (11, 11), (13, 11), (12, 11)):
        cv.dot(x, y, (246, 206, 72))


def draw_menu_shutdown(cv):
    # The power sign: a broken ring and a bar through its gap.
    cx, cy = 8, 8.5
    cut = lambda x, y: y < cy and abs(x - cx) < 3.2
    cv.paint(minus(ring(cx, cy, 7.0, 4.2), cut), RED, lit_from_top_left)
    cv.paint(rect(6.6, 0.2, 9.4, 9.0), RED, lit_from_top_left)


def draw_menu_logoff(cv):
    # A person leaving: head and shoulders, an arrow to the right.
    cv.paint(circle(5.5, 4.5, 3.4), BLUE, lit_from_top_left)
    cv.paint(arch(5.5, 13.0, 5.0, 16.0, 0.0), BLUE, lit_from_top_left)
    arrow_right(cv, 8, 15.8, 11)


def draw_menu_about(cv):
    # A blue disc with a white "i".
    cv.paint(circle(8, 8, 7.6), BLUE, lit_from_top_left)
    cv.paint(union(circle(8, 4.2, 1.5), rect(6.6, 6.6, 9.4, 12.6)), LIGHT,
             lambda x, y: 0.0, outline=False)


def draw_menu_exit(cv):
    # A wooden door with its knob, and an arrow going out of it.
    cv.paint(rect(1.5, 0.5, 10.5, 15.5), WOOD, lit_from_top_left)
    cv.dot(8, 8, (246, 206, 72))
    arrow_right(cv, 6, 15.8, 8)


MENU_PICTURES = [draw_menu_restart, draw_menu_sleep, draw_menu_shutdown,
                 draw_menu_logoff, draw_menu_about, draw_menu_exit]


def write_bmp8(path, cv):
    """An 8-bpp BMP whose colour table holds only the colours used (in order
    of first use, top row first): the same pixels as a 24-bpp file in well
    under half the bytes."""
    palette = []
    for row in cv.px:
        for c in row:
            if c not in palette:
                palette.append(c)
    if len(palette) > 256:
        raise SystemExit("too many colours for 8 bpp: %d" % len(palette))
    lookup = {c: i for i, c in enumerate(palette)}
    bits = bmp_rows(cv, lambda c: lookup[c], 8)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 8, 0, len(bits),
                       2835, 2835, len(palette), 0)
    off = 14 + len(info) + len(quads)
    filehdr = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    with open(path, "wb") as f:
        f.write(filehdr + info + quads + bits)


def draw_menu_strip():
    strip = Canvas(16 * len(MENU_PICTURES), 16, deep=True, background=MAGENTA)
    for i, draw in enumerate(MENU_PICTURES):
        cv = Canvas(16, 16, deep=True)
        draw(cv)
        for y in range(16):
            for x in range(16):
                c = cv.px[y][x]
                if c is not None:
                    if c == MAGENTA:
                        raise SystemExit("menu picture %d uses the transparent colour" % i)
                    strip.dot(16 * i + x, y, c)
    return strip


def draw_check_mark():
    """A black tick on a white and light-grey checkerboard, dark grey under
    its lower edge."""
    cv = Canvas(17, 17, deep=False)
    for y in range(17):
        for x in range(17):
            cv.dot(x, y, WHITE if (x + y) % 2 == 0 else SILVER)
    for x in range(4, 14):
        top = 7 + (x - 4) if x <= 7 else 10 - (x - 7)
        for y in range(top, top + 3):
            cv.dot(x, y, BLACK)
        cv.dot(x, top + 3, GREY)
    return cv


# ---------------------------------------------------------------------------

def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "res")
    os.makedirs(out, exist_ok=True)
    # Windows 9x shows 16 and 32 pixels (tray, about box, Explorer); its
    # 48-pixel views are an accessibility option that scales the 32-pixel
    # image, which costs less than the 5 KB a 48-pixel pair would add. Dialog
    # icons show their 32-pixel image; 24 pixels is a size no 9x view uses.
    write_icon(os.path.join(out, "Tethra.ico"), draw_tethra, (16, 32))
    write_icon(os.path.join(out, "Password.ico"), draw_password, (16, 32))
    write_icon(os.path.join(out, "Settings.ico"), draw_settings, (16, 32))
    write_icon(os.path.join(out, "Prompt.ico"), draw_prompt, (16, 32))
    write_bmp4(os.path.join(out, "Banner.bmp"), draw_banner(), BANNER_PALETTE, rle=True)
    write_bmp8(os.path.join(out, "MenuIcons.bmp"), draw_menu_strip())
    write_bmp4(os.path.join(out, "CheckMark.bmp"), draw_check_mark(), VGA)


if __name__ == "__main__":
    main()
