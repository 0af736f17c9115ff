"""A small SVG builder: one picture, its shared definitions and its shapes, as text."""

from html import escape


def num(v):
    """Short, exact text of a coordinate."""
    if isinstance(v, float):
        text = f"{v:.2f}".rstrip("0").rstrip(".")
        return text if text not in ("", "-0") else "0"
    return str(v)


def attrs(**kw):
    out = []
    for key, value in kw.items():
        if value is None:
            continue
        name = key.rstrip("_").replace("_", "-")
        out.append(f'{name}="{escape(num(value) if isinstance(value, (int, float)) else value)}"')
    return " ".join(out)


class Svg:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.defs = []
        self.body = []
        self._ids = {}

    # Definitions are shared by name, so a gradient used by many shapes is written once.
    def _define(self, key, make):
        if key not in self._ids:
            ident = f"d{len(self._ids)}"
            self._ids[key] = ident
            self.defs.append(make(ident))
        return f"url(#{self._ids[key]})"

    def vgrad(self, *stops, x1=0, y1=0, x2=0, y2=1):
        """A linear gradient over the shape's box; stops are (offset, colour[, opacity])."""
        key = ("lin", stops, x1, y1, x2, y2)

        def make(ident):
            parts = [f'<linearGradient id="{ident}" {attrs(x1=x1, y1=y1, x2=x2, y2=y2)}>']
            for stop in stops:
                opacity = stop[2] if len(stop) > 2 else 1
                parts.append(f'<stop {attrs(offset=stop[0], stop_color=stop[1], stop_opacity=opacity)}/>')
            parts.append("</linearGradient>")
            return "".join(parts)

        return self._define(key, make)

    def hgrad(self, *stops):
        return self.vgrad(*stops, x1=0, y1=0, x2=1, y2=0)

    def rgrad(self, *stops, cx=0.5, cy=0.5, r=0.5):
        key = ("rad", stops, cx, cy, r)

        def make(ident):
            parts = [f'<radialGradient id="{ident}" {attrs(cx=cx, cy=cy, r=r)}>']
            for stop in stops:
                opacity = stop[2] if len(stop) > 2 else 1
                parts.append(f'<stop {attrs(offset=stop[0], stop_color=stop[1], stop_opacity=opacity)}/>')
            parts.append("</radialGradient>")
            return "".join(parts)

        return self._define(key, make)

    def blur(self, deviation):
        key = ("blur", deviation)
        return self._define(
            key,
            lambda ident: f'<filter id="{ident}" x="-50%" y="-50%" width="200%" height="200%">'
            f'<feGaussianBlur stdDeviation="{num(deviation)}"/></filter>',
        )

    def clip_rect(self, x0, y0, x1, y1):
        key = ("clip", x0, y0, x1, y1)
        return self._define(
            key,
            lambda ident: f'<clipPath id="{ident}"><rect {attrs(x=x0, y=y0, width=x1 - x0, height=y1 - y0)}/></clipPath>',
        )

    def add(self, text):
        self.body.append(text)

    def el(self, tag, **kw):
        self.body.append(f"<{tag} {attrs(**kw)}/>")

    def group(self, content, **kw):
        self.body.append(f"<g {attrs(**kw)}>")
        content()
        self.body.append("</g>")

    def rect(self, x0, y0, x1, y1, fill, r=0, **kw):
        self.el("rect", x=x0, y=y0, width=x1 - x0, height=y1 - y0, rx=r or None, fill=fill, **kw)

    def frame(self, x0, y0, x1, y1, stroke, r=0, width=1, fill="none", **kw):
        """A rectangle outline drawn inside (x0, y0)-(x1, y1), its pixels crisp."""
        h = width / 2
        self.el("rect", x=x0 + h, y=y0 + h, width=x1 - x0 - width, height=y1 - y0 - width,
                rx=max(r - h, 0) or None, fill=fill, stroke=stroke, stroke_width=width, **kw)

    def line(self, x0, y0, x1, y1, stroke, width=1, **kw):
        self.el("line", x1=x0, y1=y0, x2=x1, y2=y1, stroke=stroke, stroke_width=width, **kw)

    def circle(self, cx, cy, r, fill="none", **kw):
        self.el("circle", cx=cx, cy=cy, r=r, fill=fill, **kw)

    def path(self, d, fill="none", **kw):
        self.el("path", d=d, fill=fill, **kw)

    def text(self):
        return (
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.width}" height="{self.height}" '
            f'viewBox="0 0 {self.width} {self.height}">'
            f'<defs>{"".join(self.defs)}</defs>{"".join(self.body)}</svg>\n'
        )
