"""Pixel formats the skin needs besides what rsvg-convert writes: reading its PNGs, writing
animated GIFs and multi-size ICOs. Standard library only."""

import struct
import zlib


class Bitmap:
    """RGBA pixels, 8 bits per channel, rows from the top."""

    def __init__(self, width, height, pixels=None):
        self.width = width
        self.height = height
        self.pixels = pixels if pixels is not None else bytearray(width * height * 4)

    def pixel(self, x, y):
        i = (y * self.width + x) * 4
        return tuple(self.pixels[i:i + 4])


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """Decodes an 8-bit RGB or RGBA, non-interlaced PNG (what cairo writes)."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError(f'{path}: not a PNG file')
    pos, idat, header = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat.append(body)
        elif kind == b'IEND':
            break
        pos += 12 + length
    if header is None:
        raise ValueError(f'{path}: no IHDR chunk')
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError(f'{path}: expected 8-bit RGB or RGBA without interlacing')
    raw = zlib.decompress(b''.join(idat))
    bpp = 4 if colour == 6 else 3
    stride = width * bpp
    out = bytearray(stride * height)
    prev = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + _paeth(a, b, c)) & 0xFF
        out[y * stride:(y + 1) * stride] = line
        prev = line
    if bpp == 3:
        rgba = bytearray(width * height * 4)
        rgba[0::4], rgba[1::4], rgba[2::4] = out[0::3], out[1::3], out[2::3]
        rgba[3::4] = b'\xff' * (width * height)
        out = rgba
    return Bitmap(width, height, out)


def _lzw(indices, min_code_size):
    """GIF flavour of LZW: variable code width, clear code first, dictionary reset at 4096."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    codes, bits, nbits = bytearray(), 0, 0
    width = min_code_size + 1

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            codes.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    emit(clear)
    run = ()
    for value in indices:
        grown = run + (value,)
        if grown in table:
            run = grown
            continue
        emit(table[run])
        # Start afresh well before the table is full, so that encoder and decoder never
        # disagree about the code width at the edge.
        if next_code < 4000:
            table[grown] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        run = (value,)
    if run:
        emit(table[run])
    emit(end)
    if nbits:
        codes.append(bits & 0xFF)
    return bytes(codes)


def write_gif(path, width, height, palette, frames, delay_cs, transparent=None):
    """Animated GIF that loops for ever. palette: 256 (r, g, b); frames: lists of indices."""
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', width, height, 0xF7, 0, 0)
    for r, g, b in palette:
        out += bytes((r, g, b))
    out += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00'
    for indices in frames:
        flags = 0x08 | (1 if transparent is not None else 0)  # restore to background
        out += struct.pack('<BBBBHBB', 0x21, 0xF9, 4, flags, delay_cs, transparent or 0, 0)
        out += struct.pack('<BHHHHB', 0x2C, 0, 0, width, height, 0)
        out.append(8)
        data = _lzw(indices, 8)
        for i in range(0, len(data), 255):
            block = data[i:i + 255]
            out.append(len(block))
            out += block
        out.append(0)
    out.append(0x3B)
    with open(path, 'wb') as f:
        f.write(out)


def write_ico(path, bitmaps):
    """ICO with one 32-bit DIB image (and its AND mask) per bitmap."""
    images = []
    for bmp in bitmaps:
        w, h = bmp.width, bmp.height
        header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        colour = bytearray()
        mask = bytearray()
        mask_stride = ((w + 31) // 32) * 4
        for y in range(h - 1, -1, -1):
            row_mask = bytearray(mask_stride)
            for x in range(w):
                r, g, b, a = bmp.pixel(x, y)
                colour += bytes((b, g, r, a))
                if a == 0:
                    row_mask[x // 8] |= 0x80 >> (x % 8)
            mask += row_mask
        images.append((w, h, header + colour + mask))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, blob in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, _, blob in images:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)
