"""The content cards of the main window's pages."""

import icons
import mouse
import theme as t
import widgets as w

SLOTS = [(246, 189, 431, 220), (246, 229, 431, 260), (246, 266, 431, 297), (246, 306, 431, 337),
         (245, 344, 431, 375), (245, 381, 431, 413), (438, 189, 622, 220), (438, 227, 622, 259)]

# The colours of the two rows of preset buttons (they cut their looks from the lighting page's
# state pictures; the background under them stays plain, as some modes hide them).
SEVEN = ["#ff0000", "#ffff00", "#00ff00", "#00ffff", "#0000ff", "#ff00ff", "#ffffff"]
NINE = ["#ff0000", "#ff8000", "#ffff00", "#00ff00", "#00ffff", "#0080ff", "#0000ff", "#ff00ff", "#a0005a"]


def rule(s, x0, x1, y):
    s.line(x0, y + 0.5, x1, y + 0.5, t.RULE)
    s.rect(x0, y - 1, x0 + 24, y + 2, t.ACCENT, r=1.5)


def buttons(s, slots_look, dots_look):
    rule(s, 246, 622, 172)
    for rect in SLOTS:
        x0, y0, x1, y1 = rect
        lit = slots_look == "over"
        w.button(s, rect, "over" if lit else "normal")
        cy = (y0 + y1) / 2
        if lit:
            w.glow_dot(s, x0 + 15, cy, t.ACCENT_GLOW, 7, 2.2)
        else:
            s.circle(x0 + 15, cy, 3, fill="#0b0d11", stroke="#6a7384", stroke_width=1.2)
        w.chevron(s, x1 - 14, cy, 3.5, t.ACCENT_GLOW if lit else t.ICON)
    mouse.button_page(s, dots_look)


def _dpi_ticks():
    # The thumb of the DPI bar is 18 pixels wide; a tick under every 1000 DPI.
    return [274 + 9 + (432 - 18) * (v - 1) / 119 for v in [1] + list(range(10, 121, 10))]


def advance(s, look):
    down = look == "down"
    for x, y0, y1 in ((265, 168, 183), (265, 374, 389), (722, 185, 200), (722, 391, 406)):
        w.heading_mark(s, x, y0, y1)
    for i in range(4):
        x0 = 271 + 74 * i
        w.button(s, (x0, 255, x0 + 69, 301), "down" if down else "normal", r=6)
        s.rect(x0 + 1, 281, x0 + 68, 297, "#000000")
        s.line(x0 + 1, 280.5, x0 + 68, 280.5, t.ACCENT_GLOW if down else t.CONTROL_EDGE)
    w.track(s, (274, 314, 706, 349), filled=down, thickness=6)
    cy = (314 + 349) / 2
    for x in _dpi_ticks():
        xr = round(x) + 0.5
        s.line(xr, cy + 7, xr, cy + 11, t.ACCENT if down else "#3a4252")
    w.track(s, (281, 438, 696, 467), filled=down, thickness=5, ticks=11, tick_span=(289, 688))
    w.dropdown(s, (728, 229, 876, 257))
    w.radio(s, 729, 419, on=down)
    w.radio(s, 729, 480, on=down)
    w.field(s, (730, 440, 850, 464), fill="#06111e")
    for rect, up in (((851, 439, 876, 451), True), ((851, 452, 876, 464), False)):
        x0, y0, x1, y1 = rect
        w.button(s, rect, "down" if down else "normal", r=3)
        icons.triangle(s, (x0 + x1) / 2, (y0 + y1) / 2, t.ICON_BRIGHT if down else t.ICON, up, 3.2)


def double_click(s, lit):
    s.circle(538, 176, 26, fill=s.rgrad((0, "#1b2a42"), (1, "#12161d", 0)))
    icons.mouse_small(s, 538, 176, t.ACCENT_GLOW, 1.7)
    for r, op in ((14, 0.6), (19, 0.3)):
        s.path(f"M{538 + r * 0.7:.1f},{176 - r * 0.9:.1f} A{r},{r} 0 0 1 {538 + r * 1.05:.1f},{176 - r * 0.2:.1f}",
               stroke=t.ACCENT_GLOW, stroke_width=1.6, stroke_linecap="round", opacity=op)
    # The fast-mode toggle: its caption starts at the left, its switch sits at the right.
    w.button(s, (344, 218, 440, 240), "over" if lit else "normal", r=11)
    w.switch(s, 410, 229, on=lit, width=24, height=12)
    for rect, gap, glyph in (((344, 287, 732, 373), 4, icons.lightning), ((344, 395, 732, 478), 34, icons.clock)):
        x0, y0, x1, y1 = rect
        cy = (y0 + y1) / 2
        w.button(s, rect, "over" if lit else "normal", r=10)
        s.circle(x0 + 44, cy, 22, fill="#0d1117", stroke=t.ACCENT if lit else "#2b3342", stroke_width=1.5)
        glyph(s, x0 + 44, cy, t.ACCENT_GLOW if lit else t.ICON)
        icons.pulses(s, x0 + 170 - gap / 2, cy, gap, t.ACCENT_GLOW if lit else "#4d5668", height=22, width=14)
        w.radio(s, x1 - 40, cy, on=lit, r=6)


