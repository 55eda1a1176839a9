#!/usr/bin/env python3
"""Writes background.bmp, the background picture of the wizard example.

The picture is a sun of 128 x 128 pixels with 8 bits per pixel and a palette
of 16 colours. Palette entry 0 (magenta) lies outside the sun; the project
makes it transparent (bitmap_transparent_index = 0), so the background
gradient shows around the sun. The script uses only the standard library and
always writes the same bytes.

    python3 make_background.py            # writes background.bmp beside this script
    python3 make_background.py --check    # exit status 1 when background.bmp differs
"""

import math
import struct
import sys
from pathlib import Path

SIZE = 128
COLOURS = 16


def palette():
    """Entry 0 is the transparent key; 1 to 15 run from deep orange to pale yellow."""
    entries = [(255, 0, 255)]
    for i in range(1, COLOURS):
        t = (i - 1) / (COLOURS - 2)
        entries.append((255, round(90 + 150 * t), round(20 + 180 * t)))
    # BMP palette entries are blue, green, red, reserved.
    return b"".join(struct.pack("<4B", b, g, r, 0) for r, g, b in entries)


def index_at(x, y):
    """The palette index of pixel (x, y), y counted from the top."""
    cx = cy = (SIZE - 1) / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy) / (SIZE / 2 - 2)
    if r > 1:
        return 0
    rays = math.cos(12 * math.atan2(dy, dx))
    if r > 0.55:  # the rays: only where the cosine is high enough
        return 0 if rays < (r - 0.55) * 4 - 0.6 else 4 + round(3 * rays)
    # the disc: lighter towards the middle, with a thin ring at its edge
    if r > 0.5:
        return 2
    return max(1, min(COLOURS - 1, round(15 - 12 * r)))


def bitmap():
    rows = []
    for y in reversed(range(SIZE)):  # BMP rows run bottom-up
        rows.append(bytes(index_at(x, y) for x in range(SIZE)))
    pixels = b"".join(rows)  # 128 bytes a row: already a multiple of 4
    table = palette()
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(pixels), 2835, 2835, COLOURS, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + pixels


def main():
    target = Path(__file__).resolve().parent / "background.bmp"
    data = bitmap()
    if "--check" in sys.argv[1:]:
        if not target.exists() or target.read_bytes() != data:
            print(f"{target} is not what {Path(__file__).name} makes; run it without --check")
            return 1
        return 0
    target.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
