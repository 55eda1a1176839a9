#include "package/uninstaller_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/pe/pe_section.h"
#include "fatal_capture.h"
#include "package/pe_layout.h"
#include "pe_fixture.h"

namespace brennick {
namespace {

using testing::FatalMessageOf;
using testing::FixtureSection;
using testing::Get32;
using testing::PeFixture;
using testing::Put16;
using testing::Put32;

std::string Corrupt(int code) {
  return "This installation program is corrupt.  This is usually caused by a faulty download, but it can also "
         "be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\nDelete the corrupted "
         "installer (to prevent caching), then re-download it.  If the problem persists, check your system for "
         "viruses.\r\n\r\nError code: " +
         std::to_string(code);
}

// A setup file split as the program splits it: the stub in front of the
// package and whatever follows the package.
struct SplitFile {
  PeLayout layout;
  SectionEntry setup;
  std::vector<std::uint8_t> stub;
  std::vector<std::uint8_t> trailing;

  explicit SplitFile(const std::vector<std::uint8_t>& file)
      : layout(ReadPeLayout(file)), setup(LocateSetupSection(file)) {
    const auto packageStart = file.begin() + setup.fileOffset;
    stub.assign(file.begin(), packageStart);
    trailing.assign(packageStart + setup.rawSize, file.end());
  }

  std::vector<std::uint8_t> Image() const { return BuildUninstallerImage(stub, layout, setup, trailing); }
};

std::vector<std::uint8_t> Package(std::size_t size) { return std::vector<std::uint8_t>(size, 0x5e); }

TEST(UninstallerImage, GivesBackTheProgramThatTheSetupWasBuiltFrom) {
  // With the package appended by the builder as the last section, the image
  // is the original program again, byte for byte, but for the CheckSum field:
  // it keeps the value summed over the setup file (Windows checks it only for
  // drivers and boot-time DLLs). A signature after the package stays at the end.
  struct Case {
    std::uint32_t sectionAlignment, fileAlignment, packageSize;
    std::vector<std::uint8_t> signature;
    bool pe32Plus = false;
  };
  for (const Case& c : std::vector<Case>{{0x1000, 0x200, 0x2345, {}},
                                         {0x1000, 0x200, 0x2345, {'S', 'I', 'G', 0, 1, 2, 3, 4}},
                                         {0x1000, 0x1000, 1, {0x30, 0x82}},
                                         {0x200, 0x200, 0x201, {}},
                                         {0x1000, 0x200, 0x2345, {}, true},
                                         {0x1000, 0x1000, 1, {0x30, 0x82}, true}}) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.sectionAlignment << " " << c.fileAlignment << " "
                                      << c.packageSize << " signature " << c.signature.size()
                                      << (c.pe32Plus ? " PE32+" : " PE32"));
    PeFixture fixture = c.pe32Plus ? PeFixture::Pe32Plus() : PeFixture{};
    fixture.sectionAlignment = c.sectionAlignment;
    fixture.fileAlignment = c.fileAlignment;
    const std::vector<std::uint8_t> program = fixture.Bytes();
    std::vector<std::uint8_t> file = build::AppendSection(program, ".setup", Package(c.packageSize));
    file.insert(file.end(), c.signature.begin(), c.signature.end());

    std::vector<std::uint8_t> expected = program;
    expected.insert(expected.end(), c.signature.begin(), c.signature.end());
    Put32(expected, fixture.ChecksumField(), Get32(file, fixture.ChecksumField()));
    EXPECT_EQ(SplitFile(file).Image(), expected);
  }
}

