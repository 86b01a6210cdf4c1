#!/usr/bin/env python3
"""Writes the program icon src/app/win32/quorvel.ico in the colours of the internal skin: a
charcoal tile with an amber Q whose ring holds three list lines (the list of paths).

    python3 skins/generator/icon.py [--out FILE]

Each size is drawn for its own pixel grid rather than scaled down from the largest, so the
small ones stay sharp: 16, 20, 24, 32 and 48 pixels as 32-bit bitmaps with an AND mask,
256 pixels as PNG. The output is committed; the program's resource script embeds it."""

import argparse
import math
import os
import struct

from images import AMBER, AMBER_DEEP, AMBER_LIGHT, OUTLINE, SURFACE, SURFACE_RAISED, TEXT_DIM
from raster import Canvas, clamp, cover, mix, png_bytes, rgba_rows, sd_round_rect, sd_segment

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (16, 20, 24, 32, 48, 256)

# The design on a grid of 32 units (one unit is one pixel of the 32-pixel icon).
TILE = (1.0, 1.0, 31.0, 31.0, 6.0)  # x0, y0, x1, y1, corner radius
RING_CENTRE = (15.0, 14.5)
RING_RADIUS = 8.0  # to the middle of the stroke
STROKE = 3.6
TAIL = ((19.8, 19.3), (25.5, 25.0))
LIST_LINES = (11.5, 14.5, 17.5)  # y of the lines inside the ring
LIST_SPAN = (11.0, 19.0)


def draw(size):
    c = Canvas(size, size)
    u = size / 32.0

    def tile(px, py):
        x0, y0, x1, y1, r = (v * u for v in TILE)
        return cover(sd_round_rect(px, py, x0, y0, x1, y1, r))

    # The tile: raised charcoal at the top to the window surface at the bottom, with the
    # skin's one-pixel outline around it.
    def tile_fill(x, y):
        a = tile(x + 0.5, y + 0.5)
        return (mix(SURFACE_RAISED, SURFACE, (y + 0.5) / size), a) if a > 0 else None
    c.paint_fn(tile_fill)
    outline = max(1.0, size / 64.0)

    def tile_outline(px, py):
        x0, y0, x1, y1, r = (v * u for v in TILE)
        d = sd_round_rect(px, py, x0, y0, x1, y1, r)
        return clamp(cover(d) - cover(d + outline))
    c.paint(tile_outline, OUTLINE)

    # The Q: a ring and a tail, amber shaded from light at the top to deep at the bottom.
    cx, cy = (v * u for v in RING_CENTRE)
    half = STROKE * u / 2

    def q_shape(px, py):
        ring = cover(abs(math.hypot(px - cx, py - cy) - RING_RADIUS * u) - half)
        (ax, ay), (bx, by) = ((x * u, y * u) for x, y in TAIL)
        tail = cover(sd_segment(px, py, ax, ay, bx, by) - half)
        return max(ring, tail)

    def q_fill(x, y):
        a = q_shape(x + 0.5, y + 0.5)
        if a <= 0:
            return None
        t = (y + 0.5) / size
        colour = mix(AMBER_LIGHT, AMBER, t * 2) if t < 0.5 else mix(AMBER, AMBER_DEEP, (t - 0.5) * 2)
        return colour, a
    c.paint_fn(q_fill)

    # Three list lines inside the ring, where there are pixels enough to tell them apart.
    if size >= 32:
        width = max(1.0, 1.4 * u)
        lx0, lx1 = (v * u for v in LIST_SPAN)
        for i, ly in enumerate(LIST_LINES):
            end = lx1 - (2.5 * u if i == 2 else 0)  # the last line is shorter, as text is

            def line(px, py, y=ly * u, e=end):
                return cover(sd_segment(px, py, lx0, y, e, y) - width / 2)
            c.paint(line, TEXT_DIM)
    return c


def bitmap_entry(c):
    """A 32-bit icon image: BITMAPINFOHEADER (double height for the mask), BGRA rows bottom
    up with straight alpha, then the 1-bit AND mask (set where the pixel is transparent)."""
    rows = rgba_rows(c)
    n = c.w
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + colour + mask


def ico_bytes(sizes=SIZES):
    images = []
    for n in sizes:
        c = draw(n)
        images.append((n, png_bytes(rgba_rows(c)) if n >= 256 else bitmap_entry(c)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        dim = 0 if n >= 256 else n  # 0 stands for 256
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(HERE, "..", "..", "src", "app", "win32", "quorvel.ico"))
    args = parser.parse_args()
    with open(args.out, "wb") as f:
        f.write(ico_bytes())


if __name__ == "__main__":
    main()
