#include "builder/pe/pe_section.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "builder/basics/build_error.h"
#include "builder/pe/pe_checksum.h"
#include "builder/pe/pe_headers.h"
#include "package/pe_layout.h"
#include "pe_fixture.h"

namespace brennick::build {
namespace {

using brennick::testing::AlignTo;
using brennick::testing::Get32;
using brennick::testing::PeFixture;
using brennick::testing::Put16;
using brennick::testing::Put32;

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7));
  return data;
}

// The BuildError message that `action` ends with, or "(no refusal)".
std::string RefusalOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const BuildError& error) {
    return error.what();
  }
  return "(no refusal)";
}

TEST(AppendSection, AddsAMappedLastSection) {
  struct Case {
    std::uint32_t sectionAlignment, fileAlignment, dataSize;
    bool pe32Plus = false;
  };
  for (const Case& c : std::vector<Case>{{0x1000, 0x200, 0x2345},
                                         {0x1000, 0x200, 1},
                                         {0x1000, 0x200, 0x1000},
                                         {0x1000, 0x1000, 0x1001},
                                         {0x200, 0x200, 0x3ff},
                                         {0x10000, 0x200, 0x10},
                                         {0x1000, 0x200, 0x2345, true},
                                         {0x1000, 0x1000, 0x1001, true}}) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.sectionAlignment << " " << c.fileAlignment << " " << c.dataSize
                                      << (c.pe32Plus ? " PE32+" : " PE32"));
    PeFixture fixture = c.pe32Plus ? PeFixture::Pe32Plus() : PeFixture{};
    fixture.sectionAlignment = c.sectionAlignment;
    fixture.fileAlignment = c.fileAlignment;
    const std::vector<std::uint8_t> program = fixture.Bytes();
    const std::vector<std::uint8_t> data = Pattern(c.dataSize);
    const std::vector<std::uint8_t> built = AppendSection(program, ".setup", data);

    const std::uint32_t virtualAddress = Get32(program, fixture.ImageSizeField());
    const std::uint32_t rawSize = AlignTo(c.dataSize, c.sectionAlignment);
    const auto fileOffset = static_cast<std::uint32_t>(program.size());

    // Everything else stays as it was: the count, the two sizes, the new
    // entry after the table, the data at the end of the file, the checksum.
    std::vector<std::uint8_t> expected = program;
    Put16(expected, fixture.CountField(), 5);
    Put32(expected, fixture.InitializedDataField(), Get32(program, fixture.InitializedDataField()) + rawSize);
    Put32(expected, fixture.ImageSizeField(), virtualAddress + rawSize);
    const std::size_t entry = fixture.Entry(4);
    std::memcpy(&expected[entry], ".setup", 6);
    Put32(expected, entry + 8, c.dataSize);
    Put32(expected, entry + 12, virtualAddress);
    Put32(expected, entry + 16, rawSize);
    Put32(expected, entry + 20, fileOffset);
    Put32(expected, entry + 36, 0x40000040);
    expected.insert(expected.end(), data.begin(), data.end());
    expected.resize(fileOffset + rawSize, 0);
    Put32(expected, fixture.ChecksumField(), PeChecksum(expected, fixture.ChecksumField()));
    EXPECT_EQ(built, expected);
    EXPECT_NE(Get32(built, fixture.ChecksumField()), fixture.checksum);

    // The program finds its package where the builder put it.
    const SectionEntry setup = LocateSetupSection(built);
    EXPECT_EQ(setup.index, 4u);
    EXPECT_EQ(setup.virtualAddress, virtualAddress);
    EXPECT_EQ(setup.rawSize, rawSize);
    EXPECT_EQ(setup.fileOffset, fileOffset);

    // The result is as sound as what it was made from, and gives its data back.
    EXPECT_EQ(ReadPeHeaders(built).sizeOfImage, virtualAddress + rawSize);
    EXPECT_EQ(ReadPeHeaders(built).kind, c.pe32Plus ? PeKind::Pe32Plus : PeKind::Pe32);
    const std::optional<SectionData> found = FindSectionData(built, ".setup");
    ASSERT_TRUE(found);
    EXPECT_EQ(std::vector<std::uint8_t>(found->Contents().begin(), found->Contents().end()), data);
    EXPECT_EQ(found->raw.size(), rawSize);
  }
}

