"""Every picture of the "Android OS (internal)" skin, drawn from code. Each function returns
one state image (a Canvas); the generator lays the states side by side and stores them.

The look: a dark charcoal surface, amber accents that match the hot button gradient,
crisp one-pixel outlines, rounded corners cut with key pixels where a frame or a button
needs them."""

import math

from raster import (Canvas, arc_points, polygon, polyline, ring, rrect, sd_round_rect,
                    strokes)

# Palette (r, g, b).
SURFACE = (40, 41, 44)        # window and dialog body
SURFACE_DEEP = (30, 31, 34)   # list and edit fields, scroll tracks
SURFACE_RAISED = (56, 58, 62)  # buttons at rest
PANEL_BAND = (34, 35, 38)     # the bottom panel, icon column
OUTLINE = (18, 18, 20)        # outer outline of raised controls
HAIRLINE = (70, 72, 78)       # separators and quiet frames
TEXT = (232, 232, 228)
TEXT_DIM = (172, 173, 170)
INK = (28, 28, 30)            # text on amber
AMBER = (244, 176, 32)
AMBER_LIGHT = (255, 208, 56)  # first stop of the hot button gradient
AMBER_DEEP = (200, 128, 0)
AMBER_RIM = (150, 92, 0)
RED = (200, 56, 40)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def inside_rrect(x0, y0, x1, y1, r):
    return lambda px, py: sd_round_rect(px, py, x0, y0, x1, y1, r) < 0


# ---- push buttons ----

def button_face(state):
    """BUTTON frame, 16 x 16 per state with borders 7, 7, 8, 8 around a 1 x 1 middle: the
    outline, a one-pixel light line under the top edge, and for the pressed state a
    shadow line and a darkening middle pixel that is stretched over the whole face."""
    c = Canvas(16, 16)
    c.set_key_outside(inside_rrect(0, 0, 16, 16, 4))
    rim = {0: OUTLINE, 1: AMBER_RIM, 2: (120, 72, 0)}[state]
    c.paint(ring(0, 0, 16, 16, 4), rim)
    if state == 0:
        c.fill(3, 1, 13, 2, WHITE, 0.10)
    elif state == 1:
        c.fill(3, 1, 13, 2, (255, 240, 200), 0.55)
        c.fill(3, 14, 13, 15, (160, 100, 0), 0.30)
    else:
        # The whole inside darkens evenly (corners, stretched sides and the stretched
        # middle pixel alike), with a shadow line under the top edge.
        c.paint(rrect(1, 1, 15, 15, 3), BLACK, 0.14)
        c.fill(3, 1, 13, 2, BLACK, 0.22)
    return c


def button_huge_face(state):
    """BUTTON_HUGE frame, 32 x 32 per state: a larger radius, a two-pixel light band on
    top; its key corners become the window region of the button."""
    c = Canvas(32, 32)
    c.set_key_outside(inside_rrect(0, 0, 32, 32, 8))
    rim = {0: OUTLINE, 1: AMBER_RIM, 2: (120, 72, 0)}[state]
    top = {0: (WHITE, 0.10), 1: ((255, 240, 200), 0.55), 2: (BLACK, 0.25)}[state]
    c.paint(lambda x, y: ring(1, 1, 31, 31, 7)(x, y) * (1.0 if y < 16 else 0.5), top[0], top[1])
    c.paint(ring(0, 0, 32, 32, 8), rim)
    return c


def hover_face(state):
    """A rounded hover square for flat buttons (scroll arrows, tool buttons): nothing at
    rest (the section hides the frame in the normal state), a lighter square when hot, a
    darker one when pressed."""
    c = Canvas(16, 16)
    fill = {0: (0, 0, 0), 1: (64, 66, 72), 2: (78, 80, 86)}[state]
    if state:
        c.paint(rrect(1, 1, 15, 15, 3), fill)
    return c


def thumb_face(state):
    """Scroll thumb: a capsule inset three pixels from the track, grey at rest and amber
    when hot or dragged."""
    c = Canvas(16, 16)
    fill = {0: (92, 94, 100), 1: AMBER, 2: AMBER_DEEP}[state]
    c.paint(rrect(3, 3, 13, 13, 5), fill)
    return c


# ---- fields and frames ----

def edit_frame(state):
    """EDIT frame, 12 x 12 per state, borders 4: a quiet outline with an inner top shadow
    at rest, an amber outline when the field is hot or focused."""
    c = Canvas(12, 12)
    c.set_key_outside(inside_rrect(0, 0, 12, 12, 3))
    c.fill(2, 1, 10, 2, BLACK, 0.30)
    c.paint(ring(0, 0, 12, 12, 3), AMBER if state else (64, 66, 72))
    return c


def quiet_frame(_state=0, outline=HAIRLINE, radius=3):
    """A one-pixel rounded outline, 12 x 12, for group boxes, sheets, hints and lowered
    panels."""
    c = Canvas(12, 12)
    c.set_key_outside(inside_rrect(0, 0, 12, 12, radius))
    c.paint(ring(0, 0, 12, 12, radius), outline)
    return c


