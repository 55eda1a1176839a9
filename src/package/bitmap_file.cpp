#include "package/bitmap_file.h"

#include <algorithm>
#include <utility>

namespace brennick {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER; the later headers extend it
// The three colour masks of bit-field pixels follow a 40-byte header and are part of every longer one.
constexpr std::size_t kMasksEnd = kFileHeaderSize + kInfoHeaderSize + 12;
constexpr std::int64_t kLargestSide = 65535;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// Little-endian fields; the caller has checked that they lie inside `bytes`.
std::uint32_t U8(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }
std::uint32_t U16(std::string_view bytes, std::size_t at) { return U8(bytes, at) | U8(bytes, at + 1) << 8; }
std::uint32_t U32(std::string_view bytes, std::size_t at) { return U16(bytes, at) | U16(bytes, at + 2) << 16; }
std::int32_t I32(std::string_view bytes, std::size_t at) { return static_cast<std::int32_t>(U32(bytes, at)); }

bool KnownDepth(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The fields of either header form that decide how the file is read.
struct Header {
  bool core = false;  // the 12-byte core header: 16-bit sizes, three-byte palette entries
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows run top-down
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t coloursUsed = 0;
  std::uint64_t paletteAt = 0;  // where the masks of bit-field pixels or the palette would begin
};

// The header that follows the file header; the caller has checked that its
// size lies inside `bytes`.
Header HeaderOf(std::string_view bytes, std::uint32_t size) {
  Header h;
  h.paletteAt = kFileHeaderSize + std::uint64_t{size};
  if (size == kCoreHeaderSize) {
    h.core = true;
    h.width = U16(bytes, 18);
    h.height = U16(bytes, 20);
    h.planes = U16(bytes, 22);
    h.bits = U16(bytes, 24);
  } else {
    h.width = I32(bytes, 18);
    h.height = I32(bytes, 22);
    h.planes = U16(bytes, 26);
    h.bits = U16(bytes, 28);
    h.compression = U32(bytes, 30);
    h.coloursUsed = U32(bytes, 46);
  }
  return h;
}

// Why the depth, compression or size of a picture cannot be drawn; empty when they can.
std::string DrawableShape(const Header& h, bool strict) {
  if (h.width <= 0) return "its width is " + std::to_string(h.width) + "; it must be positive";
  if (h.height == 0) return "its height is 0";
  if (strict && h.planes != 1) return "it has " + std::to_string(h.planes) + " planes; it must have 1";
  if (!KnownDepth(h.bits)) return std::to_string(h.bits) + " bits per pixel; expected 1, 4, 8, 16, 24 or 32";
  if (h.core && h.bits > 8 && h.bits != 24) {
    return std::to_string(h.bits) + " bits per pixel in a core header; expected 1, 4, 8 or 24";
  }
  switch (h.compression) {
    case kRgb:
      break;
    case kBitFields:
      if (h.bits != 16 && h.bits != 32) return "bit-field pixels need 16 or 32 bits per pixel";
      break;
    case kRle8:
    case kRle4:
      return std::string(h.compression == kRle8 ? "RLE8" : "RLE4") +
             " compressed; the installer draws only uncompressed or bit-field pixels";
    default:
      return "compression " + std::to_string(h.compression) +
             " (JPEG, PNG or unknown); the installer draws only uncompressed or bit-field pixels";
  }
  if (h.width > kLargestSide || h.height > kLargestSide || h.height < -kLargestSide) {
    return std::to_string(h.width) + " x " + std::to_string(h.height) + " pixels; the installer draws at most " +
           std::to_string(kLargestSide) + " on a side";
  }
  return {};
}

}  // namespace

std::size_t BitmapStride(int width, int bitsPerPixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::optional<BitmapFile> ReadBitmapFile(std::string_view bytes, BitmapRules rules, std::string* problem) {
  const bool strict = rules == BitmapRules::kStrict;
  auto refuse = [problem](std::string why) -> std::optional<BitmapFile> {
    if (problem != nullptr) *problem = std::move(why);
    return std::nullopt;
  };
  if (problem != nullptr) problem->clear();
  if (bytes.empty()) return refuse("the file is empty");
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return refuse("it does not begin with \"BM\"");
  if (bytes.size() < kFileHeaderSize + 4) return refuse("the file ends inside its header");
  const std::uint32_t pixelOffset = U32(bytes, 10);
  const std::uint32_t headerSize = U32(bytes, kFileHeaderSize);
  if (strict && headerSize < kInfoHeaderSize) {
    return refuse("its header has " + std::to_string(headerSize) +
                  " bytes; the installer needs a BITMAPINFOHEADER (40 bytes or more)");
  }
  if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) {
    return refuse("its header has " + std::to_string(headerSize) +
                  " bytes; the installer reads a BITMAPCOREHEADER (12 bytes) or a BITMAPINFOHEADER (40 bytes or more)");
  }
  if (headerSize > bytes.size() - kFileHeaderSize) return refuse("the file ends inside its header");

  const Header h = HeaderOf(bytes, headerSize);
  if (std::string why = DrawableShape(h, strict); !why.empty()) return refuse(std::move(why));
  BitmapFile file;
  file.width = static_cast<int>(h.width);
  file.height = static_cast<int>(h.height < 0 ? -h.height : h.height);
  file.topDown = h.height < 0;
  file.bitsPerPixel = static_cast<int>(h.bits);

  const char* const cutPalette = "the file ends inside its palette or colour masks";
  std::uint64_t paletteAt = h.paletteAt;
  if (h.compression == kBitFields) {
    if (bytes.size() < kMasksEnd) return refuse(cutPalette);
    file.bitFields = true;
    for (std::size_t i = 0; i < 3; ++i) file.masks[i] = U32(bytes, kFileHeaderSize + kInfoHeaderSize + 4 * i);
    paletteAt = std::max<std::uint64_t>(paletteAt, kMasksEnd);
  }
  // The palette of a picture of at most 8 bits per pixel; the strict rules
  // also want the optional colour table of a deeper one inside the file.
  std::uint64_t given = 0;
  if (h.bits <= 8) {
    const std::uint32_t most = 1u << h.bits;
    if (strict && h.coloursUsed > most) {
      return refuse("its palette has " + std::to_string(h.coloursUsed) + " colours; " + std::to_string(h.bits) +
                    " bits per pixel allow " + std::to_string(most));
    }
    given = h.coloursUsed == 0 ? most : std::min(h.coloursUsed, most);
  } else if (strict) {
    given = h.coloursUsed;
  }
  const std::size_t entrySize = h.core ? 3 : 4;
  const std::uint64_t paletteEnd = paletteAt + given * entrySize;
  if (paletteEnd > bytes.size()) return refuse(cutPalette);
  if (h.bits <= 8) {
    file.palette.assign(std::size_t{1} << h.bits, 0);
    file.coloursGiven = static_cast<std::uint32_t>(given);
    for (std::size_t i = 0; i < given; ++i) {
      const std::size_t at = static_cast<std::size_t>(paletteAt) + i * entrySize;
      file.palette[i] = U8(bytes, at) | U8(bytes, at + 1) << 8 | U8(bytes, at + 2) << 16;
    }
  }

  if (pixelOffset > bytes.size() || (strict && pixelOffset < paletteEnd)) {
    return refuse("its pixel data offset " + std::to_string(pixelOffset) +
                  " lies outside the file or inside the header");
  }
  // In 64 bits: the largest picture has more bytes than a 32-bit size holds.
  const std::uint64_t imageSize =
      std::uint64_t{BitmapStride(file.width, file.bitsPerPixel)} * static_cast<std::uint64_t>(file.height);
  if (imageSize > bytes.size() - pixelOffset) {
    return refuse("its pixel data needs " + std::to_string(imageSize) + " bytes from offset " +
                  std::to_string(pixelOffset) + ", but the file has " + std::to_string(bytes.size()));
  }
  file.pixels = bytes.substr(pixelOffset, static_cast<std::size_t>(imageSize));
  return file;
}

}  // namespace brennick
