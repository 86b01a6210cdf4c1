"""Small raster toolkit for the skin generator: straight-alpha RGBA canvases, antialiased
shapes from signed distances, and the two ways a skin stores transparency (a colour image
with a mask row beneath it, or a plain image with magenta key pixels), plus BMP and PNG
writers. Pure standard library, so the images can be regenerated anywhere."""

import math
import struct
import zlib

KEY = (255, 0, 255)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(c1, c2, t):
    """Colour c1 moved towards c2 by t (0..1)."""
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


class Canvas:
    """Straight-alpha RGBA pixels as floats (colour 0..255, alpha 0..1) plus a key flag per
    pixel: key pixels are the ones a skin image marks with magenta."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.rgb = [[(0.0, 0.0, 0.0)] * w for _ in range(h)]
        self.a = [[0.0] * w for _ in range(h)]
        self.key = [[False] * w for _ in range(h)]

    def over(self, x, y, colour, alpha):
        """Source-over of one colour with the given opacity."""
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        alpha = min(alpha, 1.0)
        da = self.a[y][x]
        oa = alpha + da * (1 - alpha)
        if oa <= 0:
            return
        dc = self.rgb[y][x]
        self.rgb[y][x] = tuple((colour[i] * alpha + dc[i] * da * (1 - alpha)) / oa for i in range(3))
        self.a[y][x] = oa

    def paint(self, coverage, colour, alpha=1.0):
        """Paints colour wherever coverage(px, py) (pixel centre) is above zero."""
        for y in range(self.h):
            for x in range(self.w):
                c = coverage(x + 0.5, y + 0.5)
                if c > 0:
                    self.over(x, y, colour, c * alpha)

    def paint_fn(self, fn):
        """fn(x, y) -> (colour, alpha) or None, for gradients and profiles."""
        for y in range(self.h):
            for x in range(self.w):
                r = fn(x, y)
                if r:
                    self.over(x, y, r[0], r[1])

    def fill(self, x0, y0, x1, y1, colour, alpha=1.0):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.over(x, y, colour, alpha)

    def set_key_outside(self, inside):
        """Marks every pixel whose centre is not inside(px, py) as key and clears it."""
        for y in range(self.h):
            for x in range(self.w):
                if not inside(x + 0.5, y + 0.5):
                    self.key[y][x] = True
                    self.rgb[y][x] = (0.0, 0.0, 0.0)
                    self.a[y][x] = 0.0

    def flipped(self):
        """The canvas upside down."""
        f = Canvas(self.w, self.h)
        f.rgb, f.a, f.key = self.rgb[::-1], self.a[::-1], self.key[::-1]
        return f

    def blit(self, src, dx, dy):
        for y in range(src.h):
            for x in range(src.w):
                tx, ty = dx + x, dy + y
                if 0 <= tx < self.w and 0 <= ty < self.h:
                    self.rgb[ty][tx] = src.rgb[y][x]
                    self.a[ty][tx] = src.a[y][x]
                    self.key[ty][tx] = src.key[y][x]


# ---- signed distances (negative inside) ----

def sd_round_rect(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - r


def sd_segment(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    t = clamp((wx * vx + wy * vy) / (vx * vx + vy * vy)) if (vx or vy) else 0
    return math.hypot(wx - vx * t, wy - vy * t)


def cover(d):
    """Pixel coverage of a shape edge at signed distance d from the pixel centre."""
    return clamp(0.5 - d)


def rrect(x0, y0, x1, y1, r):
    return lambda px, py: cover(sd_round_rect(px, py, x0, y0, x1, y1, r))


def ring(x0, y0, x1, y1, r, width=1.0):
    """A one-pixel (or wider) outline along the inside of a rounded rectangle."""
    def f(px, py):
        d = sd_round_rect(px, py, x0, y0, x1, y1, r)
        return clamp(cover(d) - cover(d + width))
    return f


def polyline(points, width):
    """Antialiased strokes through the points, round caps, the given line width."""
    half = width / 2

    def f(px, py):
        d = min(sd_segment(px, py, *points[i], *points[i + 1]) for i in range(len(points) - 1))
        return cover(d - half)
    return f


def strokes(lines, width):
    parts = [polyline(p, width) for p in lines]
    return lambda px, py: max(p(px, py) for p in parts)


def polygon(points):
    """Filled polygon with antialiased edges (even-odd inside test, edge distance)."""
    n = len(points)

    def f(px, py):
        inside = False
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
        d = min(sd_segment(px, py, *points[i], *points[(i + 1) % n]) for i in range(n))
        return cover(-d if inside else d)
    return f


def arc_points(cx, cy, r, a0, a1, steps=12):
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps))) for i in range(steps + 1)]


# ---- the two storage forms of skin images ----

def masked_rows(c):
    """Colour rows and mask rows for an image stored with one mask row (MaskType 1): the
    mask byte of every channel is 255 - opacity, so 0 shows the image and 255 keeps what
    lies beneath. Key pixels are magenta with mask 255."""
    img, msk = [], []
    for y in range(c.h):
        ir, mr = [], []
        for x in range(c.w):
            if c.key[y][x]:
                ir.append(KEY)
                mr.append((255, 255, 255))
                continue
            a = c.a[y][x]
            col = tuple(int(round(v)) for v in c.rgb[y][x]) if a > 0 else (0, 0, 0)
            if col == KEY:
                col = (254, 0, 255)  # never a key pixel by accident
            m = 255 - int(round(a * 255))
            ir.append(col)
            mr.append((m, m, m))
        img.append(ir)
        msk.append(mr)
    return img + msk


def flat_rows(c, background):
    """Rows of an image without a mask (MaskType 0): pixels composited over background,
    key pixels magenta."""
    rows = []
    for y in range(c.h):
        r = []
        for x in range(c.w):
            if c.key[y][x]:
                r.append(KEY)
            else:
                col = tuple(int(round(v)) for v in mix(background, c.rgb[y][x], c.a[y][x]))
                r.append((254, 0, 255) if col == KEY else col)
        rows.append(r)
    return rows


def rgba_rows(c):
    """Straight-alpha RGBA rows for PNG images."""
    return [[tuple(int(round(v)) for v in c.rgb[y][x]) + (int(round(c.a[y][x] * 255)),)
             for x in range(c.w)] for y in range(c.h)]


def write_bmp(path, rows):
    """24-bit bottom-up BMP (BITMAPINFOHEADER), rows of (r, g, b)."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def png_bytes(rows):
    """An 8-bit RGBA PNG file's bytes, rows of (r, g, b, a)."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    return png + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def write_png(path, rows):
    """8-bit RGBA PNG, rows of (r, g, b, a)."""
    with open(path, "wb") as f:
        f.write(png_bytes(rows))
