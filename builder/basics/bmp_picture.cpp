#include "builder/basics/bmp_picture.h"

#include <utility>

namespace brennick::build {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER; the later headers extend it

constexpr std::int32_t kLargestSide = 65535;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint16_t U16At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

BmpCheck Refuse(std::string problem) { return {std::nullopt, std::move(problem)}; }

}  // namespace

BmpCheck CheckBmp(std::string_view file) {
  if (file.empty()) return Refuse("the file is empty");
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return Refuse("it does not begin with \"BM\"");
  if (file.size() < kFileHeaderSize + 4) return Refuse("the file ends inside its header");
  const std::uint64_t pixelOffset = U32At(file, 10);
  const std::uint32_t headerSize = U32At(file, kFileHeaderSize);
  if (headerSize < kInfoHeaderSize) {
    return Refuse("its header has " + std::to_string(headerSize) +
                  " bytes; the installer needs a BITMAPINFOHEADER (40 bytes or more)");
  }
  if (kFileHeaderSize + std::uint64_t{headerSize} > file.size()) return Refuse("the file ends inside its header");

  const std::size_t info = kFileHeaderSize;
  BmpFacts facts;
  facts.width = static_cast<std::int32_t>(U32At(file, info + 4));
  facts.height = static_cast<std::int32_t>(U32At(file, info + 8));
  const std::uint16_t planes = U16At(file, info + 12);
  facts.bitCount = U16At(file, info + 14);
  const std::uint32_t compression = U32At(file, info + 16);
  const std::uint32_t coloursUsed = U32At(file, info + 32);

  if (facts.width <= 0) return Refuse("its width is " + std::to_string(facts.width) + "; it must be positive");
  if (facts.height == 0) return Refuse("its height is 0");
  if (planes != 1) return Refuse("it has " + std::to_string(planes) + " planes; it must have 1");
  const std::uint16_t bits = facts.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return Refuse(std::to_string(bits) + " bits per pixel; expected 1, 4, 8, 16, 24 or 32");
  }
  switch (compression) {
    case kRgb:
      break;
    case kBitFields:
      if (bits != 16 && bits != 32) return Refuse("bit-field pixels need 16 or 32 bits per pixel");
      break;
    case kRle8:
    case kRle4:
      return Refuse(std::string(compression == kRle8 ? "RLE8" : "RLE4") +
                    " compressed; the installer draws only uncompressed or bit-field pixels");
    default:
      return Refuse("compression " + std::to_string(compression) +
                    " (JPEG, PNG or unknown); the installer draws only uncompressed or bit-field pixels");
  }
  if (facts.width > kLargestSide || facts.height > kLargestSide || facts.height < -kLargestSide) {
    return Refuse(std::to_string(facts.width) + " x " + std::to_string(facts.height) +
                  " pixels; the installer draws at most " + std::to_string(kLargestSide) + " on a side");
  }

  // After the header: the three colour masks of a bit-field picture whose
  // header does not hold them, then the palette.
  const std::uint64_t masks = compression == kBitFields && headerSize == kInfoHeaderSize ? 12 : 0;
  std::uint64_t paletteEntries = coloursUsed;
  if (bits <= 8) {
    const std::uint32_t most = 1u << bits;
    if (coloursUsed > most) {
      return Refuse("its palette has " + std::to_string(coloursUsed) + " colours; " + std::to_string(bits) +
                    " bits per pixel allow " + std::to_string(most));
    }
    if (paletteEntries == 0) paletteEntries = most;
    facts.paletteEntries = static_cast<std::uint32_t>(paletteEntries);
  }
  const std::uint64_t paletteEnd = kFileHeaderSize + std::uint64_t{headerSize} + masks + paletteEntries * 4;
  if (paletteEnd > file.size()) return Refuse("the file ends inside its palette or colour masks");
  if (pixelOffset < paletteEnd || pixelOffset > file.size()) {
    return Refuse("its pixel data offset " + std::to_string(pixelOffset) +
                  " lies outside the file or inside the header");
  }

  const std::uint64_t rowBytes = (std::uint64_t(facts.width) * bits + 31) / 32 * 4;
  const std::int64_t height = facts.height;
  const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(height < 0 ? -height : height);
  if (pixelBytes > file.size() - pixelOffset) {
    return Refuse("its pixel data needs " + std::to_string(pixelBytes) + " bytes from offset " +
                  std::to_string(pixelOffset) + ", but the file has " + std::to_string(file.size()));
  }
  return {facts, {}};
}

}  // namespace brennick::build
