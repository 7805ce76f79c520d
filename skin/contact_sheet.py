"""One page with every image of a built skin folder, its name, frame count and size, the
frames of each strip outlined, small images enlarged. For review only."""

import base64
import os
import subprocess

from raster import read_png

PAGE_WIDTH = 1400
MARGIN = 20
LABEL = 18
BACKDROP = '#2b3440'


def _uri(path):
    kind = {'.png': 'png', '.gif': 'gif', '.ico': 'x-icon'}[os.path.splitext(path)[1]]
    with open(path, 'rb') as f:
        return f'data:image/{kind};base64,' + base64.b64encode(f.read()).decode('ascii')


def write(rsvg, skin_folder, strips, names, sheet_path):
    frames = {s.name: s.frames for s in strips}
    items = []
    x, y, row_height = MARGIN, MARGIN, 0
    for name in names:
        path = os.path.join(skin_folder, name)
        if not os.path.exists(path):
            raise OSError(f'{path}: missing; build the skin first')
        if name.endswith('.png'):
            bmp = read_png(path)
            w, h = bmp.width, bmp.height
        else:
            w = h = 100 if name.endswith('.gif') else 48
        # Small images enlarged so their frames can be told apart, page-sized ones halved.
        zoom = 3 if max(w, h) <= 32 else 2 if max(w, h) <= 64 else 1 if w <= 600 else 0.5
        dw, dh = w * zoom, h * zoom
        if x + dw > PAGE_WIDTH - MARGIN:
            x, y, row_height = MARGIN, y + row_height + MARGIN, 0
        count = frames.get(name, 12 if name.endswith('.gif') else 1)
        label = f'{name}  {count} frame{"s" if count > 1 else ""}  {w}x{h}'
        items.append(f'<text x="{x}" y="{y + 13}" font-family="Open Sans" font-size="12" '
                     f'fill="#dde6f0">{label}</text>')
        top = y + LABEL
        items.append(f'<rect x="{x - 1}" y="{top - 1}" width="{dw + 2:g}" height="{dh + 2:g}" '
                     f'fill="{BACKDROP}" stroke="#5a6878"/>')
        items.append(f'<image x="{x}" y="{top}" width="{dw:g}" height="{dh:g}" '
                     f'preserveAspectRatio="none" style="image-rendering:pixelated" '
                     f'href="{_uri(path)}"/>')
        for k in range(1, count if name.endswith('.png') else 1):
            fx = x + k * dw / count
            items.append(f'<line x1="{fx:g}" y1="{top}" x2="{fx:g}" y2="{top + dh:g}" '
                         f'stroke="#ff00ff" stroke-width="1" stroke-dasharray="2 2"/>')
        x += max(dw, len(label) * 6.5) + MARGIN
        row_height = max(row_height, dh + LABEL)
    height = y + row_height + MARGIN
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{PAGE_WIDTH}" height="{height:g}">'
           f'<rect width="100%" height="100%" fill="#141a22"/>' + ''.join(items) + '</svg>\n')
    svg_path = os.path.splitext(sheet_path)[0] + '.svg'
    with open(svg_path, 'w', encoding='utf-8') as f:
        f.write(svg)
    subprocess.run([rsvg, '-o', sheet_path, svg_path], check=True)
