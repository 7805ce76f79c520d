"""Pictures of the two models, seen from above.

The small picture (mouse_img, 220 x 340) is the one the button map draws over: its buttons lie
under the anchor points of data/device/<model>.xml. The map starts 205 pixels left of and 10
pixels below the picture, so a map point (x, y) is the picture point (x - 205, y + 10):

  left button   (60, 65)    right button  (160, 65)
  front button  (110, 105)  wheel         (110, 140)  rear button (110, 175)
  DPI button    (110, 225)
  side buttons  (8, 190) forward and (8, 240) back; the Lite has the same two
"""

import theme as t
from images import Strip

WIDTH, HEIGHT = 220, 340

SHELL = (20, 28, 38)
BUTTON = (30, 42, 56)
EDGE = (96, 124, 150)
SEAM = (6, 10, 15)


def _outline():
    """Body outline: narrow at the front, widest at the grip, round at the back."""
    return ('M110 14C70 14 44 24 34 60C24 100 20 150 16 200C12 250 24 300 58 322'
            'C82 336 138 336 162 322C196 300 208 250 204 200C200 150 196 100 186 60'
            'C176 24 150 14 110 14Z')


def draw_mouse(c, side_buttons, accent, scale=1.0, dx=0.0, dy=0.0):
    """The mouse into canvas c; side_buttons: list of (top, bottom) of the left side keys."""
    from svg import Canvas
    m = Canvas(WIDTH, HEIGHT)
    # Light falls from the front: the shell darkens towards the back.
    m.raw('<defs><linearGradient id="shell" x1="0" y1="0" x2="0" y2="1">'
          f'<stop offset="0" stop-color="{t.hexc(t.mix(SHELL, EDGE, 0.18))}"/>'
          f'<stop offset="1" stop-color="{t.hexc(t.mix(SHELL, (0, 0, 0), 0.35))}"/>'
          '</linearGradient></defs>')
    for top, bottom in side_buttons:
        m.rect(3, top, 18, bottom - top, 6, fill=BUTTON, stroke=EDGE, width=1.5)
    m.raw(f'<path d="{_outline()}" fill="url(#shell)" stroke="{t.hexc(EDGE)}" '
          'stroke-width="2"/>')
    # Main buttons: the front of the shell down to y 200, split by the groove.
    m.path('M104 17C72 18 48 28 39 60C33 90 29 130 27 170L26 198Q58 210 97 206L97 20Z', fill=BUTTON,
           stroke=EDGE, width=1.5)
    m.path('M116 17C148 18 172 28 181 60C187 90 191 130 193 170L194 198Q162 210 123 206L123 20Z',
           fill=BUTTON, stroke=EDGE, width=1.5)
    m.rect(100, 24, 20, 184, 9, fill=SEAM)
    # Small buttons in front of and behind the wheel, the wheel, the DPI button.
    m.rect(102, 96, 16, 20, 5, fill=BUTTON, stroke=EDGE, width=1.3)
    m.rect(101, 122, 18, 37, 8, fill=(44, 58, 74), stroke=t.TEXT, width=1.3)
    for y in range(128, 156, 5):
        m.line(103, y, 117, y, (70, 88, 108), 1.2, cap='butt')
    m.rect(102, 165, 16, 20, 5, fill=BUTTON, stroke=EDGE, width=1.3)
    m.circle(110, 225, 11, fill=BUTTON, stroke=accent, width=1.8)
    m.circle(110, 225, 3, fill=accent)
    # Light strip over the palm.
    m.path('M80 282C96 292 124 292 140 282', stroke=accent, width=3)
    c.group(f'translate({dx:g},{dy:g}) scale({scale:g})', m)


MODELS = {
    # name: (side buttons, accent colour, caption)
    'veyra': ([(170, 210), (220, 260)], t.TRACK_FILL, 'VEYRA'),
    'veyralite': ([(170, 210), (220, 260)], (120, 190, 160), 'VEYRA LITE'),
}


def mouse_picture(model):
    sides, accent, _ = MODELS[model]
    return lambda c, i: draw_mouse(c, sides, accent)


def home_picture(model):
    sides, accent, caption = MODELS[model]

    def draw(c, i):
        c.raw('<defs><radialGradient id="glow"><stop offset="0" stop-color="%s" '
              'stop-opacity="0.35"/><stop offset="1" stop-color="%s" stop-opacity="0"/>'
              '</radialGradient></defs>' % (t.hexc(accent), t.hexc(accent)))
        c.raw('<ellipse cx="260" cy="205" rx="250" ry="190" fill="url(#glow)"/>')
        c.raw('<ellipse cx="260" cy="384" rx="120" ry="9" fill="#000000" opacity="0.45"/>')
        scale = 1.1
        draw_mouse(c, sides, accent, scale, 260 - WIDTH * scale / 2, 6)
    return draw


def caption_picture(model):
    _, accent, caption = MODELS[model]

    def draw(c, i):
        c.text(80, 27, caption, 20, t.WHITE, weight='600', spacing=3)
        c.line(30, 36, 130, 36, accent, 2, cap='butt')
    return draw


def catalogue():
    strips = []
    for model in MODELS:
        strips += [
            Strip(f'device/{model}_home.png', 1, 520, 400, home_picture(model)),
            Strip(f'device/{model}_mouse.png', 1, WIDTH, HEIGHT, mouse_picture(model)),
            Strip(f'device/{model}_cap.png', 1, 160, 40, caption_picture(model)),
        ]
    return strips
