"""Colours of the dark theme. They come from the colours the program and the toolkit draw with
in code, so that drawn controls and skin images belong together."""

WINDOW_FILL = (0x06, 0x0B, 0x11)   # dialog fill, COLORREF 0x110B06
WINDOW_BORDER = (0x0A, 0x0F, 0x12)  # dialog border, COLORREF 0x120F0A
BAR = (33, 45, 59)                 # title and bottom bar key colour, also the list rows
SELECTION = (0x3E, 0x55, 0x6D)     # toolkit selection colour ARGB 0xFF3E556D
TEXT = (0xB8, 0xD3, 0xEF)          # text colour ARGB 0xFFB8D3EF
TRACK = (0x39, 0x44, 0x51)         # slider track line
TRACK_FILL = (0x88, 0xA9, 0xBC)    # slider filled part, DPI ticks
BODY = (15, 22, 32)                # colour buttons at rest
WHITE = (255, 255, 255)
RED = (224, 72, 64)
GREEN = (96, 200, 120)


def hexc(rgb):
    return '#%02x%02x%02x' % tuple(rgb)


def mix(a, b, t):
    """a blended towards b by t (0..1)."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class State:
    """The look of one frame of a push-button family strip."""

    def __init__(self, fill, border, glyph, highlight):
        self.fill = fill
        self.border = border
        self.glyph = glyph
        self.highlight = highlight


# Frames of every four-state strip: 0 normal, 1 hover (lighter), 2 pressed (darker),
# 3 disabled (grey).
NORMAL = State(fill=(22, 32, 44), border=SELECTION, glyph=TEXT, highlight=(40, 54, 70))
HOVER = State(fill=(40, 55, 72), border=(120, 150, 178), glyph=(226, 238, 250),
              highlight=(62, 80, 100))
PRESSED = State(fill=(11, 17, 25), border=SELECTION, glyph=(150, 176, 204),
                highlight=(11, 17, 25))
DISABLED = State(fill=(26, 28, 31), border=(52, 55, 60), glyph=(98, 102, 108),
                 highlight=(30, 32, 35))
STATES = (NORMAL, HOVER, PRESSED, DISABLED)

# The chosen (checked, active) look used by the toggle families in their pressed frame.
ACTIVE = State(fill=SELECTION, border=TRACK_FILL, glyph=WHITE, highlight=(78, 104, 130))