TEST(UninstallerImage, SectionsAfterThePackageMoveDown) {
  PeFixture fixture;
  fixture.sections = {{".text", 0x2345},  {".data", 0x80},   {".bss", 0x900, true},
                      {".setup", 0x1800}, {".rsrc", 0x1200}, {".reloc", 0x300}};
  std::vector<std::uint8_t> file = fixture.Bytes();
  // Marks in the header padding after the table: the first slot after the
  // last section takes the 40 bytes that follow it, whatever they are.
  for (std::size_t at = fixture.Entry(6); at < fixture.Entry(8); ++at) file[at] = static_cast<std::uint8_t>(at);
  const SplitFile split(file);
  ASSERT_EQ(split.setup.index, 3u);
  const std::uint32_t rawSize = split.setup.rawSize;
  const std::vector<std::uint8_t> image = split.Image();

  // Header by header: one section fewer, both sizes smaller by the package,
  // the table closed up over ".setup" (slots 5 and 6 take the marked slots 6
  // and 7), the raw-data offsets of .rsrc and .reloc lowered.
  std::vector<std::uint8_t> expected(file.begin(), file.begin() + split.setup.fileOffset);
  expected.insert(expected.end(), split.trailing.begin(), split.trailing.end());
  Put16(expected, fixture.CountField(), 5);
  Put32(expected, fixture.InitializedDataField(), Get32(file, fixture.InitializedDataField()) - rawSize);
  Put32(expected, fixture.ImageSizeField(), Get32(file, fixture.ImageSizeField()) - rawSize);
  for (std::size_t slot = 3; slot <= 6; ++slot) {
    std::memcpy(&expected[fixture.Entry(slot)], &file[fixture.Entry(slot + 1)], 40);
  }
  for (std::size_t slot : {3, 4}) {
    Put32(expected, fixture.Entry(slot) + 20, Get32(file, fixture.Entry(slot + 1) + 20) - rawSize);
  }
  EXPECT_EQ(image, expected);

  // And each moved section's data is where its header now says.
  for (std::size_t slot : {3, 4}) {
    const std::uint32_t offset = Get32(image, fixture.Entry(slot) + 20);
    const std::uint32_t size = fixture.sections[slot + 1].size;
    ASSERT_LE(offset + size, image.size());
    for (std::size_t i = 0; i < size; ++i) {
      ASSERT_EQ(image[offset + i], PeFixture::DataByte(slot + 1, i)) << fixture.sections[slot + 1].name << " " << i;
    }
  }
}

TEST(UninstallerImage, StubMustHoldTheTableAndTheTwoSlotsAfterIt) {
  const PeFixture fixture;
  const SplitFile split(build::AppendSection(fixture.Bytes(), ".setup", Package(10)));
  const std::size_t needed = fixture.Entry(5 + 2);  // five sections, then two slots

  std::vector<std::uint8_t> stub(split.stub.begin(), split.stub.begin() + static_cast<std::ptrdiff_t>(needed));
  EXPECT_EQ(FatalMessageOf([&] { BuildUninstallerImage(stub, split.layout, split.setup, {}); }), "(no fatal message)");
  stub.pop_back();
  EXPECT_EQ(FatalMessageOf([&] { BuildUninstallerImage(stub, split.layout, split.setup, {}); }), Corrupt(34));
  EXPECT_EQ(FatalMessageOf([&] { BuildUninstallerImage({}, split.layout, split.setup, {}); }), Corrupt(34));
}

TEST(StubChecksumRange, StartsAfterTheChecksumField) {
  const PeFixture fixture;
  const SplitFile split(build::AppendSection(fixture.Bytes(), ".setup", Package(10)));
  const std::span<const std::uint8_t> stub(split.stub);
  const std::size_t start = fixture.peOffset + 92;

  const std::span<const std::uint8_t> range = StubChecksumRange(stub, split.layout);
  EXPECT_EQ(range.data(), stub.data() + start);
  EXPECT_EQ(range.size(), stub.size() - start);

  EXPECT_TRUE(StubChecksumRange(stub.first(start), split.layout).empty());
  EXPECT_EQ(FatalMessageOf([&] { StubChecksumRange(stub.first(start - 1), split.layout); }), Corrupt(34));
}

}  // namespace
}  // namespace brennick
