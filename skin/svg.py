"""Small SVG writer: a strip is a row of equal frames, each drawn by a function of its index."""

from theme import hexc


def _attrs(fill=None, stroke=None, width=1.0, opacity=None, extra=''):
    parts = [f'fill="{hexc(fill)}"' if fill is not None else 'fill="none"']
    if stroke is not None:
        parts.append(f'stroke="{hexc(stroke)}" stroke-width="{width:g}"')
    if opacity is not None:
        parts.append(f'opacity="{opacity:g}"')
    if extra:
        parts.append(extra)
    return ' '.join(parts)


class Canvas:
    """Collects the elements of one frame in frame coordinates."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.items = []

    def rect(self, x, y, w, h, r=0, fill=None, stroke=None, width=1.0, opacity=None):
        self.items.append(f'<rect x="{x:g}" y="{y:g}" width="{w:g}" height="{h:g}" '
                          f'rx="{r:g}" {_attrs(fill, stroke, width, opacity)}/>')

    def box(self, x, y, w, h, r, fill, stroke, width=1.0):
        """A filled rectangle with its border inside the pixel grid."""
        inset = width / 2
        self.rect(x + inset, y + inset, w - width, h - width, max(r - inset, 0), fill, stroke,
                  width)

    def circle(self, cx, cy, r, fill=None, stroke=None, width=1.0, opacity=None):
        self.items.append(f'<circle cx="{cx:g}" cy="{cy:g}" r="{r:g}" '
                          f'{_attrs(fill, stroke, width, opacity)}/>')

    def path(self, d, fill=None, stroke=None, width=1.0, opacity=None, cap='round',
             join='round'):
        extra = f'stroke-linecap="{cap}" stroke-linejoin="{join}"' if stroke is not None else ''
        self.items.append(f'<path d="{d}" {_attrs(fill, stroke, width, opacity, extra)}/>')

    def line(self, x1, y1, x2, y2, stroke, width=1.0, cap='round', opacity=None):
        self.path(f'M{x1:g} {y1:g}L{x2:g} {y2:g}', stroke=stroke, width=width, cap=cap,
                  opacity=opacity)

    def text(self, x, y, text, size, fill, weight='normal', anchor='middle', spacing=0,
             family='Open Sans'):
        self.items.append(f'<text x="{x:g}" y="{y:g}" font-family="{family}" '
                          f'font-size="{size:g}" font-weight="{weight}" '
                          f'letter-spacing="{spacing:g}" text-anchor="{anchor}" '
                          f'fill="{hexc(fill)}">{text}</text>')

    def raw(self, markup):
        self.items.append(markup)

    def group(self, transform, inner):
        """Draws another canvas's items with a transform."""
        self.items.append(f'<g transform="{transform}">' + ''.join(inner.items) + '</g>')


def strip_svg(frames, width, height, draw):
    """SVG text of a strip: frames side by side, frame i drawn by draw(canvas, i)."""
    body = []
    for i in range(frames):
        canvas = Canvas(width, height)
        draw(canvas, i)
        body.append(f'<g transform="translate({i * width},0)">' + ''.join(canvas.items) + '</g>')
    total = frames * width
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{total}" height="{height}" '
            f'viewBox="0 0 {total} {height}">' + ''.join(body) + '</svg>\n')
