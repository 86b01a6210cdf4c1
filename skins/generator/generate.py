#!/usr/bin/env python3
"""Writes the internal skin "Android OS (internal)": skins/AndroidOS/ (Options.dat, Master.bmp,
ButtonHuge.bmp, ButtonGlow.png, EditGlow.png, Ext_Border.png) and the two window shadow
templates skins/shadows/acSHDA.png and acSHDI.png, all drawn by images.py.

    python3 skins/generator/generate.py [--out DIR]

The output is committed; the build packs skins/AndroidOS with the project's pack writer.
Every image rectangle in Options.dat comes from where this script placed the picture, so
the options file and the master bitmap cannot drift apart."""

import argparse
import os
import sys

import images as im
from raster import KEY, flat_rows, masked_rows, rgba_rows, write_bmp, write_png

HERE = os.path.dirname(os.path.abspath(__file__))


def col(rgb):
    """An options-file colour: 0x00BBGGRR as a decimal number."""
    r, g, b = rgb
    return r | (g << 8) | (b << 16)


def vgrad(top, bottom):
    """A two-stop vertical gradient text."""
    return f"{col(top)};{col(bottom)};100;0;0"


def hgrad(left, right):
    return f"{col(left)};{col(right)};100;1;0"


# The hot push-button gradient: light amber, amber, deep amber and a gold band at the
# bottom, in four vertical pieces of 35, 38, 24 and the rest per cent.
HOT_BUTTON_GRADIENT = "3723519;1157871;35;0;0;1157871;106985;38;0;0;106985;1425908;24;0;0;1425908;1425908;0;0;0"
# A representative colour of that gradient, used where a single hot colour is needed.
HOT_BUTTON_COLOR = 1157871


class Atlas:
    """The master bitmap: state images side by side, mask rows beneath them, packed on
    shelves. Unused pixels are key colour."""

    WIDTH = 256

    def __init__(self):
        self.items = []  # (x, y, rows)
        self.x = self.y = self.shelf = 0

    def add(self, states, masked=True, background=im.SURFACE):
        w, h = states[0].w, states[0].h
        rows = [[] for _ in range(h * (2 if masked else 1))]
        for c in states:
            part = masked_rows(c) if masked else flat_rows(c, background)
            for i, r in enumerate(part):
                rows[i].extend(r)
        tw, th = len(rows[0]), len(rows)
        if self.x + tw > self.WIDTH:
            self.x, self.y, self.shelf = 0, self.y + self.shelf + 1, 0
        x, y = self.x, self.y
        self.items.append((x, y, rows))
        self.x += tw + 1
        self.shelf = max(self.shelf, th)
        return (x, y, x + tw, y + th)

    def rows(self):
        height = self.y + self.shelf
        out = [[KEY] * self.WIDTH for _ in range(height)]
        for x, y, rows in self.items:
            for j, r in enumerate(rows):
                out[y + j][x:x + len(r)] = r
        return out


def glyph_ref(rect, count, mask_type):
    l, t, r, b = rect
    return f"@{l:04d}@{t:04d}@{r:04d}@{b:04d}@{count}@{mask_type}"


def border_ref(rect, widths, count, mask_type, draw_mode, border_width=0):
    l, t, r, b = rect
    wl, wt, wr, wb = widths
    return (f"^{l:04d}^{t:04d}^{r:04d}^{b:04d}^{wl:04d}^{wt:04d}^{wr:04d}^{wb:04d}"
            f"^{count}^{mask_type}^{draw_mode}^{border_width}")


def file_ref(name, count, mask_type, img_type, widths, draw_mode):
    wl, wt, wr, wb = widths
    return f"!{name}!{count}!{mask_type}!{img_type}!{wl:04d}!{wt:04d}!{wr:04d}!{wb:04d}!{draw_mode}"


def states(fn, n, *args, **kw):
    return [fn(*args, s, **kw) if args else fn(s, **kw) for s in range(n)]


