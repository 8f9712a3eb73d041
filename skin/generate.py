#!/usr/bin/env python3
"""Draws Wuzzle, the WuzzlePlayer character, and writes its frames, icon and preview.

Standard library only. Output is deterministic, so running it again yields
byte-identical files.

    python3 skin/generate.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FRAMES_DIR = os.path.join(HERE, "frames")
PREVIEW_DIR = os.path.join(HERE, "preview")
ICON_PATH = os.path.join(HERE, "Wzmp.ico")

SIZE = 112          # frames are SIZE x SIZE
SS = 4              # supersamples per pixel axis
KEY = (255, 0, 255)  # transparent colour of the window shape
LINE = 1.6          # outline width in pixels

# Palette: warm fur, teal headphones, dark plum ink that reads on any desktop.
INK = (46, 22, 44)
FUR = (255, 148, 62)
FUR_LIGHT = (255, 190, 110)
FUR_DARK = (224, 100, 46)
FUR_FAR = (196, 84, 44)  # limbs on the far side
BELLY = (255, 226, 178)
PHONES = (48, 200, 208)
PHONES_LIGHT = (150, 240, 236)
PHONES_DARK = (24, 130, 160)
CUSHION = (86, 60, 120)
EYE_WHITE = (255, 255, 250)
IRIS = (66, 50, 120)
IRIS_LOW = (110, 96, 200)
PUPIL = (30, 18, 40)
CHEEK = (255, 118, 128)
MOUTH = (120, 30, 56)
TONGUE = (255, 112, 126)


# ---------------------------------------------------------------- shapes
# A shape is a signed distance function (negative inside) plus a bounding box.

class Shape:
    def __init__(self, sdf, box):
        self.sdf = sdf
        self.box = box  # (x0, y0, x1, y1)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    def sdf(x, y):
        px, py = (x - cx), (y - cy)
        k0 = math.hypot(px / rx, py / ry)
        k1 = math.hypot(px / (rx * rx), py / (ry * ry))
        if k1 < 1e-9:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1  # good approximation near the edge
    return Shape(sdf, (cx - rx, cy - ry, cx + rx, cy + ry))


def capsule(ax, ay, bx, by, r):
    """Thick line from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy or 1e-9

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return Shape(sdf, (min(ax, bx) - r, min(ay, by) - r,
                       max(ax, bx) + r, max(ay, by) + r))


def arc(cx, cy, rx, ry, a0, a1, r):
    """Thick elliptical arc from angle a0 to a1 (radians, y down)."""
    n = 48
    pts = [(cx + rx * math.cos(a0 + (a1 - a0) * i / n),
            cy + ry * math.sin(a0 + (a1 - a0) * i / n)) for i in range(n + 1)]
    segs = [capsule(pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], r)
            for i in range(n)]
    return union(*segs)


def lens(ax, ay, bx, by, bulge):
    """Pointed leaf between a and b, `bulge` pixels wide at the middle."""
    half = math.hypot(bx - ax, by - ay) / 2
    r = (half * half + (bulge / 2) ** 2) / bulge  # circle through both tips
    mx, my = (ax + bx) / 2, (ay + by) / 2
    nx, ny = -(by - ay) / (2 * half), (bx - ax) / (2 * half)
    off = r - bulge / 2
    a = circle(mx + nx * off, my + ny * off, r)
    b = circle(mx - nx * off, my - ny * off, r)
    return Shape(lambda x, y: max(a.sdf(x, y), b.sdf(x, y)),
                 (min(ax, bx) - bulge, min(ay, by) - bulge,
                  max(ax, bx) + bulge, max(ay, by) + bulge))


def union(*shapes):
    return Shape(lambda x, y: min(s.sdf(x, y) for s in shapes),
                 (min(s.box[0] for s in shapes), min(s.box[1] for s in shapes),
                  max(s.box[2] for s in shapes), max(s.box[3] for s in shapes)))


def intersect(a, b):
    return Shape(lambda x, y: max(a.sdf(x, y), b.sdf(x, y)), a.box)


def half_plane_below(y0):
    """Everything with y greater than y0."""
    return Shape(lambda x, y: y0 - y, (-1e9, y0, 1e9, 1e9))


# ---------------------------------------------------------------- canvas

