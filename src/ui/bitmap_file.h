#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace brennick {

// An uncompressed Windows bitmap file, checked to be drawable. The bytes may
// come from a file that someone else could have written (the uninstaller
// reads the background bitmap from the installation folder), so every size
// and offset is checked against the bytes before anything is taken from them.
struct BitmapFile {
  int width = 0;                         // positive
  int height = 0;                        // number of rows, positive
  bool topDown = false;                  // the first stored row is the top one
  int bitsPerPixel = 0;                  // 1, 4, 8, 16, 24 or 32
  bool bitFields = false;                // 16 or 32 bits with the three colour masks below
  std::array<std::uint32_t, 3> masks{};  // red, green, blue
  // For 1 to 8 bits per pixel: 1 << bitsPerPixel entries in RGBQUAD order
  // (blue in the low byte, the fourth byte 0); entries the file does not
  // give are black. Empty for more bits per pixel.
  std::vector<std::uint32_t> palette;
  std::string_view pixels;  // the rows as stored, each padded to 4 bytes; points into the file's bytes
};

// Reads a bitmap file (a core or an information header of 40 bytes or more,
// no compression or bit fields); nothing for anything else or anything that
// does not fit in `bytes`.
std::optional<BitmapFile> ReadBitmapFile(std::string_view bytes);

// The bytes of one stored row: padded to a multiple of 4.
std::size_t BitmapStride(int width, int bitsPerPixel);

}  // namespace brennick