def swatch(s, rect, color):
    x0, y0, x1, y1 = rect
    s.rect(x0, y0, x1, y1, "#07090c", r=4)
    s.rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, color, r=3)
    s.frame(x0, y0, x1, y1, "#3a4252", r=4)


def color(s, look):
    """`look` "background" leaves out what belongs to controls that some lighting modes hide
    (colour values, the multi-colour bar, its apply button): the page's background shows
    under them."""
    down = look == "down"
    controls = look != "background"
    s.circle(290, 188, 18, fill=s.rgrad((0, "#1b2a42"), (1, "#12161d", 0)))
    icons.bulb_zones(s, 290, 188, t.ACCENT_GLOW)
    w.dropdown(s, (315, 171, 552, 206))
    if controls:
        for i, c in enumerate(SEVEN):
            x = 274 + 27 * i
            swatch(s, (x, 244, x + 22, 266), c)
        for i, c in enumerate(NINE):
            x = 315 + 26 * i
            swatch(s, (x, 380, x + 24, 404), c)
        # The multi-colour bar paints its colour band over the top 25 rows; its markers
        # stand on this groove.
        s.rect(275, 300, 555, 315, "#0b0e13", r=3)
        for p in range(21):
            x = 275 + 14 * p + 0.5
            s.line(x, 303, x, 312, "#262d39")
        # The red, green and blue captions beside the colour selector.
        for col, y0 in zip(("#ff4d4d", "#3ddc6a", "#3d8bff"), (230, 264, 298)):
            s.rect(556, y0, 576, y0 + 18, "#1a2332" if down else "#141922", r=3)
            s.rect(559, y0 + 15, 573, y0 + 17, col, r=1)
        w.button(s, (340, 478, 470, 500), "down" if down else "normal")
    # The headings of the effect selector and of the effect's speed slider.
    w.heading_mark(s, 264, 151, 165)
    w.heading_mark(s, 264, 400, 416)
    w.track(s, (280, 432, 548, 455), filled=down, thickness=5, ticks=3, tick_span=(287, 541))
    mouse.lighting_page(s)


def macro(s, look):
    down = look == "down"
    glyphs = [lambda x, y, c: icons.arrow(s, x, y, c, True), lambda x, y, c: icons.arrow(s, x, y, c, False),
              lambda x, y, c: icons.bin_(s, x, y, c), lambda x, y, c: icons.pencil(s, x, y, c)]
    for rect, glyph in zip([(281, 146, 360, 175), (366, 146, 446, 175), (452, 146, 531, 175),
                            (537, 146, 617, 175)], glyphs):
        x0, y0, x1, y1 = rect
        w.button(s, rect, "down" if down else "normal")
        glyph((x0 + x1) / 2, (y0 + y1) / 2, t.ICON_BRIGHT if down else t.ICON)
    s.rect(281, 182, 617, 495, "#000000", r=3)
    s.frame(281, 182, 617, 495, t.FIELD_EDGE, r=3)
    s.rect(283, 497, 615, 517, "#0e1116", r=3)
    s.line(449.5, 500, 449.5, 514, t.RULE)
    s.line(640.5, 150, 640.5, 510, t.RULE)
    w.heading_mark(s, 656, 151, 164)
    w.dropdown(s, (659, 169, 849, 197))
    w.button(s, (659, 204, 754, 228), "down" if down else "normal")
    w.button(s, (759, 204, 849, 228), "down" if down else "normal")
    w.heading_mark(s, 656, 230, 243)
    w.field(s, (671, 264, 860, 290))
    s.line(659, 310.5, 858, 310.5, t.RULE)
    s.circle(758, 385, 34, fill=s.rgrad((0, "#172338"), (1, "#12161d", 0)))
    icons.clock(s, 758, 385, "#3a4760", 18)
    w.button(s, (659, 467, 756, 496), "down" if down else "normal")
    w.button(s, (761, 467, 858, 496), "down" if down else "normal")
