#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brennick::build {

// Offsets of the optional header fields that the builder reads or writes,
// from its start (PE signature + 24). They are the same in a PE32 (32-bit)
// and a PE32+ (64-bit) header up to the checksum; the data directories of a
// PE32+ header start 16 bytes later (its image base is 8 bytes wide and it
// has no BaseOfData), see PeKind.
namespace pe32 {
constexpr std::size_t kMagic = 0;
constexpr std::size_t kSizeOfInitializedData = 8;
constexpr std::size_t kSectionAlignment = 32;
constexpr std::size_t kFileAlignment = 36;
constexpr std::size_t kSizeOfImage = 56;
constexpr std::size_t kSizeOfHeaders = 60;
constexpr std::size_t kCheckSum = 64;
constexpr std::size_t kNumberOfRvaAndSizes = 92;
constexpr std::size_t kDataDirectories = 96;
constexpr std::uint16_t kMagicValue = 0x10b;
constexpr std::uint16_t kMagicValue64 = 0x20b;
constexpr std::size_t kWiderFields64 = 16;
constexpr std::size_t kCertificateEntry = 4;  // the certificate table's index among the data directories
}  // namespace pe32

// The two kinds of program the builder places a package in.
enum class PeKind { Pe32, Pe32Plus };

// "x86" (PE32, the 32-bit program) or "x64" (PE32+, the program for 64-bit
// Windows), the names used in project files and reports.
const char* PeKindName(PeKind kind);

// The kind an optional header's magic names; none for any other magic.
std::optional<PeKind> PeKindOfMagic(std::uint16_t magic);

struct PeSectionHeader {
  std::string name;             // up to 8 characters
  std::size_t entryOffset = 0;  // file offset of its 40-byte table entry
  std::uint32_t virtualSize = 0;
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
  std::uint32_t characteristics = 0;
};

// The headers of a PE32 or PE32+ program, checked against the file that holds them.
struct PeHeaders {
  PeKind kind = PeKind::Pe32;
  std::size_t peOffset = 0;              // of the "PE\0\0" signature
  std::size_t optionalHeaderOffset = 0;  // peOffset + 24
  std::size_t sectionTableOffset = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t fileAlignment = 0;
  std::uint32_t sizeOfImage = 0;
  std::uint32_t sizeOfHeaders = 0;
  std::uint32_t certificateOffset = 0;  // the signature, if any (a file offset)
  std::uint32_t certificateSize = 0;
  std::vector<PeSectionHeader> sections;
  std::uint64_t rawEnd = 0;        // end of the last raw data in the file (at least the headers)
  std::uint64_t firstRawData = 0;  // where the first raw data starts (the headers' end if none)
  std::uint64_t virtualEnd = 0;    // end of the last section in memory, aligned to sectionAlignment

  std::size_t SectionTableEnd() const { return sectionTableOffset + sections.size() * 40; }
};

// Reads and checks the headers of a Windows program: the MZ and PE
// signatures, the PE32 or PE32+ magic, the alignments, and that the optional header,
// the section table and every section's raw data lie inside the file and the
// sections follow each other in memory. Throws BuildError naming what is
// wrong; never reads outside `file`.
PeHeaders ReadPeHeaders(std::span<const std::uint8_t> file);

std::uint64_t AlignUp(std::uint64_t value, std::uint32_t alignment);

}  // namespace brennick::build
