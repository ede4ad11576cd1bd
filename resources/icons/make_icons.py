#!/usr/bin/env python3
"""Draw Tarvex's icons and write them next to this script.

Everything is drawn procedurally from simple shapes (signed distance
functions), with antialiasing by supersampling the pixels that lie on an
edge.  Only the Python 3 standard library is used, and the output is
deterministic: running the script twice gives byte-identical files.

Output (in the folder of this script):
  app.ico, moon101.ico .. moon108.ico
      16x16 and 32x32 in 16 colours (4-bit DIB with AND mask),
      48x48, 64x64 and 256x256 in 32-bit RGBA, stored as PNG.
  png/app-<N>.png, png/moon10X-<N>.png for N in 16 22 24 32 48 64 128 256
  png/tarvex.png (256x256, for the .desktop launcher)

Usage:  python3 resources/icons/make_icons.py
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


# ---------------------------------------------------------------------------
# Shapes: each is a function (x, y) -> signed distance in pixels
# (negative inside).  Combinations with min/max never overestimate the
# distance, which the rasteriser relies on to skip solid areas.

def circle(cx, cy, r):
    def f(x, y):
        return math.hypot(x - cx, y - cy) - r
    return f


def box(cx, cy, hw, hh, rad=0.0, angle=0.0):
    """Rounded rectangle centred on (cx, cy), optionally rotated (degrees)."""
    ca, sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    bw, bh = hw - rad, hh - rad

    def f(x, y):
        dx, dy = x - cx, y - cy
        lx, ly = ca * dx + sa * dy, -sa * dx + ca * dy
        qx, qy = abs(lx) - bw, abs(ly) - bh
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - rad
    return f


def polygon(pts):
    """Exact distance to a simple polygon given by its vertices."""
    n = len(pts)

    def f(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vix, viy = pts[i]
            vjx, vjy = pts[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < d:
                d = dd
            c1 = y >= viy
            c2 = y < vjy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return f


def capsule(ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    ll = ex * ex + ey * ey

    def f(x, y):
        t = ((x - ax) * ex + (y - ay) * ey) / ll
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        return math.hypot(x - ax - ex * t, y - ay - ey * t) - r
    return f


def halfplane(nx, ny, px, py):
    """Inside where (p - P) . n < 0; n must be a unit vector."""
    def f(x, y):
        return (x - px) * nx + (y - py) * ny
    return f


def union(*fs):
    def f(x, y):
        return min(g(x, y) for g in fs)
    return f


def inter(*fs):
    def f(x, y):
        return max(g(x, y) for g in fs)
    return f


def minus(a, b):
    def f(x, y):
        return max(a(x, y), -b(x, y))
    return f


def grow(a, w):
    def f(x, y):
        return a(x, y) - w
    return f


# ---------------------------------------------------------------------------
# Rasteriser

def hexrgb(h, a=1.0):
    h = h.lstrip('#')
    return (int(h[0:2], 16) / 255.0, int(h[2:4], 16) / 255.0,
            int(h[4:6], 16) / 255.0, a)


def coverage(shape, size, ss):
    """Yield (index, coverage) for every pixel the shape touches."""
    tile = 4 if size <= 64 else 8
    hd = tile * 0.7072 + 0.05
    pd = 0.7072 + 0.05
    offs = [(i + 0.5) / ss for i in range(ss)]
    n2 = float(ss * ss)
    for ty in range(0, size, tile):
        for tx in range(0, size, tile):
            d = shape(tx + tile / 2.0, ty + tile / 2.0)
            if d > hd:
                continue
            full = d < -hd
            for y in range(ty, min(ty + tile, size)):
                for x in range(tx, min(tx + tile, size)):
                    if full:
                        yield y * size + x, 1.0
                        continue
                    d = shape(x + 0.5, y + 0.5)
                    if d > pd:
                        continue
                    if d < -pd:
                        yield y * size + x, 1.0
                        continue
                    hits = 0
                    for oy in offs:
                        for ox in offs:
                            if shape(x + ox, y + oy) < 0.0:
                                hits += 1
                    if hits:
                        yield y * size + x, hits / n2


def render(layers, size, ss=8):
    """Composite (shape, paint) layers; paint is an RGBA tuple or a
    function (x, y) -> RGBA.  Returns a list of straight RGBA floats."""
    pr = [0.0] * (size * size)
    pg = [0.0] * (size * size)
    pb = [0.0] * (size * size)
    pa = [0.0] * (size * size)
    for shape, paint in layers:
        fn = paint if callable(paint) else None
        for i, c in coverage(shape, size, ss):
            if fn:
                r, g, b, a = fn(i % size + 0.5, i // size + 0.5)
            else:
                r, g, b, a = paint
            a *= c
            if a <= 0.0:
                continue
            k = 1.0 - a
            pr[i] = r * a + pr[i] * k
            pg[i] = g * a + pg[i] * k
            pb[i] = b * a + pb[i] * k
            pa[i] = a + pa[i] * k
    out = []
    for i in range(size * size):
        a = pa[i]
        if a <= 1e-6:
            out.append((0.0, 0.0, 0.0, 0.0))
        else:
            out.append((min(pr[i] / a, 1.0), min(pg[i] / a, 1.0),
                        min(pb[i] / a, 1.0), min(a, 1.0)))
    return out


def to_rgba8(img):
    """Straight float RGBA -> bytes; fully transparent pixels become 0."""
    out = bytearray()
    for r, g, b, a in img:
        a8 = int(a * 255.0 + 0.5)
        if a8 == 0:
            out += b'\0\0\0\0'
        else:
            out += bytes((int(r * 255.0 + 0.5), int(g * 255.0 + 0.5),
                          int(b * 255.0 + 0.5), a8))
    return bytes(out)


def lerp(c1, c2, t):
    t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


# ---------------------------------------------------------------------------
# The moon.  `t` places the terminator at the equator: the lit part is
# x > t * r for a waxing moon (mirrored for waning), so t = 1 is the new
# moon, 0.45 a crescent, 0 a quarter, -0.5 a gibbous and -1 the full moon.

PHASES = {
    101: (1.0, True),     # new moon
    102: (0.42, True),    # waxing crescent: sliver on the right
    103: (0.0, True),     # first quarter: right half
    104: (-0.5, True),    # waxing gibbous: dark sliver on the left
    105: (-1.0, True),    # full moon
    106: (-0.5, False),   # waning gibbous: dark sliver on the right
    107: (0.0, False),    # last quarter: left half
    108: (0.42, False),   # waning crescent: sliver on the left
}

MOON_OUTLINE = hexrgb('#0a0d18')
MOON_RIM = hexrgb('#53649a')
MOON_DARK = hexrgb('#1f2a4c')
MOON_DARK_IN = hexrgb('#18203c')
MOON_LIT = hexrgb('#f6f1d8')
MOON_LIMB = hexrgb('#d8d0ac')
MOON_MARE = hexrgb('#bfb793')
MOON_MARE_FAINT = hexrgb('#d3cba7')

# Maria (the dark "seas"), as (x, y, radius) relative to the radius.
MARIA = [
    (-0.32, -0.34, 0.24), (-0.52, 0.02, 0.22), (0.12, -0.36, 0.17),
    (0.33, -0.08, 0.18), (0.52, 0.16, 0.12), (-0.10, 0.42, 0.15),
]


def lit_region(cx, cy, r, t, waxing):
    disc = circle(cx, cy, r)
    sg = 1.0 if waxing else -1.0
    if t >= 1.0:
        return None
    if t <= -1.0:
        return disc
    if t == 0.0:
        return inter(disc, halfplane(-sg, 0.0, cx, cy))
    # The terminator is drawn as a circular arc through both poles and
    # through the point (t * r, 0) on the equator.
    tt = abs(t) * r
    if t > 0.0:
        c = (tt * tt - r * r) / (2.0 * tt)       # < 0: centre on dark side
        return minus(disc, circle(cx + sg * c, cy, tt - c))
    c = (r * r - tt * tt) / (2.0 * tt)           # > 0: centre on lit side
    return inter(disc, circle(cx + sg * c, cy, c + tt))


def moon_layers(s, number):
    t, waxing = PHASES[number]
    c = s / 2.0
    if s <= 16:
        R, ow, rim = 7.35, 1.0, 1.0
    elif s <= 24:
        R, ow, rim = s / 2.0 - 0.6, 1.0, 1.0
    elif s <= 32:
        R, ow, rim = 15.4, 1.25, 1.1
    else:
        R, ow, rim = s * 0.47, s * 0.026, s * 0.026
    r = R - ow
    layers = [(circle(c, c, R), MOON_OUTLINE),
              (circle(c, c, r), MOON_RIM)]

    def dark(x, y):
        q = math.hypot(x - c, y - c) / r
        return lerp(MOON_DARK_IN, MOON_DARK, q * q)
    layers.append((circle(c, c, r - rim), dark))

    lit = lit_region(c, c, r, t, waxing)
    if lit is not None:
        def light(x, y):
            q = math.hypot(x - c, y - c) / r
            return lerp(MOON_LIT, MOON_LIMB, (q - 0.55) / 0.45)
        layers.append((lit, light))
        # Fewer and fainter seas where there are few pixels to show them.
        maria = MARIA if s > 24 else [m for m in MARIA if m[2] >= 0.2]
        mare = union(*[circle(c + mx * r, c + my * r, mr * r)
                       for mx, my, mr in maria])
        layers.append((inter(lit, mare),
                       MOON_MARE if s > 24 else MOON_MARE_FAINT))
    return layers


# ---------------------------------------------------------------------------
# The application picture: a bone-white skull with a lit candle standing on
# its crown, between two red dice.  Coordinates are in units of 1/32 of the
# icon.

APP_OUTLINE = hexrgb('#24140f')
BONE = hexrgb('#f1ead6')
BONE_SHADE = hexrgb('#c9bc98')
SOCKET = hexrgb('#1a0f0c')
WAX = hexrgb('#f7e6b0')
WAX_SHADE = hexrgb('#d8b56e')
FLAME_OUT = hexrgb('#e8641a')
FLAME_MID = hexrgb('#ffb52e')
FLAME_CORE = hexrgb('#fff6c4')
DIE = hexrgb('#d0302c')
DIE_SHADE = hexrgb('#8c1c1a')
DIE_OUTLINE = hexrgb('#2a0c0a')
PIP = hexrgb('#fff8ee')


def die_layers(s, ow, cx, cy, half, pips, angle=0.0):
    u = s / 32.0
    X = lambda v: v * u
    body = box(X(cx), X(cy), X(half), X(half), X(half * 0.32), angle)
    face = box(X(cx - 0.35), X(cy - 0.35), X(half - 0.9), X(half - 0.9),
               X(half * 0.25), angle)
    layers = [(grow(body, ow), DIE_OUTLINE), (body, DIE_SHADE), (face, DIE)]
    ca, sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    step = half * 0.52
    for px, py in pips:
        lx, ly = px * step, py * step
        gx = X(cx - 0.35 + ca * lx - sa * ly)
        gy = X(cy - 0.35 + sa * lx + ca * ly)
        if s <= 32 and angle == 0.0:
            # Small sizes: square pips on whole pixels.
            ph = 1.0 if s >= 32 else 0.5
            gx = round(gx - ph) + ph
            gy = round(gy - ph) + ph
            layers.append((box(gx, gy, ph, ph, 0.25 * ph), PIP))
        else:
            layers.append((circle(gx, gy, X(half * 0.2)), PIP))
    return layers


FACE3 = [(-1, -1), (0, 0), (1, 1)]
FACE5 = [(-1, -1), (1, -1), (0, 0), (-1, 1), (1, 1)]
FACE2 = [(1, -1), (-1, 1)]


def app_layers(s):
    u = s / 32.0
    X = lambda v: v * u
    ow = max(1.0, 0.8 * u)
    tilt = 0.0 if s <= 32 else 1.0
    layers = []
    sx = 13.0                       # axis of the skull and the candle

    # Warm glow behind the flame.
    gx, gy, gr = X(sx), X(4.0), X(8.0)

    def glow(x, y):
        q = math.hypot(x - gx, y - gy) / gr
        return (1.0, 0.78, 0.3, 0.5 * max(0.0, 1.0 - q) ** 2)
    if s >= 48:
        layers.append((circle(gx, gy, gr), glow))

    # Skull silhouette: cranium, cheek bones and jaw; the candle on top.
    cranium = circle(X(sx), X(16.6), X(8.8))
    cheeks = box(X(sx), X(20.6), X(8.2), X(3.2), X(2.6))
    jaw = box(X(sx), X(26.0), X(5.6), X(3.2), X(1.6))
    skull = union(cranium, cheeks, jaw)
    layers.append((grow(skull, ow), APP_OUTLINE))
    cx0, cy0 = X(sx - 2.0), X(14.0)

    def bone(x, y):
        q = math.hypot(x - cx0, y - cy0) / X(15.0)
        return lerp(BONE, BONE_SHADE, (q - 0.5) / 0.5)
    layers.append((skull, bone))

    # The candle stands on the crown, with a drip of wax down its side.
    candle = union(box(X(sx), X(8.5), X(2.3), X(2.9), X(0.6)),
                   capsule(X(sx - 1.4), X(9.0), X(sx - 1.4), X(11.8),
                           X(0.9)))
    layers.append((grow(candle, ow), APP_OUTLINE))
    layers.append((candle, WAX))
    layers.append((inter(candle, halfplane(-1.0, 0.0, X(sx + 0.9), 0)),
                   WAX_SHADE))

    # Eye sockets, nose, teeth.
    for ex in (sx - 3.7, sx + 3.7):
        layers.append((box(X(ex), X(18.6), X(2.8), X(2.5), X(1.9)), SOCKET))
    layers.append((polygon([(X(sx), X(21.6)), (X(sx + 1.5), X(24.2)),
                            (X(sx - 1.5), X(24.2))]), SOCKET))
    tw = max(X(0.4), 0.5)
    for tx in (sx - 2.0, sx, sx + 2.0):
        layers.append((box(X(tx), X(27.4), tw, X(1.3)), SOCKET))
    layers.append((box(X(sx), X(26.3), X(3.9), max(X(0.35), 0.5)), SOCKET))

    # Two dice: one at the lower left, a larger one in front on the right.
    layers += die_layers(s, ow, 5.0, 27.0, 4.0, FACE2, -10.0 * tilt)
    layers += die_layers(s, ow, 25.5, 25.0, 5.5,
                         FACE5 if s > 32 else FACE3, 9.0 * tilt)

    # Wick and flame.
    layers.append((box(X(sx), X(5.4), max(X(0.35), 0.5), X(0.8)), SOCKET))

    def drop(w, top, bottom):
        """Teardrop: a round bottom and a pointed tip at `top`."""
        rr = w / 2.0
        cyb = bottom - rr
        h = cyb - top
        big = (h * h + rr * rr) / (2.0 * rr)
        lens = inter(circle(X(sx) - big + rr, cyb, big),
                     circle(X(sx) + big - rr, cyb, big),
                     halfplane(0.0, 1.0, 0.0, cyb))
        return union(circle(X(sx), cyb, rr), lens)
    layers.append((drop(X(6.0), X(0.0), X(6.2)), FLAME_OUT))
    layers.append((drop(X(4.0), X(1.6), X(5.8)), FLAME_MID))
    layers.append((drop(X(2.0), X(3.2), X(5.3)), FLAME_CORE))
    return layers


# The 16x16 picture is drawn by hand, pixel by pixel.
APP16_KEY = {'.': None, 'o': 1, 'B': 2, 'b': 3, 'W': 5, 'w': 6, 'Y': 7,
             'y': 8, 'f': 9, 'R': 10, 'r': 11, 'P': 2}
APP16 = """
.....ff.........
....fyyf........
....fYYf........
....fyyf........
....oWwo........
..ooWWwwoo......
.oBBBBBBbbo.....
oBBBBBBBBbbo....
oBooBBBBoobo....
oBooBBBBoobo....
oBBBBooBBbbooooo
.obBBooBBboPRRro
..oBBBBBbboRPRro
..oBoBoBoboRRPro
...oooooooorrrro
..........oooooo
"""


def pixel_map(text, key):
    rows = [r for r in text.split() if r]
    idx, opaque = [], []
    for row in rows:
        for ch in row:
            v = key[ch]
            idx.append(0 if v is None else v)
            opaque.append(v is not None)
    return idx, opaque


# ---------------------------------------------------------------------------
# PNG and ICO writers

def png_bytes(rgba, w, h):
    def chunk(tag, data):
        c = struct.pack('>I', len(data)) + tag + data
        return c + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)

    stride = w * 4
    raw = bytearray()
    prev = bytes(stride)
    for y in range(h):
        row = rgba[y * stride:(y + 1) * stride]
        best = None
        for ft in range(5):
            f = bytearray(stride)
            for i in range(stride):
                a = row[i - 4] if i >= 4 else 0
                b = prev[i]
                c = prev[i - 4] if i >= 4 else 0
                if ft == 0:
                    p = 0
                elif ft == 1:
                    p = a
                elif ft == 2:
                    p = b
                elif ft == 3:
                    p = (a + b) >> 1
                else:
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    p = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                f[i] = (row[i] - p) & 0xff
            score = sum(v if v < 128 else 256 - v for v in f)
            if best is None or score < best[0]:
                best = (score, ft, f)
        raw.append(best[1])
        raw += best[2]
        prev = row
    ihdr = struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def and_mask(opaque, w, h):
    """1-bit mask, bottom-up, rows padded to 32 bits; 1 = transparent."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if not opaque[y * w + x]:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def dib_header(w, h, bits, image_size, colours):
    return struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bits, 0,
                       image_size, 0, 0, colours, 0)