def build(out_dir, shadow_dir):
    a = Atlas()
    ref = {}
    # Push buttons: 48 x 32, three 16 x 16 states over their mask row; 1 x 1 middle.
    ref["button"] = border_ref(a.add(states(im.button_face, 3)), (7, 7, 8, 8), 3, 1, 5)
    ref["hover"] = border_ref(a.add(states(im.hover_face, 3)), (7, 7, 8, 8), 3, 1, 7)
    ref["thumb"] = border_ref(a.add(states(im.thumb_face, 3)), (7, 7, 8, 8), 3, 1, 5)
    ref["edit"] = border_ref(a.add(states(im.edit_frame, 2)), (4, 4, 4, 4), 2, 1, 1)
    ref["quiet"] = border_ref(a.add([im.quiet_frame()]), (4, 4, 4, 4), 1, 1, 1)
    ref["hint"] = border_ref(a.add([im.quiet_frame(outline=(92, 94, 100))]), (4, 4, 4, 4), 1, 1, 1)
    ref["topline"] = border_ref(a.add([im.top_line()], masked=False), (0, 1, 0, 0), 1, 0, 1)
    ref["tabtop"] = border_ref(a.add(states(im.tab_face, 3)), (5, 5, 5, 5), 3, 1, 1)
    ref["tabbottom"] = border_ref(a.add(states(im.tab_face, 3, bottom=True)), (5, 5, 5, 5), 3, 1, 1)
    ref["form"] = border_ref(a.add(states(im.form_frame, 2)), (6, 6, 6, 6), 2, 1, 1)
    dialog_outline = (96, 98, 104)
    ref["dialog"] = border_ref(a.add([im.form_frame(0, outline_inactive=dialog_outline, states=1,
                                                    outline_active=dialog_outline)]), (6, 6, 6, 6), 1, 1, 1)
    ref["formtitle"] = border_ref(a.add(states(im.title_frame, 2)), (6, 6, 6, 3), 2, 1, 1)
    ref["dialogtitle"] = border_ref(a.add(states(im.title_frame, 2, outline_active=dialog_outline,
                                                 outline_inactive=dialog_outline)), (6, 6, 6, 3), 2, 1, 1)
    # Title-bar buttons: 26 x 26 large and 18 x 18 small, three states each.
    for kind in ("close", "max", "min", "norm", "help", "closealone", "blank"):
        ref["b" + kind] = glyph_ref(a.add([im.title_button(kind, s) for s in range(3)]), 3, 1)
    for kind in ("close", "max", "min", "norm", "help"):
        ref["s" + kind] = glyph_ref(a.add([im.title_button(kind, s, size=18) for s in range(3)]), 3, 1)
    for kind in ("checked", "unchecked", "grayed"):
        ref["box" + kind] = glyph_ref(a.add([im.check_box(kind, s) for s in range(3)]), 3, 1)
        ref["radio" + kind] = glyph_ref(a.add([im.radio_button(kind, s) for s in range(3)]), 3, 1)
        ref["small" + kind] = glyph_ref(a.add([im.check_box(kind, s, size=13) for s in range(3)]), 3, 1)
    for d in ("left", "right", "up", "down"):
        ref["arrow" + d] = glyph_ref(a.add([im.arrow(d, s) for s in range(3)]), 3, 1)
    ref["grip"] = glyph_ref(a.add([im.grip()]), 1, 1)
    ref["griph"] = glyph_ref(a.add([im.grip_line(False)]), 1, 1)
    ref["gripv"] = glyph_ref(a.add([im.grip_line(True)]), 1, 1)
    ref["check"] = glyph_ref(a.add([im.menu_check()]), 1, 1)

    os.makedirs(out_dir, exist_ok=True)
    os.makedirs(shadow_dir, exist_ok=True)
    write_bmp(os.path.join(out_dir, "Master.bmp"), a.rows())

    huge = [im.button_huge_face(s) for s in range(3)]
    rows = [[] for _ in range(64)]
    for c in huge:
        for i, r in enumerate(masked_rows(c)):
            rows[i].extend(r)
    write_bmp(os.path.join(out_dir, "ButtonHuge.bmp"), rows)
    ref["huge"] = file_ref("BUTTONHUGE.BMP", 3, 1, 0, (12, 12, 12, 12), 1)

    write_png(os.path.join(out_dir, "ButtonGlow.png"),
              rgba_rows(im.halo(26, 12, 3, 3.0, im.AMBER, 0.60, 3.4)))
    ref["buttonglow"] = file_ref("BUTTONGLOW.PNG", 1, 0, 3, (12, 12, 12, 12), 1)
    write_png(os.path.join(out_dir, "EditGlow.png"),
              rgba_rows(im.halo(20, 9, 2, 3.0, im.AMBER, 0.45, 2.6)))
    ref["editglow"] = file_ref("EDITGLOW.PNG", 1, 0, 3, (9, 9, 9, 9), 1)
    ext = [im.ext_border(s) for s in range(2)]
    ext_rows = [[] for _ in range(48)]
    for c in ext:
        for i, r in enumerate(rgba_rows(c)):
            ext_rows[i].extend(r)
    write_png(os.path.join(out_dir, "Ext_Border.png"), ext_rows)
    ref["exborder"] = file_ref("EXT_BORDER.PNG", 2, 0, 0, (20, 20, 20, 20), 1)

    write_png(os.path.join(shadow_dir, "acSHDA.png"), rgba_rows(im.shadow(30, 9, 0.50, 3.6)))
    write_png(os.path.join(shadow_dir, "acSHDI.png"), rgba_rows(im.shadow(30, 9, 0.28, 3.0)))
    return ref


