"""Pop-up menu pictures. A menu is as large as its first picture; each entry cuts its normal
look from the first picture and its highlighted look from the second at the entry's rectangle,
so the rows of a menu's highlighted picture sit where its layout puts the entries."""

import theme as t
import widgets as w
from svg import Svg


def rows_of(style, count, width):
    if style == 1:
        return [(0, 4 + 23 * i, width, 26 + 23 * i) for i in range(count)]
    if style == 2:
        return [(3, 5 + 18 * i, 142, 22 + 18 * i) for i in range(count)]
    if style == 3:
        return [(3, 3 + 25 * i, 183, 27 + 25 * i) for i in range(count)]
    if style == 4:
        return [(4, 4 + 25 * i, 184, 28 + 25 * i) for i in range(count)]
    return [(0, 24 * i, width, 24 + 24 * i) for i in range(count)]


def _background(s, width, height):
    s.rect(0, 0, width, height, s.vgrad((0, "#161a21"), (1, "#0f1217")))
    s.frame(0, 0, width, height, "#343c4a")
    s.rect(1, 1, width - 1, 3, t.ACCENT)


def menu(width, height, style, count, lit, sub_rows=()):
    """`sub_rows`: entries that open a sub-menu, marked with an arrow at their right end."""
    def make():
        s = Svg(width, height)
        _background(s, width, height)
        for i, (x0, y0, x1, y1) in enumerate(rows_of(style, count, width)):
            inset = 2 if style in (0, 1) else 0
            if lit:
                s.rect(x0 + inset, y0, x1 - inset, y1, s.hgrad((0, "#1f4f96"), (1, "#163a70")), r=3)
                s.rect(x0 + inset, y0 + 3, x0 + inset + 3, y1 - 3, t.ACCENT_GLOW, r=1.5)
            elif i > 0 and style in (1, 3, 4):
                s.line(x0 + 10, y0 - 0.5 if style == 1 else y0 + 0.5, x1 - 10,
                       y0 - 0.5 if style == 1 else y0 + 0.5, "#1c222b")
            if i in sub_rows:
                cy = (y0 + y1) / 2
                s.path(f"M{x1 - 12},{cy - 3.5} L{x1 - 8},{cy} L{x1 - 12},{cy + 3.5}",
                       stroke=t.ICON_BRIGHT if lit else t.ICON, stroke_width=1.5,
                       stroke_linecap="round", stroke_linejoin="round")
        return s
    return make


def uniform(width, height, lit):
    """A menu two layouts share (24-pixel rows across, or 18-pixel rows inset): its highlight
    covers the whole picture, so any entry's cut-out shows it."""
    def make():
        s = Svg(width, height)
        _background(s, width, height)
        if lit:
            s.rect(2, 4, width - 2, height - 2, s.hgrad((0, "#1f4f96"), (1, "#163a70")), r=3)
        return s
    return make


def name_list(width, height):
    """Behind a name menu's list only the picture's one-pixel frame shows; the program draws
    the red bottom and right lines, the picture the top and left ones in the same red."""
    def make():
        s = Svg(width, height)
        s.rect(0, 0, width, height, "#000000")
        s.rect(0, 0, width, 1, "#fe0000")
        s.rect(0, 0, 1, height, "#fe0000")
        return s
    return make


PICTURES = {
    "menu.function": menu(180, 514, 1, 22, False, sub_rows=range(16, 22)),
    "menu.function.lit": menu(180, 514, 1, 22, True, sub_rows=range(16, 22)),
    "menu.sub8": menu(180, 192, 1, 8, False),
    "menu.sub9": menu(180, 215, 1, 9, False),
    "menu.sub2": menu(180, 54, 1, 2, False),
    "menu.sub4": menu(180, 100, 1, 4, False),
    "menu.sub.lit": menu(180, 215, 1, 9, True),
    "menu.shared": uniform(145, 96, False),
    "menu.shared.lit": uniform(145, 96, True),
    "menu.mode": menu(186, 130, 3, 5, False),
    "menu.mode.lit": menu(186, 130, 3, 5, True),
    "menu.insertmode": menu(188, 107, 4, 4, False),
    "menu.insertmode.lit": menu(188, 107, 4, 4, True),
    "menu.action": menu(144, 96, 0, 4, False),
    "menu.action.lit": menu(144, 96, 0, 4, True),
    "menu.click": menu(144, 72, 0, 3, False),
    "menu.names": name_list(171, 402),
    "menu.more": name_list(120, 62),
}
