"""Every full-window picture of the main window, composed from the shared frame, a left panel
and a content card in the look the picture stands for."""

import content
import frame
import panels
import theme as t
from svg import Svg


def _settings_page(draw_content, buttons_look="normal", panel_look="normal", tabs="normal",
                   reset=True):
    """`reset` False leaves out the reset button: the performance page has its pointer-speed
    slider in that corner and hides the button."""
    def make():
        s = Svg(t.WIDTH, t.HEIGHT)
        frame.draw(s, tabs, buttons_look)
        panels.profile(s, panel_look)
        draw_content(s)
        if reset:
            panels.reset_button(s, panel_look)
        return s
    return make


def _lighting_page(look):
    def make():
        s = Svg(t.WIDTH, t.HEIGHT)
        frame.draw(s, "normal")
        panels.lighting(s, "normal" if look == "background" else look)
        content.color(s, look)
        return s
    return make


def _macro_page(look):
    def make():
        s = Svg(t.WIDTH, t.HEIGHT)
        frame.draw(s, None)
        panels.macros(s, look)
        content.macro(s, look)
        return s
    return make


def _mask():
    s = Svg(t.WIDTH, t.HEIGHT)
    s.rect(0, 0, t.WIDTH, t.HEIGHT, "#ffffff")
    s.path(frame.OUTLINE, fill="#000000")
    return s


PICTURES = {
    "main.normal": _settings_page(lambda s: None),
    "main.over": _settings_page(lambda s: None, buttons_look="over", panel_look="over"),
    "buttons.normal": _settings_page(lambda s: content.buttons(s, "normal", "normal")),
    "buttons.over": _settings_page(lambda s: content.buttons(s, "over", "normal"), tabs="lit"),
    "buttons.dots_lit": _settings_page(lambda s: content.buttons(s, "normal", "lit")),
    "buttons.dots_marked": _settings_page(lambda s: content.buttons(s, "normal", "marked")),
    "advance.normal": _settings_page(lambda s: content.advance(s, "normal"), reset=False),
    "advance.down": _settings_page(lambda s: content.advance(s, "down"), reset=False),
    "dblclick.normal": _settings_page(lambda s: content.double_click(s, False)),
    "dblclick.lit": _settings_page(lambda s: content.double_click(s, True)),
    "color.normal": _lighting_page("normal"),
    "color.down": _lighting_page("down"),
    "color.background": _lighting_page("background"),
    "macro.normal": _macro_page("normal"),
    "macro.down": _macro_page("down"),
    "mask.main": _mask,
}
