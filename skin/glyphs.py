"""Line glyphs shared by the icons: each draws into a canvas around a centre at a given size."""

import math


def cross(c, cx, cy, s, colour, width=1.6):
    c.line(cx - s, cy - s, cx + s, cy + s, colour, width)
    c.line(cx - s, cy + s, cx + s, cy - s, colour, width)


def plus(c, cx, cy, s, colour, width=1.6):
    c.line(cx - s, cy, cx + s, cy, colour, width, cap='butt')
    c.line(cx, cy - s, cx, cy + s, colour, width, cap='butt')


def minus(c, cx, cy, s, colour, width=1.6):
    c.line(cx - s, cy, cx + s, cy, colour, width, cap='butt')


def triangle(c, cx, cy, s, colour, up=True):
    """A solid arrow head s pixels wide."""
    h = s * 0.6
    if up:
        d = f'M{cx - s / 2:g} {cy + h / 2:g}L{cx + s / 2:g} {cy + h / 2:g}L{cx:g} {cy - h / 2:g}Z'
    else:
        d = f'M{cx - s / 2:g} {cy - h / 2:g}L{cx + s / 2:g} {cy - h / 2:g}L{cx:g} {cy + h / 2:g}Z'
    c.path(d, fill=colour)


def chevron(c, cx, cy, s, colour, up=False, width=1.6):
    dy = -s / 2 if up else s / 2
    c.path(f'M{cx - s:g} {cy - dy:g}L{cx:g} {cy + dy:g}L{cx + s:g} {cy - dy:g}', stroke=colour,
           width=width)


def gear(c, cx, cy, r, colour, width=2.0, teeth=8):
    """Outline of a toothed wheel with a hole."""
    points = []
    for i in range(teeth * 4):
        angle = (i / (teeth * 4)) * 2 * math.pi
        radius = r if (i % 4) in (0, 1) else r * 0.74
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    d = 'M' + 'L'.join(f'{x:.2f} {y:.2f}' for x, y in points) + 'Z'
    c.path(d, stroke=colour, width=width)
    c.circle(cx, cy, r * 0.32, stroke=colour, width=width)


def house(c, cx, cy, s, colour, width=2.0):
    c.path(f'M{cx - s:g} {cy - s * 0.05:g}L{cx:g} {cy - s:g}L{cx + s:g} {cy - s * 0.05:g}',
           stroke=colour, width=width)
    c.path(f'M{cx - s * 0.72:g} {cy - s * 0.3:g}V{cy + s:g}H{cx + s * 0.72:g}V{cy - s * 0.3:g}',
           stroke=colour, width=width)
    c.path(f'M{cx - s * 0.22:g} {cy + s:g}V{cy + s * 0.35:g}H{cx + s * 0.22:g}V{cy + s:g}',
           stroke=colour, width=width)


def mouse(c, cx, cy, s, colour, width=2.0, wheel=True):
    """A mouse seen from above, s = half height."""
    w = s * 0.68
    c.rect(cx - w, cy - s, 2 * w, 2 * s, w * 0.95, stroke=colour, width=width)
    c.line(cx, cy - s, cx, cy - s * 0.15, colour, width)
    c.line(cx - w, cy - s * 0.15, cx + w, cy - s * 0.15, colour, width)
    if wheel:
        c.rect(cx - s * 0.12, cy - s * 0.72, s * 0.24, s * 0.36, s * 0.12, fill=colour)


def crosshair(c, cx, cy, s, colour, width=2.0):
    c.circle(cx, cy, s * 0.7, stroke=colour, width=width)
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        c.line(cx + dx * s * 0.45, cy + dy * s * 0.45, cx + dx * s, cy + dy * s, colour, width)
    c.circle(cx, cy, s * 0.14, fill=colour)


def macro(c, cx, cy, s, colour, width=2.0):
    """Lines of steps with a play mark."""
    for i, length in enumerate((1.0, 0.7, 0.85)):
        y = cy - s * 0.6 + i * s * 0.6
        c.line(cx - s * 0.3, y, cx - s * 0.3 + s * 1.3 * length, y, colour, width)
    c.path(f'M{cx - s:g} {cy - s * 0.85:g}L{cx - s * 0.55:g} {cy - s * 0.6:g}'
           f'L{cx - s:g} {cy - s * 0.35:g}Z', fill=colour)
    c.circle(cx - s * 0.78, cy + s * 0.6, s * 0.22, fill=colour)


def sun(c, cx, cy, s, colour, width=2.0):
    c.circle(cx, cy, s * 0.42, stroke=colour, width=width)
    for i in range(8):
        a = i * math.pi / 4
        c.line(cx + math.cos(a) * s * 0.68, cy + math.sin(a) * s * 0.68,
               cx + math.cos(a) * s, cy + math.sin(a) * s, colour, width)


def sliders(c, cx, cy, s, colour, width=2.0):
    for i, knob in enumerate((0.35, -0.4, 0.1)):
        y = cy - s * 0.7 + i * s * 0.7
        c.line(cx - s, y, cx + s, y, colour, width)
        c.circle(cx + knob * s * 1.6, y, s * 0.2, fill=colour)


def circular_arrow(c, cx, cy, r, colour, width=1.6):
    """A clockwise arrow around a centre with its head at the gap on top: the reset mark."""
    start, end = math.radians(-60), math.radians(240)
    x1, y1 = cx + r * math.cos(start), cy + r * math.sin(start)
    x2, y2 = cx + r * math.cos(end), cy + r * math.sin(end)
    c.path(f'M{x1:.2f} {y1:.2f}A{r:g} {r:g} 0 1 1 {x2:.2f} {y2:.2f}', stroke=colour, width=width,
           cap='butt')
    tx, ty = -math.sin(end), math.cos(end)  # direction of travel at the end
    nx, ny = math.cos(end), math.sin(end)
    h = r * 0.7
    c.path(f'M{x2 + tx * h:.2f} {y2 + ty * h:.2f}L{x2 + nx * h * 0.75:.2f} {y2 + ny * h * 0.75:.2f}'
           f'L{x2 - nx * h * 0.75:.2f} {y2 - ny * h * 0.75:.2f}Z', fill=colour)


def bolt(c, cx, cy, s, colour):
    """Lightning mark, s = half height."""
    pts = [(0.25, -1.0), (-0.55, 0.12), (-0.02, 0.12), (-0.25, 1.0), (0.55, -0.12),
           (0.02, -0.12)]
    d = 'M' + 'L'.join(f'{cx + x * s:.2f} {cy + y * s:.2f}' for x, y in pts) + 'Z'
    c.path(d, fill=colour)
