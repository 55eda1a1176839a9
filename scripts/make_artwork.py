#!/usr/bin/env python3
"""Draws the program's own pictures and writes them as Windows bitmaps.

    python3 scripts/make_artwork.py OUTPUT_FOLDER

Writes six files, the same bytes on every run:

    side_picture.bmp  the picture column of the pages (94 x 188 dialog units)
    banner.bmp        the banner across the top of the pages (280 x 26 units)
    accept.bmp        10 x 10 button pictures: a green check mark,
    cancel.bmp        a red cross,
    browse.bmp        a yellow folder,
    retry.bmp         a blue circular arrow

The two page pictures are drawn at about twice the size their controls have
at 96 DPI, so that they stay sharp when the program scales them down on
screens of higher DPI; they are 8-bit palette bitmaps compressed with RLE8.
The button pictures are 4-bit; the grey RGB(192, 192, 192) of their corners
is the colour that Windows replaces with the button face colour when the
program loads them (LR_LOADTRANSPARENT with LR_LOADMAP3DCOLORS).

Python's standard library only."""

import math
import struct
import sys
from pathlib import Path

# The picture sizes in pixels.
SIDE_SIZE = (340, 720)
BANNER_SIZE = (1000, 96)

# The page pictures' colours: a deep blue at the top turning teal below.
DEEP_BLUE = (18, 52, 112)
TEAL = (22, 132, 140)
WHITE = (255, 255, 255)


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


# ---------------------------------------------------------------- writing


def _file_and_info_header(width, height, bits, compression, palette, image_size):
    """The BITMAPFILEHEADER and BITMAPINFOHEADER with the colour table."""
    table = b"".join(struct.pack("<BBBx", b, g, r) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size, 2835, 2835, len(palette), 0)
    return file_header + info + table


def _rle8_row(row):
    """One row in RLE8: runs of one index as (count, index); stretches of
    short runs in absolute mode (0, count, indices, padded to an even
    length); ends without the end-of-line mark."""
    out = bytearray()
    literal = bytearray()

    def flush_literal():
        while literal:
            part = literal[:255]
            del literal[:255]
            if len(part) < 3:
                # Absolute mode needs three or more; shorter parts go as runs of one.
                for value in part:
                    out.extend((1, value))
            else:
                out.extend((0, len(part)))
                out.extend(part)
                if len(part) % 2:
                    out.append(0)

    x = 0
    while x < len(row):
        end = x
        while end < len(row) and row[end] == row[x] and end - x < 255:
            end += 1
        if end - x >= 3:
            flush_literal()
            out.extend((end - x, row[x]))
        else:
            literal.extend(row[x:end])
        x = end
    flush_literal()
    return out


def write_rle8(path, width, height, palette, pixels):
    """An 8-bit RLE8 bitmap; pixels[y][x] are palette indices, top row first."""
    data = bytearray()
    for y in range(height - 1, -1, -1):
        data += _rle8_row(pixels[y])
        data += b"\x00\x01" if y == 0 else b"\x00\x00"
    path.write_bytes(_file_and_info_header(width, height, 8, 1, palette, len(data)) + data)


def write_4bit(path, width, height, palette, pixels):
    """An uncompressed 4-bit bitmap (palette of at most 16 colours)."""
    stride = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x, index in enumerate(pixels[y]):
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += row
    palette = list(palette) + [(0, 0, 0)] * (16 - len(palette))
    path.write_bytes(_file_and_info_header(width, height, 4, 0, palette, len(data)) + data)


# ---------------------------------------------------------- page pictures


class Circle:
    """A disc, or a ring when inner > 0; sizes relative to the picture width."""

    def __init__(self, cx, cy, radius, inner=0.0):
        self.cx, self.cy, self.radius, self.inner = cx, cy, radius, inner

    def covers(self, x, y, width, height):
        d = math.hypot(x + 0.5 - self.cx * width, y + 0.5 - self.cy * width)
        return self.inner * width <= d <= self.radius * width


def layered_picture(width, height, steps, levels, step_of, shapes):
    """Indices for a picture of `steps` background colours (step_of(x, y))
    under `levels` shades of overlay: a pixel's shade is the number of shapes
    that cover it, at most levels - 1. Palette index = step * levels + shade."""
    pixels = []
    for y in range(height):
        row = bytearray(width)
        for x in range(width):
            shade = min(levels - 1, sum(1 for s in shapes if s.covers(x, y, width, height)))
            row[x] = step_of(x, y) * levels + shade
        pixels.append(row)
    return pixels


