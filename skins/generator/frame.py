"""The frame every full-window picture of the main window shares: outline, title bar with the
logo, the page tabs and the window buttons, the band of sub-page tabs, and the two cards."""

import icons
import theme as t
import widgets as w

SUB_TABS = [(198, 88, 312, 126), (320, 88, 434, 126), (441, 88, 556, 126), (563, 88, 677, 126)]
# Firmware update, companion tool, minimise, close.
WINDOW_BUTTONS = [(798, 12, 823, 33), (825, 12, 850, 33), (852, 12, 877, 33), (879, 12, 904, 33)]

OUTLINE = (f"M{t.CORNER},0 H{t.WIDTH - t.CORNER} A{t.CORNER},{t.CORNER} 0 0 1 {t.WIDTH},{t.CORNER} "
           f"V{t.HEIGHT - t.CORNER} A{t.CORNER},{t.CORNER} 0 0 1 {t.WIDTH - t.CORNER},{t.HEIGHT} "
           f"H{t.CORNER} A{t.CORNER},{t.CORNER} 0 0 1 0,{t.HEIGHT - t.CORNER} V{t.CORNER} "
           f"A{t.CORNER},{t.CORNER} 0 0 1 {t.CORNER},0 Z")


def outline(s):
    s.path(OUTLINE, fill=t.BASE)


def logo(s):
    """A faceted badge and three swept bars: the suite's mark, without letters."""
    cx, cy, r = 50, 40, 21
    import math
    pts = " ".join(f"{cx + r * math.cos(math.radians(a)):.2f},{cy + r * math.sin(math.radians(a)):.2f}"
                   for a in range(-90, 270, 60))
    s.el("polygon", points=pts, fill=s.vgrad((0, "#1d2a3f"), (1, "#0f1521")),
         stroke=s.vgrad((0, t.ACCENT_GLOW), (1, t.ACCENT_DEEP)), stroke_width=2)
    s.path(f"M{cx - 10},{cy - 8} L{cx},{cy + 9} L{cx + 10},{cy - 8} M{cx - 4},{cy - 8} L{cx},{cy - 1} "
           f"L{cx + 4},{cy - 8}", stroke=t.ACCENT_GLOW, stroke_width=2.4, stroke_linecap="round",
           stroke_linejoin="round")
    for i, (length, opacity) in enumerate(((96, 0.9), (74, 0.55), (52, 0.3))):
        y = 29 + i * 8
        x0 = 82 + i * 6
        s.path(f"M{x0 + 5},{y} H{x0 + length} L{x0 + length - 5},{y + 4} H{x0} Z",
               fill=t.ACCENT if i == 0 else "#3b4557", opacity=opacity)


def title_bar(s):
    """The same on every page: the page tabs show which page is on by their captions' colour."""
    c = t.CORNER
    s.path(f"M{c},0 H{t.WIDTH - c} A{c},{c} 0 0 1 {t.WIDTH},{c} V{t.TITLE_BOTTOM_Y} H0 V{c} "
           f"A{c},{c} 0 0 1 {c},0 Z", fill=s.vgrad((0, t.TITLE_TOP), (1, t.TITLE_BOTTOM)))
    s.line(0, t.TITLE_BOTTOM_Y + 0.5, t.WIDTH, t.TITLE_BOTTOM_Y + 0.5, t.RULE)
    logo(s)
    s.line(333.5, 34, 333.5, 56, t.EDGE)


def window_buttons(s, look):
    """The four buttons at the top right; the over look lights them (close in red)."""
    glyphs = [icons.chip_up, icons.gear,
              lambda s_, x, y, c: icons.minus(s_, x, y + 4, c, 5),
              lambda s_, x, y, c: icons.cross(s_, x, y, c, 4.2)]
    for i, rect in enumerate(WINDOW_BUTTONS):
        x0, y0, x1, y1 = rect
        lit = look == "over" and i != 0
        color = t.ICON
        if lit:
            fill = t.ALERT if i == 3 else "#26303f"
            s.rect(x0, y0, x1, y1, fill, r=4)
            color = "#ffffff" if i == 3 else t.ICON_BRIGHT
        glyphs[i](s, (x0 + x1) / 2, (y0 + y1) / 2, color)


def band(s, tabs):
    """The sub-page band; `tabs` is None (no tabs: the macro page), "normal" or "lit"."""
    x0, y0, x1, y1 = t.BAND
    s.rect(x0, y0, x1, y1, s.vgrad((0, "#10141a"), (1, "#0d1015")), r=8)
    s.frame(x0, y0, x1, y1, "#1c222c", r=8)
    if tabs is None:
        # The macro page: a quiet sequence of key presses along a time line.
        s.line(30, 107.5, 890, 107.5, "#1c222c")
        for i, x in enumerate(range(40, 880, 36)):
            width = (10, 18, 6, 14)[i % 4]
            s.rect(x, 103, x + width, 112, t.ACCENT_DEEP if i % 3 == 0 else "#1c222c", r=2)
        return
    for rect in SUB_TABS:
        w.tab(s, rect, tabs == "lit")


def cards(s):
    w.panel(s, t.LEFT_PANEL)
    w.panel(s, t.CONTENT)


def draw(s, tabs, buttons_look="normal"):
    outline(s)
    title_bar(s)
    window_buttons(s, buttons_look)
    band(s, tabs)
    cards(s)
