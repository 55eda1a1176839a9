#include "ui/bitmap_file.h"

#include <algorithm>
#include <cstdlib>

namespace brennick {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kMasksEnd = kFileHeaderSize + kInfoHeaderSize + 12;
constexpr std::int64_t kLargestSide = 65535;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
constexpr std::uint32_t kBitFields = 3;     // BI_BITFIELDS

// Little-endian fields; the caller has checked that they lie inside `bytes`.
std::uint32_t U8(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }
std::uint32_t U16(std::string_view bytes, std::size_t at) { return U8(bytes, at) | U8(bytes, at + 1) << 8; }
std::uint32_t U32(std::string_view bytes, std::size_t at) { return U16(bytes, at) | U16(bytes, at + 2) << 16; }
std::int32_t I32(std::string_view bytes, std::size_t at) { return static_cast<std::int32_t>(U32(bytes, at)); }

bool KnownDepth(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

std::size_t BitmapStride(int width, int bitsPerPixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::optional<BitmapFile> ReadBitmapFile(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t pixelOffset = U32(bytes, 10);
  const std::uint32_t headerSize = U32(bytes, kFileHeaderSize);
  if (headerSize > bytes.size() - kFileHeaderSize) return std::nullopt;

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = kUncompressed;
  std::uint32_t coloursUsed = 0;
  std::size_t paletteAt = kFileHeaderSize + headerSize;
  std::size_t entrySize = 4;
  BitmapFile file;
  if (headerSize == kCoreHeaderSize) {
    width = U16(bytes, 18);
    height = U16(bytes, 20);
    bits = U16(bytes, 24);
    entrySize = 3;
    if (bits > 8 && bits != 24) return std::nullopt;
  } else if (headerSize >= kInfoHeaderSize) {
    width = I32(bytes, 18);
    height = I32(bytes, 22);
    bits = U16(bytes, 28);
    compression = U32(bytes, 30);
    coloursUsed = U32(bytes, 46);
    if (compression == kBitFields) {
      // The masks follow a 40-byte header and are part of every longer one.
      if (bytes.size() < kMasksEnd || (bits != 16 && bits != 32)) return std::nullopt;
      file.bitFields = true;
      for (std::size_t i = 0; i < 3; ++i) file.masks[i] = U32(bytes, kFileHeaderSize + kInfoHeaderSize + 4 * i);
      if (headerSize == kInfoHeaderSize) paletteAt += 12;
    } else if (compression != kUncompressed) {
      return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
  if (!KnownDepth(bits)) return std::nullopt;
  file.topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height == 0 || width > kLargestSide || height > kLargestSide) return std::nullopt;
  file.width = static_cast<int>(width);
  file.height = static_cast<int>(height);
  file.bitsPerPixel = static_cast<int>(bits);

  if (bits <= 8) {
    const std::uint32_t entries = 1u << bits;
    const std::uint32_t given = coloursUsed == 0 ? entries : std::min(coloursUsed, entries);
    if (paletteAt > bytes.size() || given * entrySize > bytes.size() - paletteAt) return std::nullopt;
    file.palette.assign(entries, 0);
    for (std::uint32_t i = 0; i < given; ++i) {
      const std::size_t at = paletteAt + i * entrySize;
      file.palette[i] = U8(bytes, at) | U8(bytes, at + 1) << 8 | U8(bytes, at + 2) << 16;
    }
  }

  const std::size_t imageSize = BitmapStride(file.width, file.bitsPerPixel) * static_cast<std::size_t>(file.height);
  if (pixelOffset > bytes.size() || imageSize > bytes.size() - pixelOffset) return std::nullopt;
  file.pixels = bytes.substr(pixelOffset, imageSize);
  return file;
}

}  // namespace brennick
