#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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
  std::uint32_t coloursGiven = 0;  // the entries of `palette` the file gives; 0 for more than 8 bits per pixel
  std::string_view pixels;         // the rows as stored, each padded to 4 bytes; points into the file's bytes
};

// Which bitmap files are taken.
enum class BitmapRules {
  // Everything the program can draw: a core header (12 bytes) or an
  // information header (40 bytes or more); uncompressed or bit-field pixels;
  // a colour count beyond the depth is cut to the depth; the pixels may lie
  // anywhere inside the file.
  kDrawable,
  // What the builder puts into a setup: as above, but only an information
  // header, one plane, no more colours than the depth allows, a colour table
  // (also the optional one of a deeper picture) inside the file, and the
  // pixels after the headers, masks and palette.
  kStrict,
};

// Reads a bitmap file by `rules`; nothing for anything else or anything that
// does not fit in `bytes`, and then `problem` (when given) says why, e.g.
// "it does not begin with \"BM\"".
std::optional<BitmapFile> ReadBitmapFile(std::string_view bytes, BitmapRules rules = BitmapRules::kDrawable,
                                         std::string* problem = nullptr);

// The bytes of one stored row: padded to a multiple of 4.
std::size_t BitmapStride(int width, int bitsPerPixel);

}  // namespace brennick
