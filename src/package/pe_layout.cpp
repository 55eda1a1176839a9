#include "package/pe_layout.h"

#include <cstring>

#include "foundation/byte_view.h"
#include "foundation/fatal.h"
#include "package/corrupt_installer.h"
#include "package/package_layout.h"

namespace brennick {

namespace {

constexpr const char* kNoPackageMessage =
    "This program performs installations and uninstallations.\r\n"
    "There is no installation data present.\r\n"
    "No uninstallation parameters were specified.\r\n\r\n"
    "You should not delete this program or execute it directly.";

constexpr std::uint16_t kMinPeOffset = 64;
constexpr std::uint16_t kMaxPeOffset = 4096;
constexpr std::uint16_t kMinSections = 4;
constexpr std::uint16_t kMaxSections = 99;

}  // namespace

PeLayout ReadPeLayout(std::span<const std::uint8_t> head) {
  PeLayout layout;
  const auto peOffset = ReadU16(head, 60);
  if (!peOffset || *peOffset < kMinPeOffset || *peOffset > kMaxPeOffset) CorruptInstaller(corrupt::kPeOffset);
  layout.peOffset = *peOffset;

  const auto count = ReadU16(head, layout.peOffset + 6);
  if (!count || *count < kMinSections || *count > kMaxSections) CorruptInstaller(corrupt::kSectionCount);
  layout.sectionCount = *count;

  const auto optionalSize = ReadU16(head, layout.peOffset + 20);
  if (!optionalSize) CorruptInstaller(corrupt::kSectionTableTruncated);
  layout.optionalHeaderSize = *optionalSize;
  layout.sectionTableOffset = layout.peOffset + 24u + layout.optionalHeaderSize;
  return layout;
}

SectionEntry FindSection(std::span<const std::uint8_t> head, const PeLayout& layout, std::string_view name) {
  for (std::size_t i = 0; i < layout.sectionCount; ++i) {
    const std::size_t entry = layout.sectionTableOffset + i * kSectionEntrySize;
    if (entry > head.size() || head.size() - entry < kSectionEntrySize) {
      CorruptInstaller(corrupt::kSectionTableTruncated);
    }
    // The name field holds up to 8 bytes and needs no terminating zero of its own.
    char entryName[9] = {};
    std::memcpy(entryName, head.data() + entry, 8);
    if (name == entryName) {
      return SectionEntry{i, *ReadU32(head, entry + 12), *ReadU32(head, entry + 16), *ReadU32(head, entry + 20)};
    }
  }
  return SectionEntry{layout.sectionCount, 0, 0, 0};
}

SectionEntry LocateSetupSection(std::span<const std::uint8_t> head) {
  const PeLayout layout = ReadPeLayout(head);
  const SectionEntry setup = FindSection(head, layout, package::kSectionName);
  if (setup.index == layout.sectionCount) FatalError("%s", kNoPackageMessage);
  if (setup.fileOffset == 0) CorruptInstaller(corrupt::kSetupOffsetZero);
  return setup;
}

}  // namespace brennick
