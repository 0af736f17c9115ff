"""The skinned dialogs' pictures. Each dialog has a picture for its normal look and one for the
looks of its buttons under the cursor or pressed; buttons cut both at their own rectangles."""

import icons
import theme as t
import widgets as w
from svg import Svg

OK_CANCEL = [(39, 335, 163, 365), (174, 335, 298, 365)]


def base(s, width, height, header=64):
    s.rect(0, 0, width, height, s.vgrad((0, "#11151b"), (1, "#0b0d11")))
    s.rect(0, 0, width, header, s.vgrad((0, t.TITLE_TOP), (1, "#10131a")))
    s.line(0, header + 0.5, width, header + 0.5, t.RULE)
    s.frame(0, 0, width, height, t.EDGE)
    s.rect(1, 1, width - 1, 3, s.hgrad((0, t.ACCENT), (0.6, t.ACCENT_DEEP), (1, "#10131a", 0)))


def title_mark(s, y0, y1, x=24):
    w.heading_mark(s, x, y0, y1)


def close_button(s, rect, over):
    x0, y0, x1, y1 = rect
    if over:
        s.rect(x0, y0, x1, y1, t.ALERT, r=4)
    icons.cross(s, (x0 + x1) / 2, (y0 + y1) / 2, "#ffffff" if over else t.ICON, 4.2)


def emblem(s, cx, cy, draw_icon, r=30):
    s.circle(cx, cy, r + 8, fill=s.rgrad((0, "#1b2a42"), (1, "#0e1116", 0)))
    s.circle(cx, cy, r, stroke="#263042", stroke_width=1.2)
    draw_icon(cx, cy)


def _picture(width, height, draw):
    def make_pair(over):
        def make():
            s = Svg(width, height)
            draw(s, over)
            return s
        return make
    return make_pair(False), make_pair(True)


def _single_key(s, over):
    base(s, 390, 400, header=100)
    title_mark(s, 28, 44)
    s.rect(332, 101, 389, 399, "#0e1116")
    s.line(332.5, 101, 332.5, 399, t.RULE)
    s.rect(358, 150, 362, 360, s.vgrad((0, t.ACCENT, 0), (0.5, t.ACCENT, 0.6), (1, t.ACCENT, 0)))
    emblem(s, 361, 52, lambda x, y: icons.keyboard(s, x, y, t.ACCENT_GLOW), r=22)
    close_button(s, (296, 12, 319, 33), over)
    icons.keycap(s, (36, 189, 294, 328), t.ACCENT if over else t.CONTROL_EDGE)
    w.button(s, (170, 348, 293, 376), "over" if over else "normal", r=6)


def _dpi_gauge(s, cx, cy):
    s.path(f"M{cx - 16},{cy + 8} A18,18 0 1 1 {cx + 16},{cy + 8}", stroke=t.ACCENT_GLOW, stroke_width=2.2,
           stroke_linecap="round")
    s.path(f"M{cx},{cy + 2} L{cx + 9},{cy - 8}", stroke=t.ICON_BRIGHT, stroke_width=2.2, stroke_linecap="round")
    s.circle(cx, cy + 2, 2.6, fill=t.ICON_BRIGHT)


def _shift(s, over):
    base(s, 390, 290, header=90)
    emblem(s, 58, 45, lambda x, y: _dpi_gauge(s, x, y), r=24)
    for i, (length, opacity) in enumerate(((120, 0.8), (90, 0.45))):
        s.rect(104, 36 + i * 10, 104 + length, 40 + i * 10, t.ACCENT if i == 0 else "#3b4557", r=2, opacity=opacity)
    title_mark(s, 108, 126, x=26)
    w.dropdown(s, (35, 132, 145, 149), r=3)
    for rect, glyph in zip(((166, 253, 269, 273), (271, 253, 374, 273)), (icons.check, icons.cross)):
        x0, y0, x1, y1 = rect
        w.button(s, rect, "over" if over else "normal", r=5)
        color = t.ICON_BRIGHT if over else t.ICON
        if glyph is icons.check:
            icons.check(s, (x0 + x1) / 2, (y0 + y1) / 2, t.ACCENT_GLOW if over else color, 5, 2)
        else:
            icons.cross(s, (x0 + x1) / 2, (y0 + y1) / 2, color, 4)


def _xshoot(s, over):
    base(s, 340, 390, header=84)
    title_mark(s, 52, 71, x=28)
    emblem(s, 300, 40, lambda x, y: icons.mouse_small(s, x, y, t.ACCENT_GLOW, 1.6), r=20)
    w.field(s, (44, 98, 265, 123))
    x0, y0, x1, y1 = 267, 97, 303, 125
    w.button(s, (x0, y0, x1, y1), "over" if over else "normal", r=4)
    w.chevron(s, (x0 + x1) / 2, (y0 + y1) / 2, 4, t.ACCENT_GLOW if over else t.ICON)
    title_mark(s, 144, 163, x=28)
    w.field(s, (44, 175, 301, 200))
    title_mark(s, 221, 240, x=28)
    w.field(s, (44, 252, 301, 277))
    s.line(20, 318.5, 320, 318.5, t.RULE)
    for rect in [(41, 335, 165, 365), (176, 335, 300, 365)]:
        w.button(s, rect, "over" if over else "normal", r=6)


