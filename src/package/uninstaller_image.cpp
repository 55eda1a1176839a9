#include "package/uninstaller_image.h"

#include <cstring>

#include "foundation/byte_store.h"
#include "foundation/byte_view.h"
#include "foundation/fatal.h"
#include "package/corrupt_installer.h"

namespace brennick {

namespace {

// Offsets from the PE signature.
constexpr std::size_t kSectionCountField = 6;
constexpr std::size_t kInitializedDataField = 32;
constexpr std::size_t kImageSizeField = 80;
constexpr std::size_t kChecksumRangeStart = 92;

// Offset in a section entry.
constexpr std::size_t kRawOffsetField = 20;

void Lower(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t by) {
  // Wraps like the unsigned field it is: a header that does not add up gives
  // a header that does not add up, never undefined behaviour.
  StoreU32(bytes, offset, *ReadU32(bytes, offset) - by);
}

}  // namespace

std::span<const std::uint8_t> StubChecksumRange(std::span<const std::uint8_t> stub, const PeLayout& layout) {
  const std::size_t start = layout.peOffset + kChecksumRangeStart;
  if (start > stub.size()) CorruptInstaller(corrupt::kStubTooShort);
  return stub.subspan(start);
}

std::vector<std::uint8_t> BuildUninstallerImage(std::vector<std::uint8_t> stub, const PeLayout& layout,
                                                const SectionEntry& setup, std::span<const std::uint8_t> trailing) {
  const std::size_t count = layout.sectionCount;
  if (setup.index >= count) {
    FatalError("BuildUninstallerImage: section %u of a table of %u", static_cast<unsigned>(setup.index),
               static_cast<unsigned>(count));
  }
  // The close-up runs up to the first slot after the last section, which
  // takes the 40 bytes after it: the stub must hold two slots past the table.
  const std::size_t table = layout.sectionTableOffset;
  const std::size_t closeUpEnd = table + (count + 2) * kSectionEntrySize;
  if (stub.size() < closeUpEnd || stub.size() < layout.peOffset + kChecksumRangeStart) {
    CorruptInstaller(corrupt::kStubTooShort);
  }

  const std::span<std::uint8_t> bytes(stub);
  StoreU16(bytes, layout.peOffset + kSectionCountField, static_cast<std::uint16_t>(count - 1));
  Lower(bytes, layout.peOffset + kInitializedDataField, setup.rawSize);
  Lower(bytes, layout.peOffset + kImageSizeField, setup.rawSize);

  for (std::size_t slot = setup.index; slot <= count; ++slot) {
    const std::size_t entry = table + slot * kSectionEntrySize;
    std::memcpy(&bytes[entry], &bytes[entry + kSectionEntrySize], kSectionEntrySize);
    // Slots before count - 1 now hold the sections that followed ".setup";
    // their raw data moves down by the package's size.
    if (slot + 1 < count) Lower(bytes, entry + kRawOffsetField, setup.rawSize);
  }

  stub.insert(stub.end(), trailing.begin(), trailing.end());
  return stub;
}

}  // namespace brennick