class Canvas:
    """Supersampled layer canvas; None marks background."""

    def __init__(self, w, h, ss=SS, scale=1.0, ox=0.0, oy=0.0):
        self.w, self.h, self.ss = w, h, ss
        self.scale, self.ox, self.oy = scale, ox, oy  # figure -> pixel mapping
        self.buf = [None] * (w * ss * h * ss)

    def paint(self, shape, fill, line=LINE, clip=None, shade=None):
        """Fill a shape, ringed by `line` pixels of ink. `shade(x, y)` may
        replace the flat fill; `clip` keeps paint inside another shape."""
        ss, s = self.ss, self.scale
        x0, y0, x1, y1 = shape.box
        pad = line / s + 1
        sw = self.w * ss
        i0 = max(0, int(((x0 - pad) * s + self.ox) * ss))
        i1 = min(sw, int(((x1 + pad) * s + self.ox) * ss) + 1)
        j0 = max(0, int(((y0 - pad) * s + self.oy) * ss))
        j1 = min(self.h * ss, int(((y1 + pad) * s + self.oy) * ss) + 1)
        buf = self.buf
        for j in range(j0, j1):
            y = ((j + 0.5) / ss - self.oy) / s
            row = j * sw
            for i in range(i0, i1):
                x = ((i + 0.5) / ss - self.ox) / s
                d = shape.sdf(x, y) * s  # line widths are in output pixels
                if d >= line:
                    continue
                if clip is not None and clip.sdf(x, y) > 0:
                    continue
                if d >= 0:
                    buf[row + i] = INK
                else:
                    buf[row + i] = shade(x, y) if shade else fill

    def _pixel_sum(self, px, py):
        """Colour sums and count of the figure subsamples of one output pixel."""
        ss = self.ss
        sw = self.w * ss
        r = g = b = n = 0
        for j in range(py * ss, py * ss + ss):
            base = j * sw + px * ss
            for c in self.buf[base:base + ss]:
                if c is not None:
                    r += c[0]
                    g += c[1]
                    b += c[2]
                    n += 1
        return r, g, b, n

    def resolve(self):
        """Average subsamples. A pixel is figure when at least half its
        subsamples are; its colour averages only figure subsamples, so no
        pixel ever blends toward the background (the window shape is 1-bit)."""
        need = (self.ss * self.ss + 1) // 2
        out = []
        for py in range(self.h):
            row = []
            for px in range(self.w):
                r, g, b, n = self._pixel_sum(px, py)
                row.append((r // n, g // n, b // n) if n >= need else None)
            out.append(row)
        return out

    def resolve_alpha(self):
        """Average subsamples with coverage as alpha (for icons)."""
        total = self.ss * self.ss
        out = []
        for py in range(self.h):
            row = []
            for px in range(self.w):
                r, g, b, n = self._pixel_sum(px, py)
                if n:
                    row.append((r // n, g // n, b // n, (255 * n + total // 2) // total))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out


def mix(a, b, t):
    return tuple(int(round(a[k] + (b[k] - a[k]) * t)) for k in range(3))


def toon(base, light, dark, cx, cy, rx, ry):
    """Three-tone shading lit from the upper left: a highlight spot and a
    shadow crescent on the lower right."""
    def shade(x, y):
        ux, uy = (x - cx) / rx, (y - cy) / ry
        if math.hypot(ux + 0.45, uy + 0.52) < 0.3:
            return light
        if math.hypot(ux + 0.16, uy + 0.2) > 1.0:
            return dark
        return base
    return shade


# ---------------------------------------------------------------- character

GROUND = 106.0  # y of the soles


# Arm angles are rotations from hanging straight down; positive moves the
# hand forward (to the right). Feet are (x offset from the hip, lift).

def rest_pose(frame):
    """Standing still: breathing in over frames 1-2, a blink in frame 2."""
    lift = (0, 1, 2, 1)[frame]
    return {
        "bx": 55.0, "by": 55.0 - lift, "squash": lift * 0.35,
        "blink": frame == 2,
        "near_foot": (-8.0, 0.0), "far_foot": (6.0, 0.0),
        "near_arm": -0.75 - lift * 0.06, "far_arm": 0.75 + lift * 0.06,
        "tuft": (0.0, 0.0),
        "look": 0.0,
    }


def walk_pose(frame):
    """Four-phase walk: contact, passing, other contact, passing. A planted
    foot slides back under the body while the other swings forward."""
    stride = 11.0
    swing = (1.0, 0.0, -1.0, 0.0)[frame]  # +1: near leg forward
    near_lift = 5.0 if frame == 3 else 0.0
    far_lift = 5.0 if frame == 1 else 0.0
    passing = frame in (1, 3)  # body is highest while passing
    return {
        "bx": 55.0, "by": 55.0 - (2.0 if passing else 0.0),
        "squash": -0.6 if passing else 0.6,
        "blink": False,
        # while passing, the swinging foot is already a little ahead
        "near_foot": (stride * swing + (3.0 if near_lift else -1.0 if passing else 0.0), near_lift),
        "far_foot": (-stride * swing + (3.0 if far_lift else -1.0 if passing else 0.0), far_lift),
        # arms swing opposite to the leg on their side
        "near_arm": -0.25 - 0.6 * swing, "far_arm": 0.2 + 0.7 * swing,
        # the tuft lags behind the bob and streams back a little
        "tuft": (-1.5, 1.5 if passing else -1.0),
        "look": 1.0,
    }


def draw_leg(cv, hip, foot, colour, light):
    fx, lift = hip[0] + foot[0], foot[1]
    ay = GROUND - 5.0 - lift
    cv.paint(capsule(hip[0], hip[1], fx, ay, 5.0), colour)
    sole = ellipse(fx + 2.5, GROUND - 3.6 - lift, 7.0, 4.4)
    cv.paint(sole, colour, shade=lambda x, y: light if y < GROUND - 5.2 - lift else colour)


def draw_arm(cv, sx, sy, angle):
    """Stubby arm with a round mitten, hanging from the shoulder (sx, sy)."""
    length = 9.0
    ex = sx + math.sin(angle) * length
    ey = sy + math.cos(angle) * length
    arm = union(capsule(sx, sy, ex, ey, 4.0), circle(ex, ey, 4.8))
    cv.paint(arm, FUR, shade=lambda x, y: FUR_DARK if y > ey + 1.5 else FUR)


def draw_eye(cv, cx, cy, rx, ry, blink, look, body):
    if blink:
        # closed eye: a happy downward-curved lid line
        cv.paint(arc(cx, cy - 1.0, rx * 0.95, ry * 0.55, 0.15 * math.pi, 0.85 * math.pi, 1.1),
                 INK, line=0, clip=body)
        return
    eye = ellipse(cx, cy, rx, ry)
    cv.paint(eye, EYE_WHITE, line=1.3)
    px, py = cx + 1.6 + look * 0.8, cy + 0.8
    iris = ellipse(px, py, rx * 0.72, ry * 0.74)
    cv.paint(iris, IRIS, line=0, clip=eye,
             shade=lambda x, y: IRIS_LOW if y > py + ry * 0.28 else IRIS)
    cv.paint(ellipse(px + 0.3, py + 0.2, rx * 0.40, ry * 0.44), PUPIL, line=0, clip=eye)
    cv.paint(circle(px - rx * 0.28, py - ry * 0.36, rx * 0.30), EYE_WHITE, line=0, clip=eye)
    cv.paint(circle(px + rx * 0.30, py + ry * 0.34, rx * 0.13), EYE_WHITE, line=0, clip=eye)


def draw_character(cv, p, limbs=True):
    bx, by = p["bx"], p["by"]
    rx, ry = 33.0 + p["squash"], 31.0 - p["squash"]
    body = ellipse(bx, by, rx, ry)
    hip_y = by + ry - 8.0

    # behind the body: limbs, headband, far headphone cup
    if limbs:
        draw_arm(cv, bx + rx - 8, by + 7, p["far_arm"])
        draw_leg(cv, (bx + 1.5, hip_y), p["far_foot"], FUR_FAR, FUR_DARK)
        draw_leg(cv, (bx - 0.5, hip_y), p["near_foot"], FUR, FUR_LIGHT)
    band_top = by - ry - 3.0
    cv.paint(arc(bx, by, rx + 1.4, ry + 1.4, math.pi * 1.08, math.pi * 1.92, 3.4),
             PHONES, shade=lambda x, y: PHONES_LIGHT if y < band_top else PHONES)
    cv.paint(ellipse(bx + rx - 1.0, by - 3, 5.0, 9.5), PHONES_DARK)

    # body with fur shading and belly
    cv.paint(body, FUR, shade=toon(FUR, FUR_LIGHT, FUR_DARK, bx, by, rx, ry))
    cv.paint(ellipse(bx + 9, by + 17, 19.0, 12.0), BELLY, line=0, clip=body)

    # tuft of hair on top, swept back
    tx, ty = bx + 3, by - ry + 5
    lag_x, lag_y = p["tuft"]
    for dx, tip_x, tip_y, w in ((-5, -11, -13, 6.5), (0, -2, -17, 7.5), (5, 7, -13, 6.0)):
        cv.paint(lens(tx + dx, ty, tx + tip_x + lag_x, ty + tip_y + lag_y, w), FUR,
                 shade=lambda x, y: FUR_LIGHT if y < ty - 9 else FUR)

    # face, shifted toward the facing direction
    fx = bx + 11 + p["look"]
    fy = by - 3
    draw_eye(cv, fx - 8.5, fy, 7.8, 9.8, p["blink"], p["look"], body)
    draw_eye(cv, fx + 10.0, fy - 0.5, 6.8, 9.2, p["blink"], p["look"], body)
    cv.paint(ellipse(fx - 11, fy + 12.5, 4.6, 2.6), CHEEK, line=0, clip=body)
    cv.paint(ellipse(fx + 12.5, fy + 12, 3.4, 2.4), CHEEK, line=0, clip=body)
    mouth = intersect(ellipse(fx + 1.5, fy + 11.0, 4.2, 4.6), half_plane_below(fy + 11.0))
    cv.paint(mouth, MOUTH, line=1.1)
    cv.paint(circle(fx + 1.5, fy + 16.5, 3.0), TONGUE, line=0, clip=mouth)

    # near arm in front of the body
    if limbs:
        draw_arm(cv, bx - rx + 8, by + 13, p["near_arm"])

    # near headphone cup, hugging the side of the head
    cx, cy = bx - rx + 3.0, by - 3
    cv.paint(ellipse(cx + 3.5, cy, 5.0, 10.5), CUSHION)
    cup = ellipse(cx, cy, 7.0, 12.0)
    cv.paint(cup, PHONES, shade=toon(PHONES, PHONES_LIGHT, PHONES_DARK, cx, cy, 7.0, 12.0))
    cv.paint(circle(cx - 0.5, cy + 0.5, 2.6), PHONES_LIGHT, line=1.1)


def render_frame(pose):
    cv = Canvas(SIZE, SIZE)
    draw_character(cv, pose)
    return cv.resolve()


def mirror(img):
    return [list(reversed(row)) for row in img]


# ---------------------------------------------------------------- files

def bmp_bytes(img):
    """24-bit bottom-up BMP; None pixels become the key colour."""
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img):
        for c in row:
            r, g, b = c if c is not None else KEY
            data += bytes((b, g, r))
        data += b"\0" * (stride - w * 3)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def png_bytes(rgb_rows):
    """RGB PNG from rows of (r, g, b) tuples."""
    h, w = len(rgb_rows), len(rgb_rows[0])
    raw = bytearray()
    for row in rgb_rows:
        raw.append(0)
        for c in row:
            raw += bytes(c)

    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body +
                struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def ico_bytes(images):
    """Classic ICO with 32-bit BGRA DIB entries plus a 1-bit AND mask."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        n = len(img)
        xor = bytearray()
        for row in reversed(img):
            for r, g, b, a in row:
                if a < 128:
                    r = g = b = 0  # masked out: keep old loaders from XOR-ing colour onto the desktop
                xor += bytes((b, g, r, a))
        mask_stride = ((n + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(img):
            bits = bytearray(mask_stride)
            for x, px in enumerate(row):
                if px[3] < 128:
                    bits[x >> 3] |= 0x80 >> (x & 7)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- icon

def draw_icon_head(cv, n):
    """Front view of the head in a 100-unit square, simplified as n shrinks
    so the face stays legible at 16 px."""
    line = 1.0 if n <= 16 else 1.3 if n <= 32 else 1.6
    hx, hy, r = 50.0, 57.0, 34.0
    head = circle(hx, hy, r)
    cv.paint(arc(hx, hy, r + 2.5, r + 2.5, math.pi * 1.1, math.pi * 1.9, 4.5), PHONES, line=line)
    for dx, tip_x, tip_y, w in ((-4, -12, -14, 9.0), (0, -1, -19, 10.0), (4, 9, -14, 8.5)):
        cv.paint(lens(hx + dx, hy - r + 4, hx + tip_x, hy - r + 4 + tip_y, w), FUR, line=line,
                 shade=lambda x, y: FUR_LIGHT if y < hy - r - 6 else FUR)
    cv.paint(head, FUR, line=line, shade=toon(FUR, FUR_LIGHT, FUR_DARK, hx, hy, r, r))
    if n > 16:
        cv.paint(ellipse(hx, hy + 22, 20.0, 12.0), BELLY, line=0, clip=head)
    for side in (-1, 1):
        ex, ey = hx + side * 14.0, hy - 3
        if n <= 16:
            # too small for whites: big dark eyes with a glint
            eye = ellipse(ex - side * 0.5, ey + 1, 8.5, 11.5)
            cv.paint(eye, PUPIL, line=0)
            cv.paint(circle(ex - 2.0, ey - 3.0, 4.2), EYE_WHITE, line=0, clip=eye)
        else:
            eye = ellipse(ex, ey, 8.8, 11.0)
            cv.paint(eye, EYE_WHITE, line=line)
            cv.paint(ellipse(ex + 1.6, ey + 1.2, 6.0, 7.8), IRIS, line=0, clip=eye,
                     shade=lambda x, y, ey=ey: IRIS_LOW if y > ey + 4 else IRIS)
            cv.paint(ellipse(ex + 1.8, ey + 1.4, 3.4, 4.6), PUPIL, line=0, clip=eye)
            cv.paint(circle(ex - 0.6, ey - 2.6, 2.6), EYE_WHITE, line=0, clip=eye)
        cv.paint(ellipse(hx + side * 23, hy + 13, 5.5, 3.2), CHEEK, line=0, clip=head)
        cx = hx + side * (r + 1)
        cup = ellipse(cx, hy + 1, 9.0, 14.0)
        cv.paint(cup, PHONES, line=line,
                 shade=toon(PHONES, PHONES_LIGHT, PHONES_DARK, cx, hy + 1, 9.0, 14.0))
    if n > 16:
        mouth = intersect(ellipse(hx + 1, hy + 12, 5.0, 5.5), half_plane_below(hy + 12))
        cv.paint(mouth, MOUTH, line=line * 0.8)
        cv.paint(circle(hx + 1, hy + 18.5, 3.5), TONGUE, line=0, clip=mouth)


def render_icon(n):
    s = n / 90.0  # the head spans about x 5..95, y 6..93 of its 100 units
    cv = Canvas(n, n, ss=8, scale=s, ox=-5.0 * s, oy=-4.5 * s)
    draw_icon_head(cv, n)
    return cv.resolve_alpha()


# ---------------------------------------------------------------- preview

def preview_sheet(frames, scale=2, gap=8):
    """All frames in rows per pose, on light and dark backgrounds."""
    order = [["sr0", "sr1", "sr2", "sr3"], ["sl0", "sl1", "sl2", "sl3"],
             ["r0", "r1", "r2", "r3"], ["l0", "l1", "l2", "l3"]]
    cell = SIZE * scale + gap
    panel_w = gap + 4 * cell
    panel_h = gap + len(order) * cell
    width = 2 * panel_w
    canvas = [[(0, 0, 0)] * width for _ in range(panel_h)]
    for pi, bg in enumerate([(236, 240, 244), (34, 38, 48)]):
        for y in range(panel_h):
            for x in range(panel_w):
                canvas[y][pi * panel_w + x] = bg
        for ri, names in enumerate(order):
            for ci, name in enumerate(names):
                img = frames[name]
                ox = pi * panel_w + gap + ci * cell
                oy = gap + ri * cell
                for y in range(SIZE):
                    for x in range(SIZE):
                        c = img[y][x]
                        if c is None:
                            continue
                        for dy in range(scale):
                            line = canvas[oy + y * scale + dy]
                            for dx in range(scale):
                                line[ox + x * scale + dx] = c
    return canvas


def preview_icons(icons, bg=(236, 240, 244), scale=6):
    width = sum(len(i) * scale + 8 for i in icons) + 8
    height = max(len(i) for i in icons) * scale + 16
    canvas = [[bg] * width for _ in range(height)]
    ox = 8
    for img in icons:
        for y, row in enumerate(img):
            for x, (r, g, b, a) in enumerate(row):
                c = mix(bg, (r, g, b), a / 255.0)
                for dy in range(scale):
                    for dx in range(scale):
                        canvas[8 + y * scale + dy][ox + x * scale + dx] = c
        ox += len(img) * scale + 8
    return canvas


# ---------------------------------------------------------------- main

def main():
    frames = {}
    for f in range(4):
        frames["sr%d" % f] = render_frame(rest_pose(f))
        frames["r%d" % f] = render_frame(walk_pose(f))
        frames["sl%d" % f] = mirror(frames["sr%d" % f])
        frames["l%d" % f] = mirror(frames["r%d" % f])
    for name, img in sorted(frames.items()):
        write(os.path.join(FRAMES_DIR, name + ".bmp"), bmp_bytes(img))

    icons = [render_icon(n) for n in (16, 32, 48)]
    write(ICON_PATH, ico_bytes(icons))

    write(os.path.join(PREVIEW_DIR, "sheet.png"), png_bytes(preview_sheet(frames)))
    write(os.path.join(PREVIEW_DIR, "icon.png"), png_bytes(preview_icons(icons)))


if __name__ == "__main__":
    main()