def sections(ref):
    """The options file's sections in file order, each an ordered dict of keys."""
    S = im
    t = dict(FONTCOLOR=col(S.TEXT))
    one = dict(STATES=1)
    secs = []

    def sec(name, **keys):
        secs.append((name, keys))

    sec("GLOBALINFO",
        VERSION="7.65", AUTHOR="Quorvel", DESCRIPTION="Charcoal and amber, the program's own look",
        MASTERBITMAP="MASTER.BMP",
        COLOR=col(S.SURFACE), **t, STATES=1,
        SHADOW1COLOR=0, SHADOW1OFFSET=0, SHADOW1BLUR=-1, SHADOW1TRANSPARENCY=0,
        BORDERWIDTH=6, TITLEHEIGHT=30, MAXHEIGHT=32, BORDERCOLOR=col(S.AMBER_DEEP), EXTSHADOW=0,
        BISPACE=2, BIVALIGN=0, BIRIGHT=5, BILEFT=4, BITOP=0,
        BICONCLOSE=ref["bclose"], BICONMAX=ref["bmax"], BICONMIN=ref["bmin"], BICONNORM=ref["bnorm"],
        BICONHELP=ref["bhelp"], BICLOSEALONE=ref["bclosealone"], TITLEBUTTON=ref["bblank"],
        SICONCLOSE=ref["sclose"], SICONMAX=ref["smax"], SICONMIN=ref["smin"], SICONNORM=ref["snorm"],
        SICONHELP=ref["shelp"],
        BOXCHECKED=ref["boxchecked"], BOXUNCHECKED=ref["boxunchecked"], BOXGRAYED=ref["boxgrayed"],
        RADIOCHECKED=ref["radiochecked"], RADIOUNCHECKED=ref["radiounchecked"], RADIOGRAYED=ref["radiograyed"],
        SMALLCHECKED=ref["smallchecked"], SMALLUNCHECKED=ref["smallunchecked"], SMALLGRAYED=ref["smallgrayed"],
        GRIPIMAGE=ref["grip"], GRIPHORZ=ref["griph"], GRIPVERT=ref["gripv"], CHECK=ref["check"],
        EXBORDER=ref["exborder"])

    # Windows.
    sec("FORM", STATES=2, COLOR=col(S.SURFACE), **t, HOTCOLOR=col(S.SURFACE), HOTFONTCOLOR=col(S.TEXT),
        BORDERSMASK=ref["form"])
    sec("FORMTITLE", STATES=2, COLOR=col((48, 49, 53)), FONTCOLOR=col(S.TEXT_DIM),
        GRADIENTPERCENT=100, GRADIENTDATA=vgrad((54, 55, 59), (44, 45, 48)), GSIZE=0,
        HOTCOLOR=col((248, 184, 48)), HOTFONTCOLOR=col(S.INK),
        HOTGRADIENTPERCENT=100, HOTGRADIENTDATA=vgrad((255, 204, 80), (238, 164, 20)),
        HGSIZE=4, HGCOL=col(S.WHITE), BORDERSMASK=ref["formtitle"])
    sec("DIALOG", **one, COLOR=col(S.SURFACE), **t, BORDERSMASK=ref["dialog"])
    sec("DIALOGTITLE", PARENTCLASS="FORMTITLE", BORDERSMASK=ref["dialogtitle"])
    sec("TITLEBAR", **one, COLOR=col((48, 49, 53)), FONTCOLOR=col(S.TEXT_DIM))
    sec("TITLEBUTTON", STATES=3, COLOR=col((48, 49, 53)), **t, HOTCOLOR=col((74, 76, 82)),
        HOTFONTCOLOR=col(S.WHITE))

    # Push buttons.
    sec("BUTTON", STATES=3, COLOR=col(S.SURFACE_RAISED), **t,
        GRADIENTPERCENT=100, GRADIENTDATA=vgrad((64, 66, 71), (50, 52, 56)),
        HOTCOLOR=HOT_BUTTON_COLOR, HOTFONTCOLOR=col(S.INK),
        HOTGRADIENTPERCENT=100, HOTGRADIENTDATA=HOT_BUTTON_GRADIENT,
        FADINGENABLED=1, FADINGITERATIONS=20, GLOW=1, GLOWMARGIN=3, SHOWFOCUS=0,
        BORDERSMASK=ref["button"], GLOW0=ref["buttonglow"])
    sec("BUTTON_BIG", PARENTCLASS="BUTTON")
    sec("BUTTON_HUGE", PARENTCLASS="BUTTON", BORDERSMASK=ref["huge"])
    sec("SPEEDBUTTON", PARENTCLASS="BUTTON")
    sec("TOOLBUTTON", STATES=3, COLOR=col(S.SURFACE), **t, HOTCOLOR=col(S.SURFACE), HOTFONTCOLOR=col(S.WHITE),
        FADINGENABLED=1, FADINGITERATIONS=10, BORDERSMASK=ref["hover"])
    sec("SPEEDBUTTON_SMALL", PARENTCLASS="TOOLBUTTON")
    sec("WEBBUTTON", STATES=2, COLOR=col(S.SURFACE), FONTCOLOR=col(S.AMBER),
        HOTCOLOR=col(S.SURFACE), HOTFONTCOLOR=col(S.AMBER_LIGHT))
    sec("CHECKBOX", STATES=2, COLOR=col(S.SURFACE), **t, HOTCOLOR=col(S.SURFACE), HOTFONTCOLOR=col(S.WHITE))
    # The main window's bottom panel: a band a shade darker than the window with a
    # separator line along its top.
    sec("RADIOBUTTON", **one, COLOR=col(S.PANEL_BAND), **t, BORDERSMASK=ref["topline"])

    # Fields and lists.
    sec("EDIT", STATES=2, COLOR=col(S.SURFACE_DEEP), **t, HOTCOLOR=col(S.SURFACE_DEEP),
        HOTFONTCOLOR=col(S.TEXT), GLOW=1, GLOWMARGIN=2, BORDERSMASK=ref["edit"], GLOW0=ref["editglow"])
    sec("EDIT_FLAT", PARENTCLASS="EDIT", GLOW=0, COLOR=col(S.SURFACE), HOTCOLOR=col(S.SURFACE))
    sec("COMBOBOX", PARENTCLASS="EDIT", GLYPHMASK=ref["arrowdown"])
    sec("COMBOBOX_FLAT", PARENTCLASS="COMBOBOX", GLOW=0, COLOR=col(S.SURFACE), HOTCOLOR=col(S.SURFACE))
    sec("COMBOBTN", STATES=3, COLOR=col(S.SURFACE_DEEP), **t, HOTCOLOR=col(S.SURFACE_DEEP),
        HOTFONTCOLOR=col(S.WHITE), BORDERSMASK=ref["hover"], GLYPHMASK=ref["arrowdown"])
    sec("UPDOWNBTN", PARENTCLASS="COMBOBTN", GLYPHMASK=ref["arrowup"])
    sec("SELECTION", STATES=2, COLOR=col((70, 72, 78)), **t, HOTCOLOR=col(S.AMBER), HOTFONTCOLOR=col(S.INK))
    sec("COLHEADER", STATES=3, COLOR=col((48, 49, 53)), **t, HOTCOLOR=col((60, 62, 67)),
        HOTFONTCOLOR=col(S.WHITE), BORDERSMASK=ref["topline"])

    # Scroll bars: a deep track, flat arrow buttons that light up, a capsule thumb.
    track = dict(STATES=3, COLOR=col(S.SURFACE_DEEP), **t, HOTCOLOR=col((36, 37, 40)), HOTFONTCOLOR=col(S.TEXT))
    for name in ("SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"):
        sec(name, **track)
    for name, d in (("SCROLLBTNLEFT", "left"), ("SCROLLBTNRIGHT", "right"),
                    ("SCROLLBTNTOP", "up"), ("SCROLLBTNBOTTOM", "down")):
        sec(name, STATES=3, COLOR=col(S.SURFACE_DEEP), **t, HOTCOLOR=col(S.SURFACE_DEEP),
            HOTFONTCOLOR=col(S.WHITE), BORDERSMASK=ref["hover"], GLYPHMASK=ref["arrow" + d])
    for name in ("SCROLLSLIDERH", "SCROLLSLIDERV"):
        sec(name, STATES=3, COLOR=col(S.SURFACE_DEEP), **t, HOTCOLOR=col(S.SURFACE_DEEP),
            HOTFONTCOLOR=col(S.TEXT), BORDERSMASK=ref["thumb"])

    # Containers.
    sec("PANEL", **one, COLOR=col(S.SURFACE), **t)
    sec("PANEL_LOW", **one, COLOR=col(S.SURFACE_DEEP), **t, BORDERSMASK=ref["quiet"])
    sec("GROUPBOX", **one, COLOR=col(S.SURFACE), **t, BORDERSMASK=ref["quiet"])
    sec("PAGECONTROL", **one, COLOR=col(S.SURFACE), **t, BORDERSMASK=ref["quiet"])
    sec("TABSHEET", **one, COLOR=col(S.SURFACE), **t)
    sec("TABTOP", STATES=3, COLOR=col(S.SURFACE), FONTCOLOR=col(S.TEXT_DIM), HOTCOLOR=col((52, 54, 58)),
        HOTFONTCOLOR=col(S.TEXT), BORDERSMASK=ref["tabtop"])
    sec("TABBOTTOM", PARENTCLASS="TABTOP", BORDERSMASK=ref["tabbottom"])
    sec("STATUSBAR", **one, COLOR=col(S.PANEL_BAND), FONTCOLOR=col(S.TEXT_DIM), BORDERSMASK=ref["topline"])
    sec("TOOLBAR", **one, COLOR=col(S.SURFACE), **t)
    sec("BAR", PARENTCLASS="TOOLBAR")
    sec("BARPANEL", **one, COLOR=col((44, 45, 48)), **t)
    sec("BARTITLE", **one, COLOR=col((48, 49, 53)), FONTCOLOR=col(S.TEXT_DIM))
    sec("RIBBONPAGE", **one, COLOR=col((44, 45, 48)), **t, BORDERSMASK=ref["quiet"])
    sec("RIBBONTAB", PARENTCLASS="TABTOP")
    sec("HINT", **one, COLOR=col((58, 60, 64)), **t, BORDERSMASK=ref["hint"])
    sec("SPLITTER", **one, COLOR=col(S.PANEL_BAND), **t)
    sec("DRAGBAR", **one, COLOR=col(S.PANEL_BAND), FONTCOLOR=col(S.TEXT_DIM))
    sec("DIVIDER", **one, COLOR=col(S.SURFACE), FONTCOLOR=col(S.TEXT_DIM))
    sec("DIVIDERV", PARENTCLASS="DIVIDER")
    sec("GRIPH", **one, COLOR=col(S.SURFACE), FONTCOLOR=col(S.TEXT_DIM), GLYPHMASK=ref["griph"])
    sec("GRIPV", PARENTCLASS="GRIPH", GLYPHMASK=ref["gripv"])

    # Progress and value controls.
    sec("GAUGE", **one, COLOR=col(S.SURFACE_DEEP), **t, BORDERSMASK=ref["quiet"])
    sec("PROGRESSH", **one, COLOR=col(S.AMBER), FONTCOLOR=col(S.INK),
        GRADIENTPERCENT=100, GRADIENTDATA=vgrad(S.AMBER_LIGHT, S.AMBER_DEEP))
    sec("PROGRESSV", PARENTCLASS="PROGRESSH", GRADIENTDATA=hgrad(S.AMBER_LIGHT, S.AMBER_DEEP))
    sec("TRACKBAR", **one, COLOR=col(S.SURFACE), **t)

    # Menus.
    sec("MAINMENU", **one, COLOR=col(S.SURFACE), **t)
    sec("MENULINE", **one, COLOR=col(S.SURFACE), **t)
    sec("MENUITEM", STATES=2, COLOR=col((36, 37, 40)), **t, HOTCOLOR=col(S.AMBER), HOTFONTCOLOR=col(S.INK))
    sec("MENUBTN", PARENTCLASS="MENUITEM")
    sec("MENUCAPTION", **one, COLOR=col((48, 49, 53)), FONTCOLOR=col(S.TEXT_DIM))
    sec("ICOLINE", **one, COLOR=col(S.PANEL_BAND), **t)
    sec("EXTRALINE", **one, COLOR=col(S.AMBER_DEEP), FONTCOLOR=col(S.INK))
    return secs


