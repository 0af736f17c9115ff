"""The left panels of the main window: the profile (settings pages), the lighting zones and the
macro list. `look` is "normal", or "over"/"down" for the picture the buttons light up from."""

import icons
import theme as t
import widgets as w


def emblem(s, draw_icon):
    s.circle(126, 172, 24, fill=s.rgrad((0, "#1b2a42"), (1, "#12161d", 0)))
    s.circle(126, 172, 22, stroke="#263042", stroke_width=1)
    draw_icon(s, 126, 172, t.ACCENT_GLOW)


def icon_buttons(s, rects):
    """Three small buttons: new (+), delete (bin), more (...). They keep one look."""
    glyphs = [icons.plus, icons.bin_, icons.dots]
    for rect, glyph in zip(rects, glyphs):
        x0, y0, x1, y1 = rect
        w.button(s, rect, "normal", r=4)
        glyph(s, (x0 + x1) / 2, (y0 + y1) / 2, t.ICON_BRIGHT)


def profile(s, look):
    emblem(s, icons.layers)
    lit = "over" if look == "over" else "normal"
    w.heading_mark(s, 28, 212, 226)
    w.dropdown(s, (19, 235, 189, 260))
    icon_buttons(s, [(42, 276, 90, 295), (93, 276, 141, 295), (144, 276, 192, 295)])
    w.button(s, (21, 305, 100, 330), lit)
    w.button(s, (108, 305, 187, 330), lit)
    s.line(24, 342.5, 228, 342.5, t.RULE)
    w.heading_mark(s, 35, 352, 367)
    w.field(s, (45, 373, 189, 394))
    w.checkbox(s, 50, 408, on=look == "over")
    w.button(s, (44, 419, 114, 442), "normal", r=4)
    icons.window_app(s, 79, 430.5, t.ICON_BRIGHT)
    w.button(s, (154, 434, 223, 503), lit, r=8)
    icons.check(s, 188.5, 452, t.ACCENT_GLOW if look == "over" else t.ACCENT, 5, 2)


def reset_button(s, look):
    """Back-to-defaults of the settings pages, at the content's bottom left."""
    lit = "over" if look == "over" else "normal"
    w.button(s, (254, 441, 324, 497), lit, r=8)
    icons.restore(s, 289, 469, t.ICON_BRIGHT if lit == "over" else t.ICON, 9, 2.2)


def lighting(s, look):
    down = look == "down"
    w.heading_mark(s, 24, 152, 167)
    for i in range(4):
        top = 172 + 31 * i
        rect = (29, top, 216, top + 26)
        w.button(s, rect, "down" if down else "normal")
        if down:
            w.glow_dot(s, 43, top + 13, t.ACCENT_GLOW, 7, 2.2)
        else:
            s.circle(43, top + 13, 3, fill="#0b0d11", stroke="#6a7384", stroke_width=1.2)
    w.heading_mark(s, 24, 296, 311)
    w.dropdown(s, (29, 316, 217, 342), "over" if down else "normal")
    w.heading_mark(s, 25, 362, 374)
    w.track(s, (26, 382, 232, 397), filled=down, thickness=4, ticks=3, tick_span=(32, 226))
    s.line(24, 422.5, 228, 422.5, t.RULE)
    for rect, inward in (((30, 427, 231, 440), True), ((30, 446, 125, 459), False)):
        x0, y0, x1, y1 = rect
        if down:
            s.rect(x0, y0, x1, y1, "#1a2332", r=3)
        icons.tray_arrow(s, x0 - 8 + 6, (y0 + y1) / 2, t.ACCENT_GLOW if down else t.ICON_DIM, inward)
    w.button(s, (129, 453, 200, 509), "down" if down else "normal", r=8)
    icons.restore(s, 164.5, 481, t.ICON_BRIGHT if down else t.ICON, 9, 2.2)


def macros(s, look):
    down = look == "down"
    emblem(s, icons.keyboard)
    w.heading_mark(s, 60, 208, 223)
    w.dropdown(s, (19, 235, 190, 260))
    icon_buttons(s, [(36, 276, 84, 295), (87, 276, 136, 295), (138, 276, 187, 295)])
    state = "down" if down else "normal"
    w.button(s, (21, 305, 100, 330), state)
    w.button(s, (108, 305, 187, 330), state)
    s.line(24, 342.5, 228, 342.5, t.RULE)
    w.heading_mark(s, 36, 352, 367)
    w.field(s, (48, 373, 179, 393))
    w.button(s, (183, 371, 236, 395), state, r=4)
    # Delay modes: real delays (checked at start), no delay, fixed delay with its box.
    w.radio(s, 49, 408, on=down, r=4)
    w.radio(s, 121, 408, on=down, r=4)
    w.radio(s, 38, 428, on=down, r=4)
    w.field(s, (103, 422, 126, 434), r=2)
    loop = t.ACCENT_GLOW if down else t.ICON
    icons.restore(s, 137, 428, loop, 4, 1.4)
    w.field(s, (202, 422, 236, 434), r=2)
    w.button(s, (21, 441, 136, 465), state)
    icons.record(s, 48, 453, t.ALERT_GLOW if down else t.ALERT, 4.5)
