"""The mouse seen from above, drawn on the button page (with the eight button points) and on
the lighting page (with its light zones glowing)."""

import theme as t
import widgets as w

CX = 756
# Where the eight button points sit: the highlight buttons of the button page cut them out.
DOTS = [(691, 193, 715, 217), (793, 193, 817, 217), (744, 209, 768, 233), (653, 270, 677, 294),
        (656, 320, 680, 344), (744, 310, 768, 334), (744, 183, 768, 207), (744, 235, 768, 259)]

BODY = (f"M{CX},146 C792,146 824,152 840,174 C854,194 858,226 860,264 C862,304 868,336 868,370 "
        f"C868,414 826,440 {CX},442 C686,440 644,414 644,370 C644,336 650,304 652,264 "
        f"C654,226 658,194 672,174 C688,152 720,146 {CX},146 Z")
SEAM = f"M656,262 C700,272 812,272 856,262"
REAR = "M700,414 C728,428 784,428 812,414"
FLANKS = ["M652,360 C652,384 660,400 676,412", "M860,360 C860,384 852,400 836,412"]


def body(s):
    s.path(BODY, fill=s.rgrad((0, "#222833"), (0.7, "#161a21"), (1, "#101318"), cx=0.5, cy=0.35, r=0.7),
           stroke="#343c4a", stroke_width=1.5)
    # Main buttons and the split between them.
    s.path(SEAM, stroke="#2d3441", stroke_width=1.5)
    s.path(f"M{CX},150 V178 M{CX},262 V266", stroke="#2d3441", stroke_width=1.5)
    s.path(f"M{CX - 14},180 L{CX - 14},262 M{CX + 14},180 L{CX + 14},262", stroke="#242a35", stroke_width=1)
    # Wheel.
    s.rect(CX - 7, 207, CX + 7, 235, s.vgrad((0, "#3a4250"), (0.5, "#2a303b"), (1, "#3a4250")), r=6)
    for y in range(210, 234, 4):
        s.line(CX - 5, y + 0.5, CX + 5, y + 0.5, "#1b2028")
    # Side buttons on the left flank.
    for y0, y1 in ((266, 298), (316, 348)):
        s.rect(650, y0, 684, y1, s.vgrad((0, "#262c37"), (1, "#1b2028")), r=8)
        s.frame(650, y0, 684, y1, "#353d4b", r=8)
    # Palm button and a light strip along the palm.
    s.rect(CX - 13, 306, CX + 13, 338, "#1b2028", r=8)
    s.frame(CX - 13, 306, CX + 13, 338, "#353d4b", r=8)
    s.path(REAR, stroke="#2a3140", stroke_width=3, stroke_linecap="round")


def dot(s, rect, look):
    """One button point: a dim ring ("normal"), lit in the accent ("lit") or marked ("marked")."""
    x0, y0, x1, y1 = rect
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    if look == "lit":
        w.glow_dot(s, cx, cy, t.ACCENT_GLOW, 11.5, 3.6)
    elif look == "marked":
        w.glow_dot(s, cx, cy, t.ALERT_GLOW, 11.5, 3.6)
    else:
        s.circle(cx, cy, 5.5, fill="#0b0d11", stroke="#6a7384", stroke_width=1.5)
        s.circle(cx, cy, 1.8, fill="#6a7384")


def button_page(s, look):
    body(s)
    for rect in DOTS:
        dot(s, rect, look)


def lighting_page(s):
    """The mouse with its light zones: the front strip, the wheel and the palm strip glowing."""
    body(s)
    glow = s.blur(5)
    for d in [REAR] + FLANKS:
        s.path(d, stroke=t.ACCENT_GLOW, stroke_width=9, stroke_linecap="round", filter=glow, opacity=0.75)
        s.path(d, stroke="#cfe6ff", stroke_width=2.5, stroke_linecap="round")
    s.rect(CX - 9, 205, CX + 9, 237, t.ACCENT_GLOW, r=8, filter=glow, opacity=0.7)
    s.rect(CX - 7, 207, CX + 7, 235, s.vgrad((0, "#9fd0ff"), (0.5, t.ACCENT), (1, "#9fd0ff")), r=6)
    for y in range(210, 234, 4):
        s.line(CX - 5, y + 0.5, CX + 5, y + 0.5, "#1b4f90")
    s.circle(CX, 322, 6, fill=t.ACCENT_GLOW, filter=glow)
    s.circle(CX, 322, 3, fill="#ffffff")
