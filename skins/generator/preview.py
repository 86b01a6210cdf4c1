#!/usr/bin/env python3
"""Renders docs/internal-skin-preview.png: the main window and a message box painted from
the committed skin files (skins/AndroidOS) the way the engine composes them: section colour
or gradient, nine-piece border masks with their mask rows and key corners, glyphs, the hover
glow, and caption text (drawn with ImageMagick's convert, which must be installed).

    python3 skins/generator/preview.py [--out FILE]

A review aid for people, not a test: the tests check the skin's facts and pixels."""

import argparse
import math
import os
import struct
import subprocess
import tempfile
import zlib

from raster import write_png

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = os.path.join(os.path.dirname(HERE), "AndroidOS")
KEY = (255, 0, 255)


def read_bmp(path):
    data = open(path, "rb").read()
    off, = struct.unpack_from("<I", data, 10)
    w, h, _, bpp = struct.unpack_from("<iiHH", data, 18)
    assert bpp == 24
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h):
        base = off + (h - 1 - y) * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x]) for x in range(w)])
    return rows


def read_png(path):
    """RGBA rows of the generator's own PNGs (8-bit RGBA, filter 0), premultiplied as the
    loader does for skins above version 7.45."""
    data = open(path, "rb").read()
    pos, idat, w = 8, b"", 0
    while pos < len(data):
        n, = struct.unpack_from(">I", data, pos)
        tag = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        if tag == b"IHDR":
            w, _h = struct.unpack_from(">II", body)
        elif tag == b"IDAT":
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    rows = []
    for y in range(len(raw) // (w * 4 + 1)):
        line = raw[y * (w * 4 + 1) + 1:(y + 1) * (w * 4 + 1)]
        rows.append([tuple(line[4 * x + i] * line[4 * x + 3] // 255 for i in range(3)) + (line[4 * x + 3],)
                     for x in range(w)])
    return rows


def parse_options(path):
    sections, cur = {}, None
    for line in open(path, encoding="ascii"):
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            cur = sections.setdefault(line[1:-1], {})
        elif "=" in line:
            k, v = line.split("=", 1)
            cur.setdefault(k.strip(), v.strip())
    return sections


class Skin:
    def __init__(self):
        self.s = parse_options(os.path.join(SKIN, "Options.dat"))
        self.master = read_bmp(os.path.join(SKIN, "Master.bmp"))
        self.files = {"BUTTONHUGE.BMP": read_bmp(os.path.join(SKIN, "ButtonHuge.bmp"))}
        for n in ("ButtonGlow.png", "EditGlow.png", "Ext_Border.png"):
            self.files[n.upper()] = read_png(os.path.join(SKIN, n))

    def key(self, sec, k, default=None, depth=0):
        d = self.s.get(sec, {})
        if k in d and d[k] != "-1":
            return d[k]
        p = d.get("PARENTCLASS")
        if p and p != sec and depth < 32:
            return self.key(p, k, default, depth + 1)
        return default

    def colour(self, sec, k, default=0xFFFFFF):
        v = int(self.key(sec, k, default))
        return (v & 255, (v >> 8) & 255, (v >> 16) & 255)

    def mask(self, sec, k):
        v = self.key(sec, k)
        if not v:
            return None
        if v[0] in "@^":
            f = v.split(v[0])[1:]
            m = dict(src=self.master, l=int(f[0]), t=int(f[1]), r=int(f[2]), b=int(f[3]))
            if v[0] == "@":
                m.update(count=int(f[4]), mt=int(f[5]), w=(0, 0, 0, 0), dm=0)
            else:
                m.update(w=tuple(int(x) for x in f[4:8]), count=int(f[8]), mt=int(f[9]), dm=int(f[10]))
            return m
        f = v.split("!")[1:]
        src = self.files[f[0]]
        return dict(src=src, l=0, t=0, r=len(src[0]), b=len(src), count=int(f[1]), mt=int(f[2]),
                    w=tuple(int(x) for x in f[4:8]), dm=int(f[8]), png=f[0].endswith(".PNG"))


def blend(dst, x, y, c, k):
    """Mask blend of one pixel: k 0 shows c, 255 keeps the destination."""
    if 0 <= y < len(dst) and 0 <= x < len(dst[0]):
        d = dst[y][x]
        dst[y][x] = tuple((c[i] * (256 - k) + d[i] * k) >> 8 for i in range(3))


def fill_section(img, skin, sec, state, x0, y0, x1, y1):
    hot = state > 0 and int(skin.key(sec, "STATES", 4)) > 1
    pre = "HOT" if hot else ""
    grad = skin.key(sec, pre + "GRADIENTDATA", "") if int(skin.key(sec, pre + "GRADIENTPERCENT", 0)) else ""
    base = skin.colour(sec, pre + "COLOR")
    for y in range(y0, y1):
        c = base
        if grad:
            w = [int(v) for v in grad.split(";")]
            pieces = [w[i:i + 5] for i in range(0, len(w) - 4, 5)]
            h, pos, t = y1 - y0, 0, y - y0
            for n, p in enumerate(pieces):
                end = h - 1 if n == len(pieces) - 1 else min(h - 1, pos + h * p[2] // 100)
                if pos <= t <= end:
                    f = (t - pos) / max(1, end - pos)
                    c1 = (p[0] & 255, (p[0] >> 8) & 255, (p[0] >> 16) & 255)
                    c2 = (p[1] & 255, (p[1] >> 8) & 255, (p[1] >> 16) & 255)
                    c = tuple(round(a + (b - a) * f) for a, b in zip(c1, c2))
                pos = end
        for x in range(x0, x1):
            img[y][x] = c


def draw_mask(img, m, state, x0, y0, x1, y1, parent):
    """Nine-piece border drawing: corners one to one (key pixels show the parent), sides
    and centre stretched, each pixel blended by its mask row."""
    src, count = m["src"], m["count"]
    sw = (m["r"] - m["l"]) // count
    sh = (m["b"] - m["t"]) // (m["mt"] + 1)
    s = min(state, count - 1)
    sx, sy = m["l"] + s * sw, m["t"]
    wl, wt, wr, wb = m["w"]
    W, H = x1 - x0, y1 - y0

    def piece(px, py, pw, ph, dx, dy, dw, dh, corner):
        if pw <= 0 or ph <= 0 or dw <= 0 or dh <= 0:
            return
        for j in range(dh):
            for i in range(dw):
                u, v = sx + px + i * pw // dw, sy + py + j * ph // dh
                c = src[v][u]
                X, Y = x0 + dx + i, y0 + dy + j
                if c == KEY and corner:
                    img[Y][X] = parent[Y][X]
                    continue
                k = src[v + sh][u][0] if m["mt"] else (255 if c == KEY else 0)
                blend(img, X, Y, c, k)

    mw, mh = sw - wl - wr, sh - wt - wb
    piece(0, 0, wl, wt, 0, 0, wl, wt, True)
    piece(sw - wr, 0, wr, wt, W - wr, 0, wr, wt, True)
    piece(0, sh - wb, wl, wb, 0, H - wb, wl, wb, True)
    piece(sw - wr, sh - wb, wr, wb, W - wr, H - wb, wr, wb, True)
    piece(0, wt, wl, mh, 0, wt, wl, H - wt - wb, False)
    piece(sw - wr, wt, wr, mh, W - wr, wt, wr, H - wt - wb, False)
    piece(wl, 0, mw, wt, wl, 0, W - wl - wr, wt, False)
    piece(wl, sh - wb, mw, wb, wl, H - wb, W - wl - wr, wb, False)
    if m["dm"] & 4:
        piece(wl, wt, mw, mh, wl, wt, W - wl - wr, H - wt - wb, False)


def draw_glyph(img, m, state, x, y):
    src, count = m["src"], m["count"]
    sw = (m["r"] - m["l"]) // count
    sh = (m["b"] - m["t"]) // (m["mt"] + 1)
    sx = m["l"] + min(state, count - 1) * sw
    for j in range(sh):
        for i in range(sw):
            c = src[m["t"] + j][sx + i]
            if c != KEY:
                blend(img, x + i, y + j, c, src[m["t"] + j + sh][sx + i][0] if m["mt"] else 0)


def draw_glow(img, m, margin, x0, y0, x1, y1):
    """The layered glow window over the form: premultiplied source-over."""
    src = m["src"]
    wl, wt, wr, wb = m["w"]
    W, H = x1 - x0 + wl + wr - 2 * margin, y1 - y0 + wt + wb - 2 * margin
    gx, gy = x0 + margin - wl, y0 + margin - wt
    sw, sh = len(src[0]), len(src)
    for j in range(H):
        v = j if j < wt else sh - (H - j) if j >= H - wb else wt + (j - wt) * (sh - wt - wb) // max(1, H - wt - wb)
        for i in range(W):
            u = i if i < wl else sw - (W - i) if i >= W - wr else wl + (i - wl) * (sw - wl - wr) // max(1, W - wl - wr)
            if wl <= i < W - wr and wt <= j < H - wb:
                continue  # the centre is not drawn
            r, g, b, a = src[v][u]
            X, Y = gx + i, gy + j
            if a and 0 <= Y < len(img) and 0 <= X < len(img[0]):
                d = img[Y][X]
                img[Y][X] = (r + d[0] * (255 - a) // 255, g + d[1] * (255 - a) // 255, b + d[2] * (255 - a) // 255)


def paint_item(img, skin, sec, state, x0, y0, x1, y1):
    parent = [row[:] for row in img]
    fill_section(img, skin, sec, state, x0, y0, x1, y1)
    m = skin.mask(sec, "BORDERSMASK")
    if m and not (state == 0 and m["dm"] & 2):
        draw_mask(img, m, state, x0, y0, x1, y1, parent)


def render(out):
    skin = Skin()
    W, H = 760, 600
    img = [[(236, 236, 236)] * W for _ in range(H)]
    texts = []

    def text(x, y, w, h, s, sec, state, size=11, gravity="center"):
        hot = state > 0 and int(skin.key(sec, "STATES", 4)) > 1
        c = skin.colour(sec, "HOTFONTCOLOR" if hot else "FONTCOLOR", 0)
        texts.append((x, y, w, h, s, "#%02x%02x%02x" % c, size, gravity))

    def window(ox, oy, w, h, active, form="FORM", title="FORMTITLE", big=True):
        state = 1 if active else 0
        paint_item(img, skin, form, state, ox, oy, ox + w, oy + h)
        th = 30
        paint_item(img, skin, title, state, ox, oy, ox + w, oy + th)
        text(ox + 12, oy + 2, w - 120, th - 4, "Marrowind Quorvel" if big else "Confirm", title, state, 12, "west")
        pre, size = ("BICON", 26) if big else ("SICON", 18)
        x = ox + w - 5 - size
        for n, k in enumerate(("CLOSE", "MAX", "MIN")):
            m = skin.mask("GLOBALINFO", pre + k)
            st = {0: 0, 1: 1, 2: 0}[n] if active else 0
            draw_glyph(img, m, st, x, oy + (th - size) // 2)
            x -= size + 2
        return oy + th

    # Main window, active, with a hot button (and its glow) and a pressed one.
    ox, oy, w, h = 20, 20, 337, 560
    top = window(ox, oy, w, h, True)
    cx0, cx1 = ox + 4, ox + w - 4
    y = top + 3
    b1 = (cx0 + 3, y, cx1 - 3, y + 71)
    paint_item(img, skin, "BUTTON", 0, *b1)
    text(*b1[:2], b1[2] - b1[0], 71, "Add filename to list", "BUTTON", 0)
    y += 77
    b2 = (cx0 + 3, y, cx1 - 3, y + 71)
    paint_item(img, skin, "BUTTON", 1, *b2)
    text(*b2[:2], b2[2] - b2[0], 71, "Add folder name to list", "BUTTON", 1)
    y += 77
    lb = (cx0 + 5, y, cx1 - 5, y + 200)
    paint_item(img, skin, "EDIT", 1, *lb)
    items = ["C:\\Users\\ann\\Documents\\report.docx", "C:\\Projects\\quorvel", "D:\\Photos\\2026\\summer",
             "C:\\Windows\\System32\\drivers\\etc\\hosts", "E:\\Backup"]
    sbw = 17
    for n, s in enumerate(items):
        iy = lb[1] + 3 + n * 16
        if n == 1:
            paint_item(img, skin, "SELECTION", 1, lb[0] + 3, iy, lb[2] - 3 - sbw, iy + 16)
        text(lb[0] + 6, iy, lb[2] - lb[0] - 12 - sbw, 16, s, "SELECTION" if n == 1 else "EDIT", 1 if n == 1 else 0,
             11, "west")
    sx0, sy0, sy1 = lb[2] - 3 - sbw, lb[1] + 3, lb[3] - 3
    paint_item(img, skin, "SCROLLBAR1V", 0, sx0, sy0 + 16, lb[2] - 3, sy1 - 16)
    paint_item(img, skin, "SCROLLBTNTOP", 1, sx0, sy0, lb[2] - 3, sy0 + 16)
    draw_glyph(img, skin.mask("SCROLLBTNTOP", "GLYPHMASK"), 1, sx0 + 4, sy0 + 3)
    paint_item(img, skin, "SCROLLBTNBOTTOM", 0, sx0, sy1 - 16, lb[2] - 3, sy1)
    draw_glyph(img, skin.mask("SCROLLBTNBOTTOM", "GLYPHMASK"), 0, sx0 + 4, sy1 - 13)
    paint_item(img, skin, "SCROLLSLIDERV", 0, sx0, sy0 + 40, lb[2] - 3, sy0 + 100)
    y = lb[3] + 3
    b3 = (cx0 + 3, y, cx1 - 3, y + 71)
    paint_item(img, skin, "BUTTON", 2, *b3)
    text(b3[0] + 1, b3[1] + 1, b3[2] - b3[0], 71, "Copy Selected Filename or Path Text to Clipboard", "BUTTON", 2)
    y += 77
    pnl = (cx0, y, cx1, oy + h - 4)
    paint_item(img, skin, "RADIOBUTTON", 0, *pnl)
    d = (pnl[0] + 2, pnl[1] + 2, pnl[2] - 124, pnl[3] - 3)
    paint_item(img, skin, "BUTTON", 0, *d)
    text(*d[:2], d[2] - d[0], d[3] - d[1], "Delete selected Item", "BUTTON", 0)
    c = (pnl[2] - 121, pnl[1] + 2, pnl[2] - 1, pnl[3] - 3)
    paint_item(img, skin, "BUTTON", 1, *c)
    text(*c[:2], c[2] - c[0], c[3] - c[1], "Clear the box", "BUTTON", 1)
    draw_glow(img, skin.mask("BUTTON", "GLOW0"), int(skin.key("BUTTON", "GLOWMARGIN")), *b2)

    # A message box, inactive look first, then the same frame active.
    for n, active in enumerate((False, True)):
        ox, oy, w, h = 390, 40 + n * 200, 330, 150
        top = window(ox, oy, w, h, active, "DIALOG", "DIALOGTITLE", big=False)
        text(ox + 20, top + 14, w - 40, 40, "Delete every path in the list?", "DIALOG", 0, 11, "west")
        for k, (label, st) in enumerate((("OK", 1), ("Cancel", 0))):
            bx = ox + w - 180 + k * 86
            r = (bx, oy + h - 40, bx + 80, oy + h - 14)
            paint_item(img, skin, "BUTTON", st if active else 0, *r)
            text(*r[:2], 80, 26, label, "BUTTON", st if active else 0)
    # Glyphs: check boxes and radio buttons, normal and hot.
    gx, gy = 400, 470
    for n, k in enumerate(("BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED", "RADIOUNCHECKED", "RADIOCHECKED",
                           "SMALLCHECKED")):
        for st in range(2):
            paint_item(img, skin, "FORM", 1, gx + n * 50, gy + st * 30 - 4, gx + n * 50 + 40, gy + st * 30 + 24)
            draw_glyph(img, skin.mask("GLOBALINFO", k), st, gx + n * 50 + 12, gy + st * 30)

    with tempfile.TemporaryDirectory() as tmp:
        base = os.path.join(tmp, "base.png")
        write_png(base, [[p + (255,) for p in row] for row in img])
        cmd = ["convert", base, "-font", "DejaVu-Sans"]
        for x, y, w, h, s, colour, size, gravity in texts:
            cmd += ["(", "-size", f"{w}x{h}", "-background", "none", "-fill", colour, "-pointsize", str(size),
                    "-gravity", gravity, "caption:" + s.replace("\\", "\\\\"), ")", "-gravity", "northwest", "-geometry", f"+{x}+{y}", "-composite"]
        cmd += [out]
        subprocess.run(cmd, check=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.dirname(HERE)), "docs",
                                                  "internal-skin-preview.png"))
    args = ap.parse_args()
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    render(args.out)
    print("wrote", args.out)


if __name__ == "__main__":
    main()
