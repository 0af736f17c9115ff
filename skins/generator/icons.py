"""Line icons centred on a point, drawn with round strokes so they stay crisp and anti-aliased
at small sizes. None of them carries a letter or digit."""

import theme as t


def _stroke(color, width=1.6):
    return dict(stroke=color, stroke_width=width, stroke_linecap="round", stroke_linejoin="round")


def plus(s, cx, cy, color, size=5):
    s.path(f"M{cx - size},{cy} H{cx + size} M{cx},{cy - size} V{cy + size}", **_stroke(color, 1.8))


def minus(s, cx, cy, color, size=5):
    s.path(f"M{cx - size},{cy} H{cx + size}", **_stroke(color, 1.8))


def cross(s, cx, cy, color, size=4.5, width=1.8):
    s.path(f"M{cx - size},{cy - size} L{cx + size},{cy + size} M{cx + size},{cy - size} "
           f"L{cx - size},{cy + size}", **_stroke(color, width))


def check(s, cx, cy, color, size=6, width=2):
    s.path(f"M{cx - size},{cy} L{cx - size / 3},{cy + size * 0.65} L{cx + size},{cy - size * 0.6}",
           **_stroke(color, width))


def bin_(s, cx, cy, color):
    s.path(f"M{cx - 5},{cy - 3.5} H{cx + 5} M{cx - 2},{cy - 3.5} V{cy - 5.5} H{cx + 2} V{cy - 3.5} "
           f"M{cx - 4},{cy - 3.5} L{cx - 3.2},{cy + 5} H{cx + 3.2} L{cx + 4},{cy - 3.5}",
           **_stroke(color, 1.4))


def dots(s, cx, cy, color):
    for dx in (-5, 0, 5):
        s.circle(cx + dx, cy, 1.6, fill=color)


def arrow(s, cx, cy, color, up=True, size=6, width=1.8):
    d = -1 if up else 1
    s.path(f"M{cx},{cy - d * size} V{cy + d * size} M{cx - size * 0.7},{cy + d * size * 0.3} "
           f"L{cx},{cy + d * size} L{cx + size * 0.7},{cy + d * size * 0.3}", **_stroke(color, width))


def triangle(s, cx, cy, color, up=True, size=3.5):
    d = -1 if up else 1
    s.path(f"M{cx - size},{cy - d * size / 2} L{cx + size},{cy - d * size / 2} L{cx},{cy + d * size / 2} Z",
           fill=color)


def tray_arrow(s, cx, cy, color, inward=True):
    """Import (arrow into a tray) or export (arrow out of it)."""
    s.path(f"M{cx - 6},{cy + 1} V{cy + 5} H{cx + 6} V{cy + 1}", **_stroke(color, 1.5))
    if inward:
        s.path(f"M{cx},{cy - 6} V{cy + 2} M{cx - 3},{cy - 1} L{cx},{cy + 2} L{cx + 3},{cy - 1}",
               **_stroke(color, 1.5))
    else:
        s.path(f"M{cx},{cy + 2} V{cy - 6} M{cx - 3},{cy - 3} L{cx},{cy - 6} L{cx + 3},{cy - 3}",
               **_stroke(color, 1.5))


def folder(s, cx, cy, color):
    s.path(f"M{cx - 8},{cy - 5} H{cx - 3} L{cx - 1},{cy - 3} H{cx + 8} V{cy + 6} H{cx - 8} Z",
           **_stroke(color, 1.4))


def window_app(s, cx, cy, color):
    """A program: a small window with a title strip."""
    s.rect(cx - 8, cy - 6, cx + 8, cy + 6, "none", r=1.5, **_stroke(color, 1.4))
    s.line(cx - 8, cy - 2.5, cx + 8, cy - 2.5, color, 1.4)
    s.circle(cx - 5.5, cy - 4.3, 0.7, fill=color)


def gear(s, cx, cy, color, r=5.5):
    teeth = []
    import math
    for i in range(8):
        a = i * math.pi / 4
        teeth.append(f"M{cx + math.cos(a) * (r - 0.5):.2f},{cy + math.sin(a) * (r - 0.5):.2f} "
                     f"L{cx + math.cos(a) * (r + 2):.2f},{cy + math.sin(a) * (r + 2):.2f}")
    s.path(" ".join(teeth), **_stroke(color, 2.2))
    s.circle(cx, cy, r - 0.4, stroke=color, stroke_width=1.6)
    s.circle(cx, cy, 1.8, stroke=color, stroke_width=1.4)


def chip_up(s, cx, cy, color):
    """Firmware: a chip with an upward arrow."""
    s.rect(cx - 5.5, cy - 5.5, cx + 5.5, cy + 5.5, "none", r=1.5, **_stroke(color, 1.4))
    legs = " ".join(f"M{cx + d},{cy - 8} V{cy - 6} M{cx + d},{cy + 6} V{cy + 8} "
                    f"M{cx - 8},{cy + d} H{cx - 6} M{cx + 6},{cy + d} H{cx + 8}" for d in (-2.5, 2.5))
    s.path(legs, **_stroke(color, 1.2))
    s.path(f"M{cx},{cy + 3} V{cy - 3} M{cx - 2.5},{cy - 0.5} L{cx},{cy - 3} L{cx + 2.5},{cy - 0.5}",
           **_stroke(color, 1.4))


