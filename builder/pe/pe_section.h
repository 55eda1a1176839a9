#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace brennick::build {

// Initialised data, readable: how the appended section is marked.
constexpr std::uint32_t kDataSectionCharacteristics = 0x40000040;

// `program` (a 32-bit Windows program) with `data` in a new last section
// named `name`, laid out so that Windows maps it with the program:
//  - its header goes into the padding after the section table;
//  - it starts in memory where the last section ends, rounded up to the
//    section alignment; its virtual size is the size of `data`;
//  - its raw data starts at the end of the file, rounded up to the file
//    alignment, and is `data` padded with zeros to the section alignment
//    (a multiple of the file alignment). So the section adds exactly its raw
//    size to both SizeOfImage and SizeOfInitializedData, which is what the
//    program takes off them again when it writes the uninstaller;
//  - the CheckSum field is recomputed over the new file.
// Throws BuildError, naming the reason, for a program that is no PE32 or is
// damaged, that has no room for another section header, that already has a
// section of that name, that would end up with a section count the setup
// program does not accept (4 to 99), or that carries data after its last
// section (a signature or symbols: they would not survive).
std::vector<std::uint8_t> AppendSection(std::vector<std::uint8_t> program, std::string_view name,
                                        std::span<const std::uint8_t> data);

// A section of a program, as its header describes it.
struct SectionData {
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t fileOffset = 0;
  std::uint32_t rawSize = 0;
  std::span<const std::uint8_t> raw;  // the raw data in the file, padding included

  // The bytes that the section holds: the raw data cut to the virtual size.
  std::span<const std::uint8_t> Contents() const;
};

// The first section named exactly `name`, or nothing. Throws BuildError when
// `file` is not a sound 32-bit Windows program.
std::optional<SectionData> FindSectionData(std::span<const std::uint8_t> file, std::string_view name);

}  // namespace brennick::build
