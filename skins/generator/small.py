"""The small pictures the controls load by name: slider thumbs, the markers of the multi-colour
bar, the colour selector's background and its hue markers."""

import theme as t
import widgets as w
from svg import Svg


def thumb(width, height):
    """An opaque slider thumb as tall as its bar: a round knob on the card's own colour, so the
    thumb needs no transparency wherever it stands on the groove."""
    def make():
        s = Svg(width, height)
        s.rect(0, 0, width, height, t.PANEL)
        cx, cy, r = width / 2, height / 2, width / 2 - 0.5
        s.circle(cx, cy + 1, r, fill="#000000", opacity=0.35)
        s.circle(cx, cy, r, fill=s.vgrad((0, "#ffffff"), (1, "#c9d3e2")))
        s.circle(cx, cy, r - 0.6, stroke=t.ACCENT, stroke_width=1.4)
        s.circle(cx, cy, max(r / 3.2, 1.6), fill=t.ACCENT_DEEP)
        return s
    return make


def light(color):
    """A marker of the multi-colour bar: a line through the colour band and a knob below it
    with a point of the marker's colour."""
    def make():
        s = Svg(14, 29)
        s.rect(6, 0, 8, 16, "#ffffff", opacity=0.9)
        s.frame(5, -1, 9, 16, "#000000", opacity=0.5)
        s.rect(1, 15, 13, 28.5, s.vgrad((0, "#2b3240"), (1, "#161a21")), r=4)
        s.frame(1, 15, 13, 29, "#5b6474", r=4)
        s.circle(7, 22, 3.2, fill=color)
        s.circle(7, 22, 3.8, stroke="#000000", stroke_width=0.8, opacity=0.6)
        return s
    return make


HUE_STOPS = ["#ff0000", "#ff00ff", "#0000ff", "#00ffff", "#00ff00", "#ffff00", "#ff0000"]
PRESETS = ["#ff0000", "#ff8000", "#ffff00", "#00ff00", "#00ffff", "#0080ff", "#0000ff", "#ff00ff", "#a0005a"]


def selcolor():
    """The colour selector's background: wells for the square and the preview, the hue strip,
    the value fields with their arrows, and the nine preset swatches."""
    s = Svg(236, 169)
    s.rect(0, 0, 236, 169, t.PANEL)
    s.rect(4, 0, 232, 166, "#0f1318", r=6)
    s.frame(4, 0, 232, 166, "#20262f", r=6)
    s.rect(7, 3, 127, 101, "#000000", r=2)
    s.frame(7, 3, 127, 101, t.FIELD_EDGE, r=2)
    s.rect(132, 10, 162, 61, "#000000", r=2)
    s.frame(132, 10, 162, 61, t.FIELD_EDGE, r=2)
    stops = [(i / 6, c) for i, c in enumerate(HUE_STOPS)]
    s.rect(8, 112, 228, 126, s.hgrad(*stops))
    s.frame(7, 111, 229, 127, "#000000", opacity=0.6)
    for i, color in enumerate(("#ff4d4d", "#3ddc6a", "#3d8bff")):
        y0 = 10 + 17 * i
        s.rect(178, y0 + 2, 181, y0 + 14, color, r=1)
        s.rect(183, y0 - 1, 216, y0 + 17, "#000000")
        s.frame(183, y0 - 1, 216, y0 + 17, t.FIELD_EDGE)
    for y0, up in ((11, True), (19, False), (28, True), (36, False), (45, True), (53, False)):
        s.rect(216, y0, 227, y0 + 6, "#1c222c", r=1.5)
        cx, cy = 221.5, y0 + 3
        d = -1 if up else 1
        s.path(f"M{cx - 3},{cy - d * 1.5} L{cx + 3},{cy - d * 1.5} L{cx},{cy + d * 1.8} Z", fill=t.ICON_BRIGHT)
    # The hexadecimal value is shown, not typed: no field of its own, a rule under it.
    s.line(152, 96.5, 228, 96.5, "#20262f")
    s.rect(132, 82, 146, 92, "none")
    s.path("M136,80 L134,94 M141,80 L139,94 M132.5,84.5 H144 M132,89.5 H143.5", stroke=t.ICON_DIM,
           stroke_width=1.3, stroke_linecap="round")
    for k, color in enumerate(PRESETS):
        x = 8 + 25 * k
        s.rect(x, 140, x + 20, 160, "#07090c", r=3)
        s.rect(x + 2, 142, x + 18, 158, color, r=2)
        s.frame(x, 140, x + 20, 160, "#3a4252", r=3)
    return s


def hue_marker(down):
    def make():
        s = Svg(5, 7)
        if down:
            s.path("M0.2,0.5 H4.8 L2.5,6.5 Z", fill="#ffffff", stroke="#000000", stroke_width=0.6)
        else:
            s.path("M0.2,6.5 H4.8 L2.5,0.5 Z", fill="#ffffff", stroke="#000000", stroke_width=0.6)
        return s
    return make


PICTURES = {
    "thumb.dpi": thumb(18, 35),
    "thumb.speed": thumb(16, 29),
    "thumb.effect_speed": thumb(14, 23),
    "thumb.brightness": thumb(12, 15),
    "light.red": light("#ff3030"),
    "light.yellow": light("#ffe030"),
    "light.green": light("#30ff60"),
    "light.cyan": light("#30f0ff"),
    "light.blue": light("#3070ff"),
    "light.magenta": light("#ff30e0"),
    "selcolor": selcolor,
    "hue.top": hue_marker(True),
    "hue.bottom": hue_marker(False),
}
