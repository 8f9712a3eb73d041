#!/usr/bin/env python3
"""Verifies the generated frames and icon. Exits non-zero on any problem.

    python3 skin/check.py
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FRAMES_DIR = os.path.join(HERE, "frames")
ICON_PATH = os.path.join(HERE, "Wzmp.ico")
KEY = (255, 0, 255)
MARGIN = 2
POSES = ("sl", "sr", "l", "r")

problems = []


def fail(msg):
    problems.append(msg)


def read_bmp(path):
    """Returns rows top-down of (r, g, b), or None if the header is wrong."""
    data = open(path, "rb").read()
    magic, size, _, _, offset = struct.unpack("<2sIHHI", data[:14])
    hsize, w, h, planes, bits, comp = struct.unpack("<IiiHHI", data[14:34])
    name = os.path.basename(path)
    if magic != b"BM" or hsize != 40 or planes != 1 or bits != 24 or comp != 0:
        fail("%s: not a 24-bit uncompressed BMP with a 40-byte info header" % name)
        return None
    if h <= 0:
        fail("%s: rows must be bottom-up (positive height)" % name)
        return None
    stride = (w * 3 + 3) & ~3
    if size != len(data) or len(data) < offset + stride * h:
        fail("%s: size fields do not match the file" % name)
        return None
    rows = []
    for y in range(h):
        base = offset + y * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                     for x in range(w)])
    rows.reverse()
    return rows


def check_frame(name, img):
    h, w = len(img), len(img[0])
    if img[h - 1][0] != KEY:
        fail("%s: bottom-left pixel is not the key colour" % name)
    figure = [(x, y) for y in range(h) for x in range(w) if img[y][x] != KEY]
    if not figure:
        fail("%s: empty figure" % name)
        return
    xs = [p[0] for p in figure]
    ys = [p[1] for p in figure]
    if min(xs) < MARGIN or min(ys) < MARGIN or max(xs) >= w - MARGIN or max(ys) >= h - MARGIN:
        fail("%s: figure closer than %d px to the edge" % (name, MARGIN))
    for x, y in figure:
        r, g, b = img[y][x]
        if r > 200 and b > 200 and g < 60:
            fail("%s: near-key colour %s at %d,%d" % (name, img[y][x], x, y))
            break
    # key pixels not reachable from the border would punch holes in the window
    seen = [[False] * w for _ in range(h)]
    stack = [(x, y) for x in range(w) for y in (0, h - 1)] + \
            [(x, y) for y in range(h) for x in (0, w - 1)]
    while stack:
        x, y = stack.pop()
        if 0 <= x < w and 0 <= y < h and not seen[y][x] and img[y][x] == KEY:
            seen[y][x] = True
            stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    holes = sum(1 for y in range(h) for x in range(w) if img[y][x] == KEY and not seen[y][x])
    if holes:
        fail("%s: %d enclosed key pixels" % (name, holes))
    # the silhouette edge must be dark so it reads on light desktops
    light = 0
    edge = 0
    for x, y in figure:
        if any(0 <= x + dx < w and 0 <= y + dy < h and img[y + dy][x + dx] == KEY
               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
            edge += 1
            r, g, b = img[y][x]
            if 0.3 * r + 0.59 * g + 0.11 * b > 110:
                light += 1
    if light:
        fail("%s: %d of %d silhouette pixels are not dark" % (name, light, edge))


def check_icon():
    if not os.path.exists(ICON_PATH):
        fail("Wzmp.ico missing")
        return
    data = open(ICON_PATH, "rb").read()
    _, kind, count = struct.unpack("<HHH", data[:6])
    sizes = set()
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        w, h = w or 256, h or 256
        blob = data[offset:offset + length]
        if blob[:4] == b"\x89PNG":
            fail("icon %dx%d is PNG; classic DIB entries are required" % (w, h))
            continue
        hsize, bw, bh, _, bbits = struct.unpack("<IiiHH", blob[:16])
        if hsize != 40 or bw != w or bh != 2 * h or bbits != 32:
            fail("icon %dx%d: unexpected DIB header" % (w, h))
            continue
        mask_stride = ((w + 31) // 32) * 4
        if length != 40 + w * h * 4 + mask_stride * h:
            fail("icon %dx%d: wrong data length" % (w, h))
            continue
        # bottom-left pixel must be transparent in alpha and AND mask
        if blob[40 + 3] != 0 or not blob[40 + w * h * 4] & 0x80:
            fail("icon %dx%d: background not transparent" % (w, h))
        sizes.add(w)
    if kind != 1 or sizes != {16, 32, 48}:
        fail("icon must hold 16, 32 and 48 px images, has %s" % sorted(sizes))


def main():
    frames = {}
    for pose in POSES:
        for i in range(4):
            name = "%s%d" % (pose, i)
            path = os.path.join(FRAMES_DIR, name + ".bmp")
            if not os.path.exists(path):
                fail("%s.bmp missing" % name)
                continue
            img = read_bmp(path)
            if img is not None:
                frames[name] = img
    sizes = {(len(img[0]), len(img)) for img in frames.values()}
    if len(sizes) > 1:
        fail("frames differ in size: %s" % sorted(sizes))
    for name, img in sorted(frames.items()):
        check_frame(name, img)
    for left, right in (("sl", "sr"), ("l", "r")):
        for i in range(4):
            a, b = frames.get(left + str(i)), frames.get(right + str(i))
            if a and b and a != [list(reversed(row)) for row in b]:
                fail("%s%d is not the mirror of %s%d" % (left, i, right, i))
    for pose in POSES:
        seq = [frames.get("%s%d" % (pose, i)) for i in range(4)]
        if all(seq) and any(seq[i] == seq[(i + 1) % 4] for i in range(4)):
            fail("%s: two consecutive frames are identical" % pose)
    check_icon()

    for msg in problems:
        print("FAIL", msg)
    if problems:
        sys.exit(1)
    print("ok: %d frames of %dx%d, icon 16/32/48" % ((len(frames),) + next(iter(sizes))))


if __name__ == "__main__":
    main()
