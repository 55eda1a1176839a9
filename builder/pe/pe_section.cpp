#include "builder/pe/pe_section.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "builder/basics/build_error.h"
#include "builder/pe/pe_checksum.h"
#include "builder/pe/pe_headers.h"
#include "foundation/byte_store.h"
#include "foundation/byte_view.h"

namespace brennick::build {

namespace {

// The section counts that the program accepts when it looks for its package.
constexpr std::size_t kMinSections = 4;
constexpr std::size_t kMaxSections = 99;
constexpr std::size_t kEntrySize = 40;
constexpr std::uint64_t kU32Limit = std::numeric_limits<std::uint32_t>::max();

[[noreturn]] void Refuse(const std::string& why) { throw BuildError("cannot add a section to the program: " + why); }

void CheckName(std::string_view name) {
  if (name.empty() || name.size() > 8 || name.find('\0') != std::string_view::npos) {
    Refuse("a section name has 1 to 8 characters and no zero byte");
  }
}

void CheckSectionCount(const PeHeaders& pe, std::string_view name) {
  const std::size_t count = pe.sections.size() + 1;
  if (count < kMinSections || count > kMaxSections) {
    Refuse("with it the program would have " + std::to_string(count) + " sections; the setup program accepts 4 to 99");
  }
  for (const PeSectionHeader& section : pe.sections) {
    if (section.name == name) Refuse("the program already has a section named \"" + std::string(name) + "\"");
  }
}

void CheckNothingAfterSections(const PeHeaders& pe, std::size_t fileSize) {
  if (fileSize <= pe.rawEnd) return;
  if (pe.certificateSize != 0) {
    Refuse(
        "the program is signed, and the signature would no longer match; build from the unsigned "
        "program and sign the result");
  }
  Refuse("the program has data after its last section (" + std::to_string(fileSize - pe.rawEnd) +
         " bytes: appended data or symbols) that would not survive; build from a program without it");
}

// Where the new section header goes: right after the table, in the padding
// that the headers have before the first section's raw data.
std::size_t NewHeaderSlot(const PeHeaders& pe, std::span<const std::uint8_t> program) {
  const std::size_t slot = pe.SectionTableEnd();
  const std::uint64_t room = std::min<std::uint64_t>(pe.sizeOfHeaders, pe.firstRawData);
  if (slot + kEntrySize > room) {
    Refuse("the program has no room for another section header (the section table ends at " + std::to_string(slot) +
           ", the headers at " + std::to_string(room) + ")");
  }
  const auto padding = program.subspan(slot, kEntrySize);
  if (std::any_of(padding.begin(), padding.end(), [](std::uint8_t b) { return b != 0; })) {
    Refuse("the 40 bytes after the section table are not empty; the program keeps data of its own there");
  }
  return slot;
}

}  // namespace

std::vector<std::uint8_t> AppendSection(std::vector<std::uint8_t> program, std::string_view name,
                                        std::span<const std::uint8_t> data) {
  CheckName(name);
  if (data.empty()) Refuse("the section data is empty");
  const PeHeaders pe = ReadPeHeaders(program);
  CheckSectionCount(pe, name);
  CheckNothingAfterSections(pe, program.size());
  const std::size_t slot = NewHeaderSlot(pe, program);

  const std::uint64_t virtualAddress = pe.virtualEnd;
  const std::uint64_t rawSize = AlignUp(data.size(), pe.sectionAlignment);
  const std::uint64_t rawOffset = AlignUp(program.size(), pe.fileAlignment);
  const std::span<const std::uint8_t> head(program);
  const std::size_t optional = pe.optionalHeaderOffset;
  const std::uint64_t initializedData =
      std::uint64_t{*ReadU32(head, optional + pe32::kSizeOfInitializedData)} + rawSize;
  if (virtualAddress + rawSize > kU32Limit || rawOffset + rawSize > kU32Limit || initializedData > kU32Limit) {
    Refuse("the section data is too large (" + std::to_string(data.size()) + " bytes)");
  }

  const std::span<std::uint8_t> bytes(program);
  std::memcpy(&bytes[slot], name.data(), name.size());
  StoreU32(bytes, slot + 8, static_cast<std::uint32_t>(data.size()));
  StoreU32(bytes, slot + 12, static_cast<std::uint32_t>(virtualAddress));
  StoreU32(bytes, slot + 16, static_cast<std::uint32_t>(rawSize));
  StoreU32(bytes, slot + 20, static_cast<std::uint32_t>(rawOffset));
  StoreU32(bytes, slot + 36, kDataSectionCharacteristics);
  StoreU16(bytes, pe.peOffset + 6, static_cast<std::uint16_t>(pe.sections.size() + 1));
  StoreU32(bytes, optional + pe32::kSizeOfInitializedData, static_cast<std::uint32_t>(initializedData));
  StoreU32(bytes, optional + pe32::kSizeOfImage, static_cast<std::uint32_t>(virtualAddress + rawSize));

  program.resize(rawOffset, 0);
  program.insert(program.end(), data.begin(), data.end());
  program.resize(rawOffset + rawSize, 0);
  StorePeChecksum(program);
  return program;
}

std::span<const std::uint8_t> SectionData::Contents() const {
  if (virtualSize == 0) return raw;
  return raw.first(std::min<std::size_t>(virtualSize, raw.size()));
}

std::optional<SectionData> FindSectionData(std::span<const std::uint8_t> file, std::string_view name) {
  const PeHeaders pe = ReadPeHeaders(file);
  for (const PeSectionHeader& section : pe.sections) {
    if (section.name != name) continue;
    SectionData found{section.virtualAddress, section.virtualSize, section.rawOffset, section.rawSize, {}};
    // ReadPeHeaders has checked that the raw data lies inside the file.
    if (section.rawSize != 0) found.raw = file.subspan(section.rawOffset, section.rawSize);
    return found;
  }
  return std::nullopt;
}

}  // namespace brennick::build
