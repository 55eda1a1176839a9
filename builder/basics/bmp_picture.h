#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brennick::build {

// What the installer needs to know of a background picture.
struct BmpFacts {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows run top-down
  std::uint16_t bitCount = 0;
  std::uint32_t paletteEntries = 0;  // colours in the palette of a picture of at most 8 bits per pixel, else 0
};

// The result of looking at a file that should be a Windows BMP picture.
struct BmpCheck {
  std::optional<BmpFacts> facts;  // present when the installer can draw the picture
  std::string problem;            // otherwise why not, e.g. "it does not begin with \"BM\""
};

// Checks that `file` is a BMP picture the installer can draw, by the strict
// rules of the program's own reader (package/bitmap_file.h): "BM", a
// BITMAPINFOHEADER (or a larger header of that family) with a positive width,
// a non-zero height, at most 65535 pixels on a side, one plane, 1, 4, 8, 16,
// 24 or 32 bits per pixel, uncompressed or bit-field pixels (the installer
// draws no run-length compressed ones), and a palette and pixel data that lie
// inside the file.
BmpCheck CheckBmp(std::string_view file);

}  // namespace brennick::build