def top_line(_state=0):
    """A separator along the top edge only (3 x 3, top border 1): the bottom panel and the
    status bar."""
    c = Canvas(3, 3)
    c.fill(0, 0, 3, 1, HAIRLINE)
    return c


def tab_face(state, bottom=False):
    """Tab, 16 x 16 per state: rounded on the outer side, an amber bar on the outer edge
    when hot or selected."""
    c = Canvas(16, 16)
    c.set_key_outside(inside_rrect(0, 0, 16, 20, 4))
    c.paint(ring(0, 0, 16, 20, 4), HAIRLINE)
    if state:
        c.fill(2, 1, 14, 3, AMBER if state == 1 else AMBER_DEEP)
    return c.flipped() if bottom else c


def form_frame(state, outline_active=AMBER_DEEP, outline_inactive=HAIRLINE, states=2):
    """Window frame, 16 x 16 per state, borders 6: rounded corners of radius 6 cut with
    key pixels (they shape the window region), a one-pixel outline, amber when active."""
    c = Canvas(16, 16)
    c.set_key_outside(inside_rrect(0, 0, 16, 16, 6))
    active = state == 1 or states == 1
    c.paint(ring(0, 0, 16, 16, 6), outline_active if active else outline_inactive)
    return c


def title_frame(state, outline_active=AMBER_DEEP, outline_inactive=HAIRLINE):
    """Title band, 16 x 24 per state, borders 6, 6, 6, 3: the same rounded top corners and
    outline as the window frame, a light line under the top edge and a one-pixel line
    that closes the band at the bottom."""
    c = Canvas(16, 24)
    c.set_key_outside(lambda px, py: sd_round_rect(px, py, 0, 0, 16, 40, 6) < 0)
    c.fill(3, 1, 13, 2, WHITE, 0.35 if state else 0.06)
    c.fill(0, 23, 16, 24, (168, 104, 0) if state else OUTLINE)
    c.paint(lambda x, y: ring(0, 0, 16, 40, 6)(x, y) if y < 23 else 0,
            outline_active if state else outline_inactive)
    return c


# ---- glyphs (drawn with their own alpha, stored with a mask row) ----

def _title_glyph(kind, s, scale, origin):
    """Strokes of a title-button symbol in a 26-pixel design grid, scaled into the image."""
    def p(x, y):
        return (origin + x * scale, origin + y * scale)

    if kind == "close":
        return strokes([[p(0, 0), p(8, 8)], [p(8, 0), p(0, 8)]], 1.6 * s)
    if kind == "max":
        return strokes([[p(0, 0), p(8, 0), p(8, 8), p(0, 8), p(0, 0)], [p(0, 1), p(8, 1)]], 1.3 * s)
    if kind == "min":
        return polyline([p(0, 7.5), p(8, 7.5)], 1.8 * s)
    if kind == "norm":
        return strokes([[p(0, 3), p(5, 3), p(5, 8), p(0, 8), p(0, 3)],
                        [p(3, 3), p(3, 0), p(8, 0), p(8, 5), p(5, 5)]], 1.3 * s)
    if kind == "help":
        hook = arc_points(*p(4, 2.6), 2.6 * scale, 180, 405, 14)
        hook.append(p(4, 5.6))
        stem = polyline(hook, 1.5 * s)
        dot = rrect(*p(3.2, 7.2), *p(4.8, 8.8), 0.8 * scale)
        return lambda x, y: max(stem(x, y), dot(x, y))
    raise ValueError(kind)


def title_button(kind, state, size=26):
    """Title-bar button: a rounded pill that reads on the amber active title and on the
    charcoal inactive one, with a light symbol; the close button turns red when hot."""
    c = Canvas(size, size)
    s = size / 26
    inset = 2 * s
    pill = rrect(inset, inset + 1 * s, size - inset, size - inset - 1 * s, 5 * s)
    close = kind in ("close", "closealone")
    fills = {0: ((30, 31, 34), 0.55),
             1: ((RED if close else (74, 76, 82)), 0.95),
             2: (((150, 36, 24) if close else (22, 22, 24)), 0.95)}
    c.paint(pill, *fills[state])
    ink = {0: (214, 214, 210), 1: WHITE, 2: (WHITE if close else AMBER_LIGHT)}[state]
    if kind != "blank":
        c.paint(_title_glyph("close" if close else kind, s, s, 9 * s), ink)
    return c


