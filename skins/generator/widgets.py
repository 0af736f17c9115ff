"""Controls as the skin draws them, each at its exact rectangle and in one of its looks:
"normal", "over" (cursor over) or "down" (pressed, selected or checked)."""

import theme as t


def panel(s, rect, r=10, fill=t.PANEL):
    x0, y0, x1, y1 = rect
    s.rect(x0, y0, x1, y1, fill, r=r)
    s.frame(x0, y0, x1, y1, t.PANEL_EDGE, r=r)
    s.line(x0 + r, y0 + 1.5, x1 - r, y0 + 1.5, t.PANEL_SHINE)


def button(s, rect, look="normal", r=5):
    """A push button or a toggle; the look carries its state."""
    x0, y0, x1, y1 = rect
    if look == "over":
        top, bottom, edge = t.HOVER_TOP, t.HOVER_BOTTOM, t.HOVER_EDGE
    elif look == "down":
        top, bottom, edge = t.ACTIVE_TOP, t.ACTIVE_BOTTOM, t.ACTIVE_EDGE
    else:
        top, bottom, edge = t.CONTROL_TOP, t.CONTROL_BOTTOM, t.CONTROL_EDGE
    s.rect(x0, y0, x1, y1, s.vgrad((0, top), (1, bottom)), r=r)
    s.frame(x0, y0, x1, y1, edge, r=r)
    if y1 - y0 >= 14:
        shine = "#ffffff" if look != "normal" else t.CONTROL_SHINE
        opacity = 0.18 if look != "normal" else 1
        s.line(x0 + r, y0 + 1.5, x1 - r, y0 + 1.5, shine, stroke_opacity=opacity)


def field(s, rect, fill=t.FIELD, look="normal", r=3):
    """An input well around an edit box: the box's own colour inside a frame one pixel out."""
    x0, y0, x1, y1 = rect
    s.rect(x0 - 2, y0 - 2, x1 + 2, y1 + 2, fill, r=r)
    edge = t.HOVER_EDGE if look != "normal" else t.FIELD_EDGE
    s.frame(x0 - 2, y0 - 2, x1 + 2, y1 + 2, edge, r=r)


def chevron(s, cx, cy, size=4, color=t.ICON, down=True, width=1.6):
    d = size if down else -size
    s.path(f"M{cx - size},{cy - d / 2} L{cx},{cy + d / 2} L{cx + size},{cy - d / 2}",
           stroke=color, stroke_width=width, stroke_linecap="round", stroke_linejoin="round")


def dropdown(s, rect, look="normal", r=4):
    """A choice field that opens a list: dark well, a chevron at its right end."""
    x0, y0, x1, y1 = rect
    fill = s.vgrad((0, "#0d1016"), (1, "#07090d"))
    s.rect(x0, y0, x1, y1, fill, r=r)
    s.frame(x0, y0, x1, y1, t.HOVER_EDGE if look != "normal" else t.CONTROL_EDGE, r=r)
    cy = (y0 + y1) / 2
    s.line(x1 - 24.5, y0 + 5, x1 - 24.5, y1 - 5, t.CONTROL_EDGE)
    chevron(s, x1 - 12, cy, 3.5, t.ACCENT_GLOW if look != "normal" else t.ICON)


def radio(s, x, cy, on, r=5):
    """A round option mark in the 16 pixels left of a caption."""
    cx = x + 7
    s.circle(cx, cy, r + 0.5, fill="#07090c", stroke=t.ACCENT if on else "#5b6474", stroke_width=1.2)
    if on:
        s.circle(cx, cy, r - 2.2, fill=t.ACCENT_GLOW)


def checkbox(s, x, cy, on, size=12):
    x0, y0 = x + 1, cy - size / 2
    if on:
        s.rect(x0, y0, x0 + size, y0 + size, t.ACCENT, r=2.5)
        s.path(f"M{x0 + 2.8},{y0 + 6.2} L{x0 + 5.2},{y0 + 8.7} L{x0 + 9.4},{y0 + 3.6}",
               stroke="#ffffff", stroke_width=1.7, stroke_linecap="round", stroke_linejoin="round")
    else:
        s.rect(x0, y0, x0 + size, y0 + size, "#07090c", r=2.5)
        s.frame(x0, y0, x0 + size, y0 + size, "#5b6474", r=2.5)


def switch(s, x0, cy, on, width=26, height=14):
    y0 = cy - height / 2
    s.rect(x0, y0, x0 + width, y0 + height, t.ACCENT if on else "#262d39", r=height / 2)
    knob = x0 + width - height / 2 if on else x0 + height / 2
    s.circle(knob, cy, height / 2 - 2, fill="#ffffff" if on else "#8c95a5")


def track(s, rect, filled, thickness=4, ticks=0, tick_span=None):
    """The groove of a slider through the middle of its bar; the filled look is the accent
    colour the bar shows left of its thumb."""
    x0, y0, x1, y1 = rect
    cy = (y0 + y1) / 2
    half = thickness / 2
    if filled:
        fill = s.hgrad((0, t.ACCENT_DEEP), (1, t.ACCENT_GLOW))
        s.rect(x0 + 1, cy - half - 1.5, x1 - 1, cy + half + 1.5, t.ACCENT, r=half + 1.5, opacity=0.18)
        s.rect(x0 + 2, cy - half, x1 - 2, cy + half, fill, r=half)
    else:
        s.rect(x0 + 2, cy - half, x1 - 2, cy + half, "#262d39", r=half)
        s.frame(x0 + 2, cy - half, x1 - 2, cy + half, "#313949", r=half)
    if ticks > 1:
        left, right = tick_span or (x0 + 2, x1 - 2)
        for i in range(ticks):
            x = round(left + (right - left) * i / (ticks - 1)) + 0.5
            s.line(x, cy + half + 4, x, cy + half + 8, t.ACCENT if filled else "#3a4252")


def heading_mark(s, x, y0, y1):
    """The short accent bar that leads a section's heading label."""
    s.rect(x, y0 + 1, x + 3, y1 - 1, t.ACCENT, r=1.5)


def tab(s, rect, lit):
    x0, y0, x1, y1 = rect
    if lit:
        s.rect(x0, y0, x1, y1, s.vgrad((0, "#1d3a66"), (1, "#142742")), r=6)
        s.frame(x0, y0, x1, y1, t.HOVER_EDGE, r=6)
        s.rect(x0 + 14, y1 - 4, x1 - 14, y1 - 1, t.ACCENT_GLOW, r=1.5)
    else:
        s.rect(x0, y0, x1, y1, s.vgrad((0, "#181c24"), (1, "#13171e")), r=6)
        s.frame(x0, y0, x1, y1, "#252b36", r=6)


def glow_dot(s, cx, cy, color, radius, core):
    """A lit point: a soft halo that fades out inside `radius`, a bright core."""
    s.circle(cx, cy, radius, fill=s.rgrad((0, color, 0.75), (0.45, color, 0.35), (1, color, 0)))
    s.circle(cx, cy, core, fill="#ffffff")
    s.circle(cx, cy, core + 1.2, stroke=color, stroke_width=1.5)
