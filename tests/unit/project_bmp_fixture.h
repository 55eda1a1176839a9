#pragma once

// Small BMP files for the builder's tests: a consistent picture by default,
// and any header field set to what a test wants to see refused.

#include <algorithm>
#include <cstdint>
#include <string>

namespace brennick::testing {

struct BmpFields {
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

inline std::string MakeBmp(const BmpFields& fields) {
  std::string palette;
  std::uint32_t entries = fields.coloursUsed;
  if (entries == 0 && fields.bitCount <= 8) entries = 1u << fields.bitCount;
  for (std::uint32_t i = 0; i < entries; ++i) PutLe(palette, 0x00010101u * (i & 0xFF), 4);
  if (fields.compression == 3 && fields.headerSize == 40) {
    std::string masks;
    PutLe(masks, 0xF800, 4), PutLe(masks, 0x07E0, 4), PutLe(masks, 0x001F, 4);
    palette = masks + palette;
  }
  std::string pixels;
  if (fields.compression == 1 || fields.compression == 2) {
    pixels.assign(fields.imageSize, '\0');
  } else {
    const std::uint64_t row = (std::uint64_t(fields.width > 0 ? fields.width : 0) * fields.bitCount + 31) / 32 * 4;
    const std::int64_t rows = fields.height < 0 ? -std::int64_t{fields.height} : fields.height;
    for (std::uint64_t i = 0; i < row * rows; ++i) pixels += static_cast<char>(i % 7);
  }
  const std::uint64_t offset = fields.pixelOffset >= 0 ? std::uint64_t(fields.pixelOffset)
                                                     : 14 + std::uint64_t{fields.headerSize} + palette.size() + fields.gap;

  std::string header;
  PutLe(header, fields.headerSize, 4);
  PutLe(header, static_cast<std::uint32_t>(fields.width), 4);
  PutLe(header, static_cast<std::uint32_t>(fields.height), 4);
  PutLe(header, fields.planes, 2);
  PutLe(header, fields.bitCount, 2);
  PutLe(header, fields.compression, 4);
  PutLe(header, fields.imageSize, 4);
  PutLe(header, 2835, 4), PutLe(header, 2835, 4);
  PutLe(header, fields.coloursUsed, 4);
  PutLe(header, 0, 4);
  if (header.size() < fields.headerSize) header.resize(fields.headerSize, '\0');

  std::string file = fields.magic;
  palette.append(fields.gap, '\0');
  const std::uint64_t total = 14 + header.size() + palette.size() + pixels.size();
  PutLe(file, total, 4);
  PutLe(file, 0, 4);
  PutLe(file, offset, 4);
  file += header + palette + pixels;
  file.resize(file.size() - std::min(fields.cutShort, file.size()));
  return file;
}

}  // namespace brennick::testing
