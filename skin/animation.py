"""The busy spinner: twelve dots on a ring, the bright one moving clockwise with a fading
trail. Drawn straight into palette indices, anti-aliased against the colour of the window
it is shown on."""

import math

import theme as t
from raster import write_gif

SIZE = 100
FRAMES = 12
DELAY_CS = 5  # the toolkit advances one frame every fifth 10 ms tick


def _frame(f):
    values = [0.0] * (SIZE * SIZE)
    centre, ring, dot = SIZE / 2, 32.0, 6.0
    for j in range(FRAMES):
        angle = 2 * math.pi * j / FRAMES - math.pi / 2
        x0, y0 = centre + ring * math.cos(angle), centre + ring * math.sin(angle)
        age = (f - j) % FRAMES
        brightness = 1.0 - 0.8 * age / (FRAMES - 1)
        for y in range(int(y0 - dot - 1), int(y0 + dot + 2)):
            for x in range(int(x0 - dot - 1), int(x0 + dot + 2)):
                d = math.hypot(x + 0.5 - x0, y + 0.5 - y0)
                cover = min(max(dot + 0.5 - d, 0.0), 1.0)
                if cover:
                    i = y * SIZE + x
                    values[i] = max(values[i], cover * brightness)
    return [0 if v <= 0.02 else 1 + round(v * 254) for v in values]


def write_spinner(path, matte):
    """matte: the fill behind the picture; index 0 is transparent."""
    palette = [matte] + [t.mix(matte, t.TEXT, k / 254) for k in range(255)]
    write_gif(path, SIZE, SIZE, palette, [_frame(f) for f in range(FRAMES)], DELAY_CS,
              transparent=0)