def check_box(kind, state, size=16):
    """Check box: a rounded box on the deep field colour; checked boxes fill amber with an
    ink tick; grayed ones show an amber square."""
    c = Canvas(size, size)
    k = size / 16
    box = (1.5 * k, 1.5 * k, size - 1.5 * k, size - 1.5 * k, 3 * k)
    rim = {0: (116, 118, 124), 1: AMBER, 2: AMBER_DEEP}[state]
    if kind == "checked":
        fill = {0: AMBER, 1: AMBER_LIGHT, 2: AMBER_DEEP}[state]
        c.paint(rrect(*box), fill)
        c.paint(polyline([(4.2 * k, 8.2 * k), (6.8 * k, 10.8 * k), (11.8 * k, 5.2 * k)], 2.0 * k), INK)
    else:
        c.paint(rrect(*box), SURFACE_DEEP)
        c.paint(ring(*box, 1.0), rim)
        if kind == "grayed":
            c.paint(rrect(5 * k, 5 * k, size - 5 * k, size - 5 * k, 1 * k), AMBER, 0.75)
    return c


def radio_button(kind, state, size=16):
    c = Canvas(size, size)
    k = size / 16
    r = 6.5 * k
    circle = (8 * k - r, 8 * k - r, 8 * k + r, 8 * k + r, r)
    rim = {0: (116, 118, 124), 1: AMBER, 2: AMBER_DEEP}[state]
    c.paint(rrect(*circle), SURFACE_DEEP)
    c.paint(ring(*circle, 1.0), AMBER if kind != "unchecked" and state == 0 else rim)
    if kind == "checked":
        d = 3.5 * k
        c.paint(rrect(8 * k - d, 8 * k - d, 8 * k + d, 8 * k + d, d), AMBER if state < 2 else AMBER_DEEP)
    elif kind == "grayed":
        d = 3.5 * k
        c.paint(rrect(8 * k - d, 8 * k - d, 8 * k + d, 8 * k + d, d), (116, 118, 124), 0.8)
    return c


def arrow(direction, state, size=9):
    """Scroll-button arrow: a small solid triangle, grey at rest, white when hot, amber when
    pressed."""
    c = Canvas(size, size)
    tri = [(1.0, 6.0), (8.0, 6.0), (4.5, 2.5)]  # pointing up, in a 9 x 9 grid
    rot = {"up": lambda x, y: (x, y), "down": lambda x, y: (x, 9 - y),
           "left": lambda x, y: (y, x), "right": lambda x, y: (9 - y, x)}[direction]
    ink = {0: TEXT_DIM, 1: WHITE, 2: AMBER}[state]
    c.paint(polygon([rot(x, y) for x, y in tri]), ink)
    return c


def grip(_state=0):
    """Size grip: six dots in a corner triangle."""
    c = Canvas(12, 12)
    for i in range(3):
        for j in range(3 - i):
            x, y = 9 - 4 * j, 9 - 4 * i
            c.paint(rrect(x - 0.5, y - 0.5, x + 1.5, y + 1.5, 0.6), (132, 134, 140))
    return c


def grip_line(vertical, _state=0):
    """Dotted drag handle for splitters and tool bars."""
    c = Canvas(6, 18) if vertical else Canvas(18, 6)
    for i in range(4):
        x, y = (2, 2 + 4 * i) if vertical else (2 + 4 * i, 2)
        c.fill(x, y, x + 2, y + 2, (132, 134, 140))
    return c


def menu_check(_state=0):
    c = Canvas(16, 16)
    c.paint(polyline([(4.0, 8.5), (6.8, 11.2), (12.0, 5.0)], 2.0), AMBER)
    return c


# ---- halos and shadows (PNG, straight alpha) ----

def halo(size, border, margin, radius, colour, peak, spread, inner=0.0):
    """A glow around a control: the control's edge lies border - margin pixels inside the
    image; the opacity falls off outside it as a Gaussian of the distance."""
    c = Canvas(size, size)
    e = border - margin

    def f(x, y):
        d = sd_round_rect(x + 0.5, y + 0.5, e, e, size - e, size - e, radius)
        if d < 0:
            return (colour, inner) if inner else None
        return colour, peak * math.exp(-(d / spread) ** 2)
    c.paint_fn(f)
    return c


def shadow(size, border, peak, spread, radius=6):
    """A soft black shadow around a window whose edge lies border pixels inside."""
    c = Canvas(size, size)

    def f(x, y):
        d = sd_round_rect(x + 0.5, y + 0.5, border, border + 1, size - border, size - border + 1, radius)
        if d < 0:
            return None
        return BLACK, peak * math.exp(-(d / spread) ** 2)
    c.paint_fn(f)
    return c


def ext_border(state):
    """Extended window border, 48 x 48 per state with borders 20: 13 pixels of shadow,
    a one-pixel outline and a charcoal band, the centre left open."""
    c = Canvas(48, 48)
    sh = shadow(48, 13, 0.45 if state == 0 else 0.28, 5.0, radius=7)
    c.blit(sh, 0, 0)
    c.paint(lambda x, y: rrect(13, 13, 35, 35, 7)(x, y), SURFACE)
    c.paint(ring(13, 13, 35, 35, 7), AMBER_DEEP if state == 0 else HAIRLINE)
    # open centre: the window paints its own client area there
    for y in range(20, 28):
        for x in range(20, 28):
            c.a[y][x] = 0.0
    return c
