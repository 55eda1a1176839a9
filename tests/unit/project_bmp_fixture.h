#pragma once

// Small BMP files for the builder's tests: a consistent picture by default,
// and any header field set to what a test wants to see refused.

#include <algorithm>
#include <cstdint>
#include <string>

namespace brennick::testing {

struct BmpSpec {
  std::int32_t width = 3;
  std::int32_t height = 2;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
  std::uint32_t coloursUsed = 0;  // 0: a full palette for 8 bits or fewer
  std::uint32_t headerSize = 40;
  std::uint32_t imageSize = 0;    // written as is; a run-length picture gets this many pixel bytes
  std::size_t gap = 0;            // zero bytes between the palette and the pixels
  std::int64_t pixelOffset = -1;  // -1: after the palette and the gap
  std::size_t cutShort = 0;       // bytes taken off the end
  std::string magic = "BM";
};

inline void PutLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string MakeBmp(const BmpSpec& spec) {
  std::string palette;
  std::uint32_t entries = spec.coloursUsed;
  if (entries == 0 && spec.bitCount <= 8) entries = 1u << spec.bitCount;
  for (std::uint32_t i = 0; i < entries; ++i) PutLe(palette, 0x00010101u * (i & 0xFF), 4);
  if (spec.compression == 3 && spec.headerSize == 40) {
    std::string masks;
    PutLe(masks, 0xF800, 4), PutLe(masks, 0x07E0, 4), PutLe(masks, 0x001F, 4);
    palette = masks + palette;
  }
  std::string pixels;
  if (spec.compression == 1 || spec.compression == 2) {
    pixels.assign(spec.imageSize, '\0');
  } else {
    const std::uint64_t row = (std::uint64_t(spec.width > 0 ? spec.width : 0) * spec.bitCount + 31) / 32 * 4;
    const std::int64_t rows = spec.height < 0 ? -std::int64_t{spec.height} : spec.height;
    for (std::uint64_t i = 0; i < row * rows; ++i) pixels += static_cast<char>(i % 7);
  }
  const std::uint64_t offset = spec.pixelOffset >= 0 ? std::uint64_t(spec.pixelOffset)
                                                     : 14 + std::uint64_t{spec.headerSize} + palette.size() + spec.gap;

  std::string header;
  PutLe(header, spec.headerSize, 4);
  PutLe(header, static_cast<std::uint32_t>(spec.width), 4);
  PutLe(header, static_cast<std::uint32_t>(spec.height), 4);
  PutLe(header, spec.planes, 2);
  PutLe(header, spec.bitCount, 2);
  PutLe(header, spec.compression, 4);
  PutLe(header, spec.imageSize, 4);
  PutLe(header, 2835, 4), PutLe(header, 2835, 4);
  PutLe(header, spec.coloursUsed, 4);
  PutLe(header, 0, 4);
  if (header.size() < spec.headerSize) header.resize(spec.headerSize, '\0');

  std::string file = spec.magic;
  palette.append(spec.gap, '\0');
  const std::uint64_t total = 14 + header.size() + palette.size() + pixels.size();
  PutLe(file, total, 4);
  PutLe(file, 0, 4);
  PutLe(file, offset, 4);
  file += header + palette + pixels;
  file.resize(file.size() - std::min(spec.cutShort, file.size()));
  return file;
}

}  // namespace brennick::testing