def restore(s, cx, cy, color, r=8, width=2):
    """Back to defaults: an open circle with an arrow head."""
    import math
    a0, a1 = math.radians(-60), math.radians(240)
    x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
    x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
    s.path(f"M{x0:.2f},{y0:.2f} A{r},{r} 0 1 1 {x1:.2f},{y1:.2f}", **_stroke(color, width))
    h = r * 0.45
    s.path(f"M{x0 - h * 0.1:.2f},{y0 - h:.2f} L{x0:.2f},{y0:.2f} L{x0 - h:.2f},{y0 + h * 0.15:.2f}",
           **_stroke(color, width))


def pencil(s, cx, cy, color):
    s.path(f"M{cx - 5},{cy + 5} L{cx - 4},{cy + 1} L{cx + 3},{cy - 6} L{cx + 6},{cy - 3} "
           f"L{cx - 1},{cy + 4} Z M{cx + 1},{cy - 4} L{cx + 4},{cy - 1}", **_stroke(color, 1.4))


def record(s, cx, cy, color=t.ALERT, r=5):
    s.circle(cx, cy, r + 2.5, stroke=color, stroke_width=1.2, stroke_opacity=0.5)
    s.circle(cx, cy, r, fill=color)


def link(s, cx, cy, color):
    for dx in (-3, 3):
        s.rect(cx + dx - 4.5, cy - 2.5, cx + dx + 4.5, cy + 2.5, "none", r=2.5, **_stroke(color, 1.4))


def keycap(s, rect, color):
    x0, y0, x1, y1 = rect
    s.rect(x0, y0, x1, y1, s.vgrad((0, "#1a1f28"), (1, "#0f1218")), r=10)
    s.frame(x0, y0, x1, y1, color, r=10)
    s.rect(x0 + 8, y0 + 6, x1 - 8, y1 - 14, s.vgrad((0, "#20262f"), (1, "#161a21")), r=7)
    s.frame(x0 + 8, y0 + 6, x1 - 8, y1 - 14, "#2c3441", r=7)


def mouse_small(s, cx, cy, color, width=1.5):
    s.path(f"M{cx},{cy - 9} C{cx + 7},{cy - 9} {cx + 7},{cy - 4} {cx + 7},{cy + 2} "
           f"C{cx + 7},{cy + 8} {cx + 4},{cy + 10} {cx},{cy + 10} C{cx - 4},{cy + 10} {cx - 7},{cy + 8} "
           f"{cx - 7},{cy + 2} C{cx - 7},{cy - 4} {cx - 7},{cy - 9} {cx},{cy - 9} Z "
           f"M{cx},{cy - 9} V{cy - 2} M{cx - 7},{cy - 2} H{cx + 7}", **_stroke(color, width))


def pulses(s, x0, cy, gap, color, height=16, width=10, count=2):
    """Two clicks on a time line: their distance tells a fast double click from a slow one."""
    s.line(x0 - 14, cy + height / 2 + 0.5, x0 + width * count + gap * (count - 1) + 14,
           cy + height / 2 + 0.5, color, 1.2, stroke_opacity=0.5)
    for i in range(count):
        x = x0 + i * (width + gap)
        s.rect(x, cy - height / 2, x + width, cy + height / 2, color, r=2.5)


def lightning(s, cx, cy, color):
    s.path(f"M{cx + 2},{cy - 9} L{cx - 5},{cy + 1} H{cx} L{cx - 2},{cy + 9} L{cx + 5},{cy - 1} H{cx} Z",
           fill=color)


def clock(s, cx, cy, color, r=8):
    s.circle(cx, cy, r, stroke=color, stroke_width=1.6)
    s.path(f"M{cx},{cy - r + 3.5} V{cy} L{cx + 3.5},{cy + 2}", **_stroke(color, 1.6))


def layers(s, cx, cy, color):
    for dy, op in ((6, 0.45), (0, 0.7), (-6, 1)):
        s.path(f"M{cx - 14},{cy + dy} L{cx},{cy + dy - 7} L{cx + 14},{cy + dy} L{cx},{cy + dy + 7} Z",
               fill=t.PANEL, stroke=color, stroke_width=1.5, stroke_linejoin="round", stroke_opacity=op)


def keyboard(s, cx, cy, color):
    s.rect(cx - 16, cy - 10, cx + 16, cy + 10, "none", r=3, **_stroke(color, 1.5))
    for row, y in enumerate((cy - 5, cy)):
        for i in range(6 - row):
            x = cx - 12 + i * 5 + row * 2.5
            s.rect(x, y - 1.5, x + 3, y + 1.5, color, r=0.8)
    s.rect(cx - 8, cy + 4, cx + 8, cy + 6.5, color, r=1)


def bulb_zones(s, cx, cy, color):
    """Lighting: a ring of light points."""
    import math
    for i in range(8):
        a = i * math.pi / 4
        s.circle(cx + 10 * math.cos(a), cy + 10 * math.sin(a), 2.2, fill=color,
                 fill_opacity=0.35 + 0.08 * i)
    s.circle(cx, cy, 4, fill=color)