# ---- contrast of text against section colours ----

def luminance(c):
    def ch(v):
        v /= 255
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = c & 255, (c >> 8) & 255, (c >> 16) & 255
    return 0.2126 * ch(r) + 0.7152 * ch(g) + 0.0722 * ch(b)


def contrast(c1, c2):
    l1, l2 = sorted((luminance(c1), luminance(c2)), reverse=True)
    return (l1 + 0.05) / (l2 + 0.05)


def check_contrast(secs):
    by_name = dict(secs)

    def find(name, key, default, depth=0):
        keys = by_name[name]
        if key in keys and keys[key] != -1:
            return int(keys[key])
        parent = keys.get("PARENTCLASS")
        if parent and parent != name and depth < 32:
            return find(parent, key, default, depth + 1)
        return default

    bad = []
    for name, _ in secs:
        pairs = [("normal", find(name, "FONTCOLOR", 0), find(name, "COLOR", 0xFFFFFF))]
        if find(name, "STATES", 4) >= 2:
            pairs.append(("hot", find(name, "HOTFONTCOLOR", 0), find(name, "HOTCOLOR", 0xFFFFFF)))
        for state, fg, bg in pairs:
            if contrast(fg, bg) < 4.5:
                bad.append(f"{name} {state}: {contrast(fg, bg):.2f}")
    if bad:
        sys.exit("text contrast below 4.5:1: " + ", ".join(bad))


def options_text(secs):
    lines = ["; Android OS (internal): the skin Quorvel carries inside its executable.",
             "; Written by skins/generator/generate.py; regenerate instead of editing by hand.", ""]
    for name, keys in secs:
        lines.append(f"[{name}]")
        lines.extend(f"{k}={v}" for k, v in keys.items())
        lines.append("")
    return "\r\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = os.path.dirname(HERE)
    ap.add_argument("--out", default=root, help="the skins folder (default: the one beside this script)")
    args = ap.parse_args()
    ref = build(os.path.join(args.out, "AndroidOS"), os.path.join(args.out, "shadows"))
    secs = sections(ref)
    check_contrast(secs)
    with open(os.path.join(args.out, "AndroidOS", "Options.dat"), "wb") as f:
        f.write(options_text(secs).encode("ascii"))
    print(f"{len(secs)} sections written to {os.path.join(args.out, 'AndroidOS')}")


if __name__ == "__main__":
    main()