def _warning_triangle(s, cx, cy):
    s.path(f"M{cx},{cy - 20} L{cx + 23},{cy + 18} H{cx - 23} Z", fill="#2a1416", stroke=t.ALERT_GLOW,
           stroke_width=2.2, stroke_linejoin="round")
    s.rect(cx - 1.6, cy - 8, cx + 1.6, cy + 6, t.ALERT_GLOW, r=1.6)
    s.circle(cx, cy + 11, 2, fill=t.ALERT_GLOW)


def _ok_cancel(s, over):
    s.line(20, 318.5, 320, 318.5, t.RULE)
    for rect in OK_CANCEL:
        w.button(s, rect, "over" if over else "normal", r=6)


def _warning(s, over):
    base(s, 340, 390, header=64)
    s.rect(24, 28, 27, 44, t.ALERT, r=1.5)
    emblem(s, 170, 228, lambda x, y: _warning_triangle(s, x, y), r=34)
    _ok_cancel(s, over)


def _launch_glyph(s, cx, cy):
    s.path(f"M{cx - 12},{cy - 4} V{cy + 12} H{cx + 12} V{cy - 4}", stroke=t.ICON, stroke_width=2,
           stroke_linecap="round", stroke_linejoin="round")
    s.path(f"M{cx - 3},{cy + 3} L{cx + 14},{cy - 14} M{cx + 4},{cy - 14} H{cx + 14} V{cy - 4}",
           stroke=t.ACCENT_GLOW, stroke_width=2.2, stroke_linecap="round", stroke_linejoin="round")


def _launch(s, over):
    base(s, 340, 390, header=64)
    s.rect(24, 28, 27, 44, t.ALERT, r=1.5)
    x0, y0, x1, y1 = 41, 96, 304, 125
    s.rect(x0, y0, x1, y1, "#000000", r=4)
    s.frame(x0, y0, x1, y1, t.HOVER_EDGE if over else t.CONTROL_EDGE, r=4)
    emblem(s, 170, 228, lambda x, y: _launch_glyph(s, x, y), r=34)
    _ok_cancel(s, over)


def _macro_select(s, over):
    base(s, 340, 390, header=100)
    title_mark(s, 28, 44)
    close_button(s, (295, 11, 320, 34), over)
    w.dropdown(s, (41, 96, 304, 125), r=4)
    for y0 in (143, 204, 265):
        x0 = 46
        s.circle(x0 + 10.5, y0 + 10.5, 9.5, fill="#07090c", stroke=t.ACCENT if over else "#5b6474", stroke_width=1.4)
        if over:
            w.glow_dot(s, x0 + 10.5, y0 + 10.5, t.ACCENT_GLOW, 8, 3.2)
    w.field(s, (80, 173, 157, 190), r=2)
    _ok_cancel(s, over)


def _firmware(s, over):
    base(s, 368, 380, header=64)
    title_mark(s, 28, 44)
    emblem(s, 184, 136, lambda x, y: _chip(s, x, y), r=36)
    s.line(60, 196.5, 308, 196.5, t.RULE)
    x0, y0, x1, y1 = FIRMWARE_BAR
    if over:
        s.rect(x0, y0, x1, y1, s.hgrad((0, t.ACCENT_DEEP), (1, t.ACCENT)), r=15)
        s.frame(x0, y0, x1, y1, t.ACCENT_EDGE if hasattr(t, "ACCENT_EDGE") else t.ACTIVE_EDGE, r=15)
    else:
        s.rect(x0, y0, x1, y1, s.vgrad((0, t.CONTROL_TOP), (1, t.CONTROL_BOTTOM)), r=15)
        s.frame(x0, y0, x1, y1, t.CONTROL_EDGE, r=15)
    w.button(s, (150, 332, 218, 352), "over" if over else "normal", r=5)


# The update button and, once the update runs, the progress bar in its place.
FIRMWARE_BAR = (60, 262, 308, 292)


def _chip(s, cx, cy):
    s.rect(cx - 17, cy - 17, cx + 17, cy + 17, "#0d1117", r=4)
    s.frame(cx - 17, cy - 17, cx + 17, cy + 17, t.ACCENT_GLOW, r=4, width=2)
    legs = " ".join(f"M{cx + d},{cy - 23} V{cy - 18} M{cx + d},{cy + 18} V{cy + 23} "
                    f"M{cx - 23},{cy + d} H{cx - 18} M{cx + 18},{cy + d} H{cx + 23}" for d in (-10, -3.5, 3.5, 10))
    s.path(legs, stroke=t.ICON, stroke_width=2, stroke_linecap="round")
    s.path(f"M{cx},{cy + 9} V{cy - 9} M{cx - 6},{cy - 3} L{cx},{cy - 9} L{cx + 6},{cy - 3}",
           stroke=t.ACCENT_GLOW, stroke_width=2.4, stroke_linecap="round", stroke_linejoin="round")


PICTURES = {}
for name, size, draw in (("singlekey", (390, 400), _single_key), ("shift", (390, 290), _shift),
                         ("xshoot", (340, 390), _xshoot), ("warning", (340, 390), _warning),
                         ("launch", (340, 390), _launch), ("macrosel", (340, 390), _macro_select),
                         ("firmware", (368, 380), _firmware)):
    normal, over_ = _picture(*size, draw)
    PICTURES[f"{name}.normal"] = normal
    PICTURES[f"{name}.over"] = over_
