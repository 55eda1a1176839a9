"""Tests of make_artwork.py: the bitmaps it writes read back, with a reader
of its own, as the pictures it drew.

    cd scripts && python3 -m unittest -v test_make_artwork"""

import struct
import tempfile
import unittest
from pathlib import Path

import make_artwork


def read_bmp(path):
    """(width, height, bits, compression, palette, pixels top row first) of
    a bottom-up 4-bit or 8-bit bitmap, uncompressed or RLE8."""
    data = Path(path).read_bytes()
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM" and file_size == len(data), "file header"
    size, width, height, planes, bits, compression, image_size, _, _, used, _ = struct.unpack_from(
        "<IiiHHIIiiII", data, 14
    )
    assert size == 40 and planes == 1 and height > 0, "info header"
    colours = used or (1 << bits)
    palette = [(r, g, b) for b, g, r, _ in struct.iter_unpack("<BBBB", data[54 : 54 + 4 * colours])]
    assert offset == 54 + 4 * colours and offset + image_size == len(data), "offsets"
    bits_data = data[offset:]
    rows = [bytearray(width) for _ in range(height)]  # bottom row first
    if compression == 0:
        stride = ((width * bits + 31) // 32) * 4
        for y in range(height):
            line = bits_data[y * stride : (y + 1) * stride]
            for x in range(width):
                if bits == 8:
                    rows[y][x] = line[x]
                else:
                    rows[y][x] = (line[x // 2] >> (4 if x % 2 == 0 else 0)) & 15
    else:
        assert compression == 1 and bits == 8, "only RLE8 is compressed"
        x = y = i = 0
        while True:
            count, value = bits_data[i], bits_data[i + 1]
            i += 2
            if count:
                rows[y][x : x + count] = bytes([value]) * count
                x += count
            elif value == 0:  # end of line
                assert x == width, f"row {y} holds {x} pixels"
                x, y = 0, y + 1
            elif value == 1:  # end of bitmap
                assert x == width and y == height - 1, "ends after the last row"
                break
            elif value == 2:
                raise AssertionError("the writer uses no delta")
            else:  # absolute run, padded to a whole word
                rows[y][x : x + value] = bits_data[i : i + value]
                x += value
                i += value + (value % 2)
            assert x <= width, f"row {y} overflows"
        assert i == len(bits_data), "nothing after the end of the bitmap"
    return width, height, bits, compression, palette, rows[::-1]


class Rle8Test(unittest.TestCase):
    def test_rows_read_back_as_written(self):
        rows = {
            "one long run over the 255 limit": [7] * 600,
            "all pixels different": list(range(200)),
            "short runs that go as absolute runs of odd and even length": [1, 1, 2, 3, 3, 4, 5, 5, 5, 6],
            "runs of one and two between long runs": [9] * 5 + [1] + [9] * 4 + [2, 2] + [9] * 3,
            "absolute run of exactly three": [1, 2, 3],
            "a lone pixel": [4],
            "two pixels": [4, 5],
            "a long stretch of short runs over 255": [i % 2 for i in range(700)],
        }
        palette = [(i, i, i) for i in range(256)]
        with tempfile.TemporaryDirectory() as folder:
            for name, row in rows.items():
                with self.subTest(name):
                    path = Path(folder) / "row.bmp"
                    pixels = [bytearray(row), bytearray(reversed(row))]
                    make_artwork.write_rle8(path, len(row), 2, palette, pixels)
                    self.assertEqual(read_bmp(path)[5], pixels)


class ArtworkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        make_artwork.main(["make_artwork.py", cls.folder.name])

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def picture(self, name):
        return read_bmp(Path(self.folder.name) / name)

    def test_page_pictures_read_back_as_drawn(self):
        for name, draw in (("side_picture.bmp", make_artwork.side_picture), ("banner.bmp", make_artwork.banner)):
            with self.subTest(name):
                width, height, palette, pixels = draw()
                self.assertEqual(self.picture(name), (width, height, 8, 1, palette, pixels))
                self.assertLessEqual(len(palette), 256)

    def test_button_pictures_are_10_by_10_on_the_grey_key(self):
        for name in make_artwork.BUTTON_PICTURES:
            with self.subTest(name):
                width, height, bits, compression, palette, pixels = self.picture(name)
                self.assertEqual((width, height, bits, compression), (10, 10, 4, 0))
                corners = {palette[pixels[y][x]] for y in (0, 9) for x in (0, 9)}
                self.assertEqual(corners, {(192, 192, 192)})
                drawn = {palette[v] for row in pixels for v in row} - {(192, 192, 192)}
                self.assertTrue(drawn, "a drawing on the key colour")

    def test_same_bytes_on_every_run(self):
        with tempfile.TemporaryDirectory() as again:
            make_artwork.main(["make_artwork.py", again])
            for path in sorted(Path(self.folder.name).iterdir()):
                with self.subTest(path.name):
                    self.assertEqual(path.read_bytes(), (Path(again) / path.name).read_bytes())


if __name__ == "__main__":
    unittest.main()
