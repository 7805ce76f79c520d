#!/bin/sh
# The gallery starts, shows its dialog and quits by itself; its screenshot is a PNG of the
# dialog's size whose pixels are not all the same.
set -e
gallery="$1"
png="$2"
rm -f "$png"
out=$("$gallery" --screenshot "$png" --quit-after 1500)
echo "$out" | grep -q "gallery shown"
python3 - "$png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
w, h = struct.unpack(">II", data[16:24])
assert (w, h) == (600, 300), (w, h)
idat = b""
pos = 8
while pos < len(data):
    n = struct.unpack(">I", data[pos:pos + 4])[0]
    kind = data[pos + 4:pos + 8]
    if kind == b"IDAT":
        idat += data[pos + 8:pos + 8 + n]
    pos += 12 + n
raw = zlib.decompress(idat)
assert len(set(raw[1:1 + w * 4])) > 1 or len(set(raw)) > 8, "a blank picture"
PY
