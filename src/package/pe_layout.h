#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace brennick {

// How much of the file's start the header walk may need: the PE offset is at
// most 4096, the optional header at most 65535 bytes, the table 99 entries.
constexpr std::size_t kPeHeadBytes = 4096 + 24 + 65535 + 99 * 40;

constexpr std::size_t kSectionEntrySize = 40;

// Where the sections of an executable are described, read from its first
// bytes. Every count and offset is checked before use.
struct PeLayout {
  std::uint16_t peOffset = 0;
  std::uint16_t sectionCount = 0;
  std::uint16_t optionalHeaderSize = 0;
  std::size_t sectionTableOffset = 0;  // file offset of the first 40-byte entry
};

struct SectionEntry {
  std::size_t index = 0;             // slot in the section table
  std::uint32_t virtualAddress = 0;  // relative to the module base
  std::uint32_t rawSize = 0;         // bytes of raw data in the file
  std::uint32_t fileOffset = 0;      // file offset of the raw data
};

// Reads the PE offset, the section count and the optional header size from
// the file's first bytes (`head` may be shorter than kPeHeadBytes when the
// file is). Damage ends through CorruptInstaller (43, 44, 49).
PeLayout ReadPeLayout(std::span<const std::uint8_t> head);

// The first section whose name equals `name` exactly (case matters), or an
// empty entry with index == sectionCount when there is none.
SectionEntry FindSection(std::span<const std::uint8_t> head, const PeLayout& layout, std::string_view name);

// The ".setup" section that holds the setup package. Without one, ends with
// the message that explains what this program is; a section whose data
// starts at offset 0 is a damaged package (code 9).
SectionEntry LocateSetupSection(std::span<const std::uint8_t> head);

}  // namespace brennick