TEST(AppendSection, NeedsRoomAfterTheSectionTable) {
  PeFixture fixture;
  const auto tableEnd = static_cast<std::uint32_t>(fixture.Entry(fixture.sections.size()));
  fixture.sizeOfHeaders = tableEnd + 40;
  EXPECT_NO_THROW(AppendSection(fixture.Bytes(), ".setup", Pattern(10)));

  fixture.sizeOfHeaders = tableEnd + 39;
  EXPECT_NE(RefusalOf([&] {
              AppendSection(fixture.Bytes(), ".setup", Pattern(10));
            }).find("the program has no room for another section header"),
            std::string::npos);

  fixture.sizeOfHeaders = 0x400;
  std::vector<std::uint8_t> program = fixture.Bytes();
  program[tableEnd + 39] = 1;  // say, bound imports kept in the header padding
  EXPECT_NE(RefusalOf([&] { AppendSection(program, ".setup", Pattern(10)); }).find("not empty"), std::string::npos);
}

TEST(AppendSection, RefusesWhatItCannotExtend) {
  const PeFixture fixture;
  const std::size_t pe = fixture.peOffset;
  const std::size_t optional = pe + 24;
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    const char* refusal;
  };
  const std::vector<Case> cases = {
      {"no MZ", [](auto& b) { b[1] = 'X'; }, "no MZ header"},
      {"tiny file", [](auto& b) { b.resize(40); }, "no MZ header"},
      {"PE offset 63", [](auto& b) { Put32(b, 60, 63); }, "outside 64 to 4096"},
      {"PE offset 4097", [](auto& b) { Put32(b, 60, 4097); }, "outside 64 to 4096"},
      {"PE offset high bits", [](auto& b) { Put32(b, 60, 0x10080); }, "outside 64 to 4096"},
      {"PE offset past the end",
       [](auto& b) {
         Put32(b, 60, 4000);
         b.resize(4002);
       },
       "no PE signature"},
      {"no PE signature", [&](auto& b) { b[pe + 1] = 'X'; }, "no PE signature"},
      {"optional header too small", [&](auto& b) { Put16(b, pe + 20, 95); }, "too small for x86"},
      {"PE32+ optional header too small",
       [&](auto& b) {
         Put16(b, optional, 0x20b);
         Put16(b, pe + 20, 111);
       },
       "too small for x64"},
      {"optional header past the end", [&](auto& b) { Put16(b, pe + 20, 0xfff0); }, "ends inside the optional"},
      {"ROM image", [&](auto& b) { Put16(b, optional, 0x107); }, "magic 0x107"},
      {"file alignment 0", [&](auto& b) { Put32(b, optional + 36, 0); }, "alignments are wrong"},
      {"file alignment 0x300", [&](auto& b) { Put32(b, optional + 36, 0x300); }, "alignments are wrong"},
      {"section alignment below file alignment", [&](auto& b) { Put32(b, optional + 32, 0x100); },
       "alignments are wrong"},
      {"too many data directories", [&](auto& b) { Put32(b, optional + 92, 17); }, "data directories"},
      {"no sections", [&](auto& b) { Put16(b, pe + 6, 0); }, "no sections"},
      {"table past the end", [&](auto& b) { Put16(b, pe + 6, 0xffff); }, "past the end of the file"},
      {"table past SizeOfHeaders", [&](auto& b) { Put32(b, optional + 60, 0x200); }, "SizeOfHeaders"},
      {"SizeOfHeaders past the end", [&](auto& b) { Put32(b, optional + 60, 0x100000); }, "SizeOfHeaders"},
      {"raw data past the end", [&](auto& b) { Put32(b, fixture.Entry(3) + 16, 0x10000); }, "past the end of the file"},
      {"raw size overflowing", [&](auto& b) { Put32(b, fixture.Entry(3) + 16, 0xffffffff); },
       "past the end of the file"},
      {"raw data in the headers", [&](auto& b) { Put32(b, fixture.Entry(0) + 20, 0x200); }, "inside the headers"},
      {"sections out of order", [&](auto& b) { Put32(b, fixture.Entry(1) + 12, 0x1000); }, "before the end of"},
      {"SizeOfImage too small", [&](auto& b) { Put32(b, fixture.ImageSizeField(), 0x1000); }, "SizeOfImage"},
      {"appended data", [](auto& b) { b.push_back(0); }, "after its last section"},
      {"signature",
       [&](auto& b) {
         Put32(b, optional + 128, static_cast<std::uint32_t>(b.size()));
         Put32(b, optional + 132, 8);
         b.insert(b.end(), 8, 0x30);
       },
       "the program is signed"},
      {"a package already", [&](auto& b) { std::memcpy(&b[fixture.Entry(3)], ".setup\0\0", 8); },
       "already has a section named \".setup\""},
      {"99 sections already",
       [&](auto& b) {
         PeFixture many;
         many.sizeOfHeaders = 0x1400;
         many.sections.assign(99, {".data", 0x10});
         b = many.Bytes();
       },
       "would have 100 sections"},
      {"two sections",
       [&](auto& b) {
         PeFixture few;
         few.sections.resize(2);
         b = few.Bytes();
       },
       "would have 3 sections"},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> program = fixture.Bytes();
    c.damage(program);
    const std::string refusal = RefusalOf([&] { AppendSection(program, ".setup", Pattern(10)); });
    EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.what << ": " << refusal;
  }
}

