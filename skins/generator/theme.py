"""The colours and shared measures of the skin: one dark theme with a blue accent."""

BASE = "#0b0d11"
TITLE_TOP = "#161a21"
TITLE_BOTTOM = "#0d0f14"
EDGE = "#2a303b"
RULE = "#1f2530"

PANEL = "#12161d"
PANEL_EDGE = "#232a35"
PANEL_SHINE = "#1a1f28"

CONTROL_TOP = "#1c222c"
CONTROL_BOTTOM = "#151a22"
CONTROL_EDGE = "#2e3644"
CONTROL_SHINE = "#2a313d"

HOVER_TOP = "#1f2d44"
HOVER_BOTTOM = "#172236"
HOVER_EDGE = "#3d7bd6"

ACTIVE_TOP = "#2161c0"
ACTIVE_BOTTOM = "#16427f"
ACTIVE_EDGE = "#5aa8ff"

FIELD = "#000000"
FIELD_EDGE = "#2b323e"

ACCENT = "#2f86ff"
ACCENT_GLOW = "#5db0ff"
ACCENT_DEEP = "#123a70"

ALERT = "#e0303a"
ALERT_GLOW = "#ff5a62"

ICON = "#8c95a5"
ICON_BRIGHT = "#e8edf4"
ICON_DIM = "#4a5262"

# Regions of the main window (920 x 530).
WIDTH = 920
HEIGHT = 530
CORNER = 14
TITLE_BOTTOM_Y = 80
BAND = (12, 84, 908, 130)
LEFT_PANEL = (12, 140, 240, 520)
CONTENT = (245, 140, 908, 520)
