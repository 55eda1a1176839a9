#pragma once

// Small synthetic Windows programs for the tests of the PE code: the DOS
// header, the PE32 (or PE32+) headers, a section table and each section's raw
// data.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace brennick::testing {

inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b.at(at) = static_cast<std::uint8_t>(v);
  b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
  return v;
}

inline std::uint32_t AlignTo(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

struct FixtureSection {
  std::string name;
  std::uint32_t size = 0;      // virtual size; also the bytes of data in the file
  bool uninitialised = false;  // no raw data (like .bss)
};

// A program laid out the way a linker lays it out: sections one after the
// other in memory and in the file, SizeOfImage at the end of the last one.
struct PeFixture {
  bool pe32Plus = false;  // a program for 64-bit Windows; see Pe32Plus()
  std::uint32_t peOffset = 0x80;
  std::uint16_t optionalHeaderSize = 224;
  std::uint32_t sectionAlignment = 0x1000;
  std::uint32_t fileAlignment = 0x200;
  std::uint32_t sizeOfHeaders = 0x400;
  std::uint32_t checksum = 0x12345678;
  std::vector<FixtureSection> sections = {{".text", 0x2345}, {".data", 0x80}, {".bss", 0x900, true}, {".rsrc", 0x1200}};

  // The same program for 64-bit Windows: its optional header is 16 bytes
  // longer, and so are the offsets of its data directories.
  static PeFixture Pe32Plus() {
    PeFixture fixture;
    fixture.pe32Plus = true;
    fixture.optionalHeaderSize = 240;
    return fixture;
  }

  // Where the optional header's data directories start (from its start).
  std::size_t DataDirectories() const { return pe32Plus ? 112 : 96; }

  // File offsets of the table entries and of the header fields the tests read.
  std::size_t TableOffset() const { return peOffset + 24 + optionalHeaderSize; }
  std::size_t Entry(std::size_t index) const { return TableOffset() + index * 40; }
  std::size_t CountField() const { return peOffset + 6; }
  std::size_t InitializedDataField() const { return peOffset + 32; }
  std::size_t ImageSizeField() const { return peOffset + 80; }
  std::size_t ChecksumField() const { return peOffset + 88; }

  // Section data is a pattern unique to the section and the position, so that
  // a section read from the wrong place shows.
  static std::uint8_t DataByte(std::size_t section, std::size_t i) {
    return static_cast<std::uint8_t>(0x11 * (section + 1) + i % 13);
  }

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> b(std::max<std::size_t>(sizeOfHeaders, Entry(sections.size())), 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 60, peOffset);
    std::memcpy(&b[peOffset], "PE\0\0", 4);
    Put16(b, peOffset + 4, pe32Plus ? 0x8664 : 0x14c);  // x86-64 or i386
    Put16(b, CountField(), static_cast<std::uint16_t>(sections.size()));
    Put16(b, peOffset + 20, optionalHeaderSize);
    Put16(b, peOffset + 22, pe32Plus ? 0x22 : 0x102);  // executable; large-address aware or 32-bit
    const std::size_t optional = peOffset + 24;
    Put16(b, optional, pe32Plus ? 0x20b : 0x10b);
    Put32(b, optional + 32, sectionAlignment);
    Put32(b, optional + 36, fileAlignment);
    Put32(b, optional + 60, sizeOfHeaders);
    Put32(b, ChecksumField(), checksum);
    Put16(b, optional + 68, 2);  // GUI
    Put32(b, optional + DataDirectories() - 4, 16);

    std::uint32_t virtualAddress = AlignTo(sizeOfHeaders, sectionAlignment);
    std::uint32_t initializedData = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
      const FixtureSection& section = sections[i];
      const std::size_t entry = Entry(i);
      std::memcpy(&b[entry], section.name.data(), std::min<std::size_t>(section.name.size(), 8));
      Put32(b, entry + 8, section.size);
      Put32(b, entry + 12, virtualAddress);
      if (!section.uninitialised) {
        const std::uint32_t rawOffset = AlignTo(static_cast<std::uint32_t>(b.size()), fileAlignment);
        const std::uint32_t rawSize = AlignTo(section.size, fileAlignment);
        Put32(b, entry + 16, rawSize);
        Put32(b, entry + 20, rawOffset);
        b.resize(rawOffset + rawSize, 0);
        for (std::size_t k = 0; k < section.size; ++k) b[rawOffset + k] = DataByte(i, k);
        if (i != 0) initializedData += rawSize;
      }
      Put32(b, entry + 36, i == 0 ? 0x60000020 : 0xC0000040);
      virtualAddress = AlignTo(virtualAddress + section.size, sectionAlignment);
    }
    Put32(b, InitializedDataField(), initializedData);
    Put32(b, ImageSizeField(), virtualAddress);
    return b;
  }
};

}  // namespace brennick::testing