def side_picture():
    """Deep blue to teal, top to bottom, with pale overlapping circles."""
    width, height = SIDE_SIZE
    steps, levels = 50, 5

    def background(step):
        return mix(DEEP_BLUE, TEAL, step / (steps - 1))

    palette = [mix(background(s), WHITE, 0.075 * shade) for s in range(steps) for shade in range(levels)]
    shapes = [
        Circle(0.10, 1.62, 0.62),
        Circle(0.95, 1.35, 0.38),
        Circle(0.50, 0.62, 0.34, inner=0.29),
        Circle(0.50, 0.62, 0.17),
        Circle(0.78, 0.22, 0.08),
        Circle(0.18, 0.95, 0.05),
    ]
    pixels = layered_picture(width, height, steps, levels, lambda x, y: y * steps // height, shapes)
    return width, height, palette, pixels


def banner():
    """Light, nearly white where the heading lines stand; on the left, circles
    in the colours of the side picture; a thin teal line along the foot."""
    width, height = BANNER_SIZE
    steps, levels = 24, 5
    light_top, light_foot = (255, 255, 255), (228, 240, 243)
    shades = [0.0, 0.22, 0.42, 0.62, 0.8]

    def background(step):
        return mix(light_top, light_foot, step / (steps - 1))

    def overlay(shade):
        return mix(TEAL, DEEP_BLUE, shade / (levels - 1))

    palette = [mix(background(s), overlay(shade), shades[shade]) for s in range(steps) for shade in range(levels)]
    palette.append(TEAL)  # the line along the foot
    shapes = [
        Circle(0.075, 0.06, 0.095),
        Circle(0.165, 0.085, 0.06),
        Circle(0.12, 0.01, 0.05, inner=0.04),
        Circle(0.225, 0.03, 0.03),
        Circle(0.02, 0.1, 0.04),
    ]
    line_rows = 3
    pixels = layered_picture(width, height, steps, levels, lambda x, y: y * steps // height, shapes)
    for y in range(height - line_rows, height):
        pixels[y] = bytearray([len(palette) - 1] * width)
    return width, height, palette, pixels


# -------------------------------------------------------- button pictures

BUTTON_FACE = (192, 192, 192)

# 10 x 10 drawings: "." is the button face, other letters the colours given.
CHECK_MARK = (
    {"G": (0, 160, 40), "g": (0, 100, 20)},
    """
    ..........
    ........G.
    .......GGg
    ......GGg.
    .G...GGg..
    GGG.GGg...
    .GGGGg....
    ..GGg.....
    ...g......
    ..........
    """,
)

CROSS = (
    {"R": (208, 32, 32), "r": (150, 0, 0)},
    """
    ..........
    .RR....RR.
    .RRR..RRr.
    ..RRRRRr..
    ...RRRr...
    ...RRRR...
    ..RRrRRR..
    .RRr..RRR.
    .Rr....Rr.
    ..........
    """,
)

FOLDER = (
    {"o": (150, 104, 0), "l": (255, 236, 140), "Y": (240, 196, 40)},
    """
    ..........
    .oooo.....
    ollllooooo
    oYYYYYYYYo
    oYYYYYYYYo
    oYYYYYYYYo
    oYYYYYYYYo
    oYYYYYYYYo
    oooooooooo
    ..........
    """,
)

RETRY_ARROW = (
    {"B": (24, 96, 208), "b": (0, 56, 150)},
    """
    ....B.....
    ..BBBB....
    .BB.BBB...
    BB..BB....
    BB..B.....
    BB......BB
    bB......Bb
    .bB....Bb.
    ..bBBBBb..
    ...bbbb...
    """,
)


BUTTON_PICTURES = {
    "accept.bmp": CHECK_MARK,
    "cancel.bmp": CROSS,
    "browse.bmp": FOLDER,
    "retry.bmp": RETRY_ARROW,
}


def button_picture(drawing):
    colours, art = drawing
    rows = [line.strip() for line in art.strip().splitlines()]
    assert len(rows) == 10 and all(len(r) == 10 for r in rows), "button pictures are 10 x 10"
    palette = [BUTTON_FACE] + [colours[k] for k in sorted(colours)]
    index = {".": 0, **{k: i + 1 for i, k in enumerate(sorted(colours))}}
    assert rows[0][0] == "." and rows[9][0] == ".", "the corners show the button face"
    return 10, 10, palette, [bytearray(index[c] for c in row) for row in rows]


# ------------------------------------------------------------------ main


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    folder = Path(argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    written = [folder / "side_picture.bmp", folder / "banner.bmp"]
    write_rle8(written[0], *side_picture())
    write_rle8(written[1], *banner())
    for name, drawing in BUTTON_PICTURES.items():
        written.append(folder / name)
        write_4bit(written[-1], *button_picture(drawing))
    print(f"{len(written)} pictures in {folder}, {sum(p.stat().st_size for p in written)} bytes")


if __name__ == "__main__":
    main(sys.argv)