TEST(AppendSection, FindsTheSignatureOfEitherKind) {
  // The certificate table is the fifth data directory, 16 bytes later in a
  // PE32+ header than in a PE32 one.
  for (const PeFixture& fixture : {PeFixture{}, PeFixture::Pe32Plus()}) {
    std::vector<std::uint8_t> program = fixture.Bytes();
    const std::size_t certificate = fixture.peOffset + 24 + fixture.DataDirectories() + 4 * 8;
    Put32(program, certificate, static_cast<std::uint32_t>(program.size()));
    Put32(program, certificate + 4, 8);
    program.insert(program.end(), 8, 0x30);
    EXPECT_NE(RefusalOf([&] { AppendSection(program, ".setup", Pattern(10)); }).find("the program is signed"),
              std::string::npos)
        << fixture.pe32Plus;
  }
}

TEST(AppendSection, RefusesBadNamesAndEmptyData) {
  const std::vector<std::uint8_t> program = PeFixture{}.Bytes();
  for (const std::string_view name :
       {std::string_view(""), std::string_view("123456789"), std::string_view(".a\0b", 4)}) {
    EXPECT_NE(RefusalOf([&] { AppendSection(program, name, Pattern(1)); }).find("1 to 8 characters"), std::string::npos)
        << name;
  }
  EXPECT_NE(RefusalOf([&] { AppendSection(program, ".setup", {}); }).find("data is empty"), std::string::npos);
  // Eight characters fill the name field with no terminating zero.
  const std::vector<std::uint8_t> built = AppendSection(program, "12345678", Pattern(1));
  EXPECT_TRUE(FindSectionData(built, "12345678"));
}

TEST(AppendSection, TruncatedProgramsAreRefused) {
  const std::vector<std::uint8_t> program = PeFixture{}.Bytes();
  for (std::size_t size = 0; size < program.size(); ++size) {
    const std::vector<std::uint8_t> cut(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(AppendSection(cut, ".setup", Pattern(3)), BuildError) << size;
  }
}

TEST(AppendSection, AnyDamagedHeaderByteIsRefusedOrHandled) {
  // No header byte, whatever its value, leads a read outside the file (the
  // sanitizers watch); whatever is accepted gives its section back.
  const PeFixture fixture;
  const std::vector<std::uint8_t> program = fixture.Bytes();
  for (std::size_t at = 0; at < fixture.sizeOfHeaders; ++at) {
    for (const std::uint8_t value : {0x00, 0x7f, 0xff}) {
      std::vector<std::uint8_t> damaged = program;
      damaged[at] = value;
      std::vector<std::uint8_t> built;
      try {
        built = AppendSection(damaged, ".setup", Pattern(5));
      } catch (const BuildError&) {
        continue;
      }
      ASSERT_TRUE(FindSectionData(built, ".setup")) << at;
    }
  }
}

TEST(FindSectionData, MatchesTheNameExactly) {
  const std::vector<std::uint8_t> built = AppendSection(PeFixture{}.Bytes(), ".SETUP", Pattern(7));
  EXPECT_FALSE(FindSectionData(built, ".setup"));
  EXPECT_FALSE(FindSectionData(built, ".SETUP2"));
  const std::optional<SectionData> found = FindSectionData(built, ".SETUP");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Contents().size(), 7u);
  // A section without raw data (.bss) has nothing in the file.
  const std::optional<SectionData> bss = FindSectionData(built, ".bss");
  ASSERT_TRUE(bss);
  EXPECT_TRUE(bss->raw.empty());
  EXPECT_EQ(bss->virtualSize, 0x900u);
}

TEST(PeChecksum, SumsWordsFoldsCarriesAndAddsTheLength) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::size_t field;
    std::uint32_t sum;
  };
  for (const Case& c : std::vector<Case>{
           {{}, 0, 0},
           {{0x01, 0x02, 0x03}, 8, 0x0201 + 0x0003 + 3},                  // an odd last byte is a low byte
           {{0xff, 0xff, 0x02, 0x00}, 8, 0x0002 + 4},                     // 0xffff + 2 carries into bit 0
           {{0xff, 0xff, 0xff, 0xff, 0x09, 0x00}, 2, 0xffff + 6},         // the field counts as zero
           {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff}, 1, 0xff + 0xff00 + 6},  // even when it is not word-aligned
       }) {
    EXPECT_EQ(PeChecksum(c.bytes, c.field), c.sum);
  }
}

}  // namespace
}  // namespace brennick::build
