#!/usr/bin/env python3
"""Builds the skin folder (skins/theme1) from the drawings in this folder.

  make_skin.py --list                       relative paths of every file it writes
  make_skin.py --out DIR --work DIR         render everything into DIR (SVGs kept in --work)
  make_skin.py --out DIR --sheet FILE       contact sheet of a built skin folder
  --rsvg PATH                               rsvg-convert to use (default: from PATH)
"""

import argparse
import os
import shutil
import subprocess
import sys

# Nothing is written into the source folder.
sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

try:
    import animation
    import images
    import models
    import theme as t
    from raster import read_png, write_ico
    from svg import Canvas, strip_svg
except ImportError as missing:
    sys.exit(f'make_skin: error: source {os.path.join(HERE, (missing.name or "?") + ".py")} '
             f'is missing or broken: {missing}')

TRAY_ICON = 'Pellmire.ico'
TRAY_SIZES = (16, 32, 48)
# The wait dialog fills with grey 51; the splash window with the dialog fill.
SPINNERS = {'loading.gif': (51, 51, 51), 'loading/loading.gif': t.WINDOW_FILL}


class BuildError(Exception):
    pass


def all_strips():
    return images.catalogue() + models.catalogue()


def outputs():
    return [s.name for s in all_strips()] + [TRAY_ICON] + list(SPINNERS)


def renderer(given=None):
    path = given or shutil.which('rsvg-convert')
    if not path or not os.access(path, os.X_OK):
        raise BuildError(f'{given or "rsvg-convert"} not found: install librsvg2-bin')
    return path


def render(rsvg, svg_text, svg_path, png_path, width, height):
    os.makedirs(os.path.dirname(svg_path), exist_ok=True)
    os.makedirs(os.path.dirname(png_path), exist_ok=True)
    with open(svg_path, 'w', encoding='utf-8') as f:
        f.write(svg_text)
    result = subprocess.run([rsvg, '-w', str(width), '-h', str(height), '-o', png_path, svg_path],
                            capture_output=True, text=True)
    if result.returncode != 0 or not os.path.exists(png_path):
        raise BuildError(f'{svg_path}: rsvg-convert failed: {result.stderr.strip()}')
    bitmap = read_png(png_path)
    if (bitmap.width, bitmap.height) != (width, height):
        raise BuildError(f'{png_path}: rendered {bitmap.width} x {bitmap.height}, '
                         f'expected {width} x {height}')
    return bitmap


def tray_icon_svg(size):
    """The tray icon drawn for one pixel size, so that its lines stay sharp when small."""
    c = Canvas(size, size)
    line = max(1.0, size / 22)
    c.box(0, 0, size, size, size * 0.22, t.BAR, t.TRACK_FILL, line)
    s = size * 0.34
    w = s * 0.7
    cx, cy = size / 2, size / 2
    c.rect(cx - w, cy - s, 2 * w, 2 * s, w * 0.95, fill=t.WINDOW_FILL, stroke=t.TEXT, width=line)
    c.line(cx - w, cy - s * 0.15, cx + w, cy - s * 0.15, t.TEXT, line)
    c.rect(cx - line / 2 - 0.5, cy - s * 0.8, line + 1, s * 0.45, (line + 1) / 2, fill=t.WHITE)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}">'
            + ''.join(c.items) + '</svg>\n')


def build(rsvg, out, work):
    for strip in all_strips():
        svg_text = strip_svg(strip.frames, strip.width, strip.height, strip.draw)
        render(rsvg, svg_text, os.path.join(work, strip.name[:-4] + '.svg'),
               os.path.join(out, strip.name), strip.frames * strip.width, strip.height)
    bitmaps = []
    for size in TRAY_SIZES:
        name = f'tray_{size}'
        bitmaps.append(render(rsvg, tray_icon_svg(size), os.path.join(work, name + '.svg'),
                              os.path.join(work, name + '.png'), size, size))
    write_ico(os.path.join(out, TRAY_ICON), bitmaps)
    for name, matte in SPINNERS.items():
        path = os.path.join(out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        animation.write_spinner(path, matte)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--list', action='store_true')
    parser.add_argument('--out')
    parser.add_argument('--work')
    parser.add_argument('--sheet')
    parser.add_argument('--rsvg', help='path of rsvg-convert (default: from PATH)')
    args = parser.parse_args()
    try:
        if args.list:
            print('\n'.join(outputs()))
        elif args.sheet and args.out:
            import contact_sheet
            contact_sheet.write(renderer(args.rsvg), args.out, all_strips(), outputs(), args.sheet)
        elif args.out and args.work:
            build(renderer(args.rsvg), args.out, args.work)
        else:
            parser.error('give --list, --out with --work, or --out with --sheet')
    except (BuildError, OSError, ValueError) as error:
        print(f'make_skin: error: {error}', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
