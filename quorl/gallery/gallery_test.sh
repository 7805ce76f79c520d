#!/bin/sh
# The gallery starts and shows its dialog on the X screen: the virtual server's frame buffer
# (an XWD file it keeps up to date) holds the dialog's border, fill, buttons and message box
# where the gallery says it is, and the window carries the program icon at 32 and 16 pixels.
# The dialog's part of the screen is written to the PNG given.
#   gallery_test.sh GALLERY PNG FRAMEBUFFER
set -e
gallery="$1"
png="$2"
framebuffer="$3"
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
rm -f "$png"
"$gallery" --quit-after 8000 >"$work/out" 2>"$work/err" &
pid=$!
tries=0
until grep -q "gallery shown" "$work/out"; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { cat "$work/err"; echo "the gallery did not start"; exit 1; }
    sleep 0.1
done
geometry=$(sed -n 's/^gallery shown at //p' "$work/out")

# The icon list as the desktop reads it: width, height, then the pixels, per icon.
xprop -name "Quorl gallery" -notype -f _NET_WM_ICON 32c ' = $0+\n' _NET_WM_ICON >"$work/icon"

python3 - "$work" "$png" "$geometry" "$framebuffer" <<'PY'
import struct, sys, time, zlib

work, png, geometry, framebuffer = sys.argv[1:5]
pos, size = geometry.split(" ")
left, top = map(int, pos.split(","))
width, height = map(int, size.split("x"))

values = open(work + "/icon").read().split("=", 1)[1].replace("\n", " ").split(",")
values = [int(v) for v in values if v.strip()]
sizes = []
while values:
    w, h = values[0], values[1]
    sizes.append((w, h))
    values = values[2 + w * h:]
assert sorted(sizes) == [(16, 16), (32, 32)], sizes

def screen():
    data = open(framebuffer, "rb").read()
    header = struct.unpack(">25I", data[:100])
    header_size, fmt = header[0], header[2]
    byte_order, bpp, stride, ncolours = header[7], header[11], header[12], header[19]
    assert fmt == 2 and bpp in (24, 32), (fmt, bpp)  # ZPixmap, true colour
    pixels = data[header_size + 12 * ncolours:]
    step = bpp // 8
    def rgb(x, y):
        p = pixels[y * stride + step * x: y * stride + step * x + step]
        v = int.from_bytes(p, "little" if byte_order == 0 else "big")
        return (v >> 16) & 255, (v >> 8) & 255, v & 255
    return rgb

# Points of the dialog (client = window: it has no frame) and the colours the gallery draws.
expected = {
    "border": ((0, height // 2), (0x3A, 0x4A, 0x5A)),
    "fill": ((240, height - 20), (0x10, 0x1B, 0x2A)),
    "first button": ((35, 34), (0x24, 0x43, 0x5F)),
    "message box": ((265, 35), (0x14, 0x14, 0x14)),
}
deadline = time.time() + 10
while True:
    rgb = screen()
    # Off by a little at most: the background is drawn with alpha 254.
    wrong = {name: rgb(left + x, top + y) for name, ((x, y), colour) in expected.items()
             if max(abs(a - b) for a, b in zip(rgb(left + x, top + y), colour)) > 2}
    if not wrong:
        break
    if time.time() > deadline:
        sys.exit(f"the screen does not show the dialog at {geometry}: {wrong}")
    time.sleep(0.2)

# The dialog's part of the screen, for people to look at.
rows = b""
for y in range(top, top + height):
    rows += b"\0" + b"".join(bytes(rgb(x, y)) for x in range(left, left + width))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
with open(png, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
PY
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
