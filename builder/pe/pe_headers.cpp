#include "builder/pe/pe_headers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "builder/basics/build_error.h"
#include "foundation/byte_view.h"

namespace brennick::build {

namespace {

// The range of PE offsets that the program accepts when it looks for its
// package (a 16-bit read of the DOS header's e_lfanew).
constexpr std::uint32_t kMinPeOffset = 64;
constexpr std::uint32_t kMaxPeOffset = 4096;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kEntrySize = 40;

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

[[noreturn]] void Refuse(const std::string& why) { throw BuildError("not a usable Windows program: " + why); }

bool IsPowerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

// Reads of fields that the caller has already bounded.
std::uint16_t U16(std::span<const std::uint8_t> file, std::size_t offset) { return *ReadU16(file, offset); }
std::uint32_t U32(std::span<const std::uint8_t> file, std::size_t offset) { return *ReadU32(file, offset); }

PeSectionHeader ReadSectionHeader(std::span<const std::uint8_t> file, std::size_t entry) {
  PeSectionHeader section;
  char name[9] = {};
  std::memcpy(name, file.data() + entry, 8);
  section.name = name;
  section.entryOffset = entry;
  section.virtualSize = U32(file, entry + 8);
  section.virtualAddress = U32(file, entry + 12);
  section.rawSize = U32(file, entry + 16);
  section.rawOffset = U32(file, entry + 20);
  section.characteristics = U32(file, entry + 36);
  return section;
}

void ReadSections(std::span<const std::uint8_t> file, std::uint16_t count, PeHeaders& pe) {
  pe.rawEnd = pe.sizeOfHeaders;
  pe.firstRawData = pe.sizeOfHeaders;
  bool anyRawData = false;
  std::uint64_t previousEnd = 0;
  for (std::size_t i = 0; i < count; ++i) {
    PeSectionHeader section = ReadSectionHeader(file, pe.sectionTableOffset + i * kEntrySize);
    const std::string which = "section " + std::to_string(i) + " (\"" + section.name + "\")";
    if (section.rawSize != 0) {
      const std::uint64_t end = std::uint64_t{section.rawOffset} + section.rawSize;
      if (end > file.size()) {
        Refuse(which + " has raw data up to " + Hex(end) + ", past the end of the file (" + Hex(file.size()) + ")");
      }
      if (section.rawOffset < pe.sizeOfHeaders) {
        Refuse(which + " has raw data at " + Hex(section.rawOffset) + ", inside the headers (SizeOfHeaders " +
               Hex(pe.sizeOfHeaders) + ")");
      }
      pe.rawEnd = std::max(pe.rawEnd, end);
      pe.firstRawData = anyRawData ? std::min<std::uint64_t>(pe.firstRawData, section.rawOffset) : section.rawOffset;
      anyRawData = true;
    }
    // A virtual size of 0 means the raw size, as the loader reads it.
    const std::uint32_t extent = section.virtualSize != 0 ? section.virtualSize : section.rawSize;
    if (section.virtualAddress < previousEnd) {
      Refuse(which + " starts at " + Hex(section.virtualAddress) + " in memory, before the end of the one before it (" +
             Hex(previousEnd) + ")");
    }
    previousEnd = AlignUp(std::uint64_t{section.virtualAddress} + extent, pe.sectionAlignment);
    pe.sections.push_back(std::move(section));
  }
  pe.virtualEnd = previousEnd;
}

}  // namespace

const char* PeKindName(PeKind kind) { return kind == PeKind::Pe32Plus ? "x64" : "x86"; }

std::optional<PeKind> PeKindOfMagic(std::uint16_t magic) {
  if (magic == pe32::kMagicValue) return PeKind::Pe32;
  if (magic == pe32::kMagicValue64) return PeKind::Pe32Plus;
  return std::nullopt;
}

std::uint64_t AlignUp(std::uint64_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

PeHeaders ReadPeHeaders(std::span<const std::uint8_t> file) {
  if (file.size() < kMinPeOffset || file[0] != 'M' || file[1] != 'Z') Refuse("no MZ header");
  PeHeaders pe;
  const std::uint32_t peOffset = U32(file, 60);
  if (peOffset < kMinPeOffset || peOffset > kMaxPeOffset) {
    Refuse("the PE header offset " + std::to_string(peOffset) +
           " is outside 64 to 4096, where the setup program looks");
  }
  pe.peOffset = peOffset;
  const auto signature = ReadU32(file, pe.peOffset);
  if (!signature || *signature != 0x00004550) {
    Refuse("no PE signature at offset " + std::to_string(peOffset));
  }
  pe.optionalHeaderOffset = pe.peOffset + 4 + kCoffHeaderSize;
  if (pe.optionalHeaderOffset > file.size()) Refuse("the file ends inside the COFF header");
  const std::uint16_t count = U16(file, pe.peOffset + 6);
  const std::uint16_t optionalSize = U16(file, pe.peOffset + 20);
  if (file.size() - pe.optionalHeaderOffset < 2) Refuse("the file ends inside the optional header");
  const std::uint16_t magic = U16(file, pe.optionalHeaderOffset + pe32::kMagic);
  const std::optional<PeKind> kind = PeKindOfMagic(magic);
  if (!kind) Refuse("unknown optional header magic " + Hex(magic));
  pe.kind = *kind;
  const std::size_t wider = pe.kind == PeKind::Pe32Plus ? pe32::kWiderFields64 : 0;
  if (optionalSize < pe32::kDataDirectories + wider) {
    Refuse("the optional header is " + std::to_string(optionalSize) + " bytes, too small for " + PeKindName(pe.kind));
  }
  if (file.size() - pe.optionalHeaderOffset < optionalSize) Refuse("the file ends inside the optional header");

  const std::span<const std::uint8_t> optional = file.subspan(pe.optionalHeaderOffset, optionalSize);

  pe.sectionAlignment = U32(optional, pe32::kSectionAlignment);
  pe.fileAlignment = U32(optional, pe32::kFileAlignment);
  if (!IsPowerOfTwo(pe.fileAlignment) || !IsPowerOfTwo(pe.sectionAlignment) || pe.sectionAlignment < pe.fileAlignment) {
    Refuse("the alignments are wrong (sections " + Hex(pe.sectionAlignment) + ", file " + Hex(pe.fileAlignment) + ")");
  }
  pe.sizeOfImage = U32(optional, pe32::kSizeOfImage);
  pe.sizeOfHeaders = U32(optional, pe32::kSizeOfHeaders);
  const std::uint32_t directories = U32(optional, pe32::kNumberOfRvaAndSizes + wider);
  const std::size_t directoryTable = pe32::kDataDirectories + wider;
  if (directories > (optionalSize - directoryTable) / 8) {
    Refuse("the optional header is too small for its " + std::to_string(directories) + " data directories");
  }
  if (directories > pe32::kCertificateEntry) {
    const std::size_t certificate = directoryTable + pe32::kCertificateEntry * 8;
    pe.certificateOffset = U32(optional, certificate);
    pe.certificateSize = U32(optional, certificate + 4);
  }

  if (count == 0) Refuse("it has no sections");
  pe.sectionTableOffset = pe.optionalHeaderOffset + optionalSize;
  const std::size_t tableEnd = pe.sectionTableOffset + count * kEntrySize;
  if (tableEnd > file.size()) Refuse("the section table runs past the end of the file");
  if (pe.sizeOfHeaders > file.size() || tableEnd > pe.sizeOfHeaders) {
    Refuse("SizeOfHeaders (" + Hex(pe.sizeOfHeaders) + ") does not cover the section table (up to " + Hex(tableEnd) +
           ") or runs past the end of the file");
  }
  ReadSections(file, count, pe);
  if (pe.sizeOfImage != pe.virtualEnd) {
    Refuse("SizeOfImage (" + Hex(pe.sizeOfImage) + ") differs from the end of the last section in memory (" +
           Hex(pe.virtualEnd) + ")");
  }
  return pe;
}

}  // namespace brennick::build