def dib4(indices, opaque, palette, w, h):
    pal = bytearray()
    for r, g, b in palette:
        pal += bytes((b, g, r, 0))
    stride = ((w * 4 + 31) // 32) * 4
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            v = indices[y * w + x] if opaque[y * w + x] else 0
            row[x >> 1] |= v << 4 if x % 2 == 0 else v
        xor += row
    mask = and_mask(opaque, w, h)
    return (dib_header(w, h, 4, len(xor) + len(mask), 16) + bytes(pal) +
            bytes(xor) + mask)


def ico_bytes(entries):
    """entries: list of (width, height, colour_count, bits, data)."""
    head = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    dirs, blobs = b'', b''
    for w, h, ncol, bits, data in entries:
        dirs += struct.pack('<BBBBHHII', w & 0xff, h & 0xff, ncol, 0, 1,
                            bits, len(data), offset)
        blobs += data
        offset += len(data)
    return head + dirs + blobs


# ---------------------------------------------------------------------------
# 16-colour reduction.  Index 0 is black so that masked pixels leave the
# screen untouched.

MOON_PALETTE = ['#000000', '#0a0d18', '#1a2342', '#26325a', '#53649a',
                '#3a4877', '#77756c', '#a9a58f', '#cfc7a3', '#e4ddbd',
                '#f6f1d8', '#ffffff', '#bdb593', '#a49c7c', '#12172b',
                '#8f8a76']

APP_PALETTE = ['#000000', '#24140f', '#f4eedc', '#cfc3a0', '#9c8c6c',
               '#f7e6b0', '#d8b56e', '#fff6c4', '#ffb52e', '#e8641a',
               '#d0302c', '#8c1c1a', '#5a3a2c', '#e8968a', '#e9dcc0',
               '#b0401c']


def parse_palette(hexes):
    return [tuple(int(h[i:i + 2], 16) for i in (1, 3, 5)) for h in hexes]


def nearest(palette, r, g, b):
    best, bi = None, 0
    for i, (pr, pg, pb) in enumerate(palette):
        dr, dg, db = r - pr, g - pg, b - pb
        rm = (r + pr) / 2.0
        d = (2 + rm / 256) * dr * dr + 4 * dg * dg + (2 + (255 - rm) / 256) * db * db
        if best is None or d < best:
            best, bi = d, i
    return bi


def quantise(img, palette):
    idx, opaque = [], []
    for r, g, b, a in img:
        if a < 0.5:
            idx.append(0)
            opaque.append(False)
        else:
            idx.append(nearest(palette, r * 255, g * 255, b * 255))
            opaque.append(True)
    return idx, opaque


def palette_rgba(idx, opaque, palette):
    out = bytearray()
    for i, o in zip(idx, opaque):
        if o:
            out += bytes(palette[i]) + b'\xff'
        else:
            out += b'\0\0\0\0'
    return bytes(out)


# ---------------------------------------------------------------------------

def build(name, layers_for, palette_hex, hand16=None):
    """Render one picture at every size and write its PNGs and .ico.
    hand16, if given, is a (indices, opaque) pixel map used at 16x16."""
    palette = parse_palette(palette_hex)
    floats, rgba = {}, {}
    for s in PNG_SIZES:
        if s == 16 and hand16 is not None:
            rgba[s] = palette_rgba(hand16[0], hand16[1], palette)
        else:
            floats[s] = render(layers_for(s), s, 8 if s <= 64 else 4)
            rgba[s] = to_rgba8(floats[s])
        with open(os.path.join(HERE, 'png', '%s-%d.png' % (name, s)),
                  'wb') as f:
            f.write(png_bytes(rgba[s], s, s))
    # Smallest first; Windows picks the best match by size and depth.
    entries = []
    for s in (16, 32):
        if s == 16 and hand16 is not None:
            idx, opaque = hand16
        else:
            idx, opaque = quantise(floats[s], palette)
        entries.append((s, s, 16, 4, dib4(idx, opaque, palette, s, s)))
    for s in (48, 64, 256):
        entries.append((s, s, 0, 32, png_bytes(rgba[s], s, s)))
    data = ico_bytes(entries)
    with open(os.path.join(HERE, name + '.ico'), 'wb') as f:
        f.write(data)
    return rgba[256]


def main():
    os.makedirs(os.path.join(HERE, 'png'), exist_ok=True)
    # app.ico serves as icon group 1 and as group 109 (the off phase of
    # the blinking tray icon).
    app256 = build('app', app_layers, APP_PALETTE,
                   pixel_map(APP16, APP16_KEY))
    with open(os.path.join(HERE, 'png', 'tarvex.png'), 'wb') as f:
        f.write(png_bytes(app256, 256, 256))
    for n in sorted(PHASES):
        build('moon%d' % n, lambda s, n=n: moon_layers(s, n), MOON_PALETTE)


if __name__ == '__main__':
    main()
