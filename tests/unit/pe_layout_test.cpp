#include "package/pe_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "fatal_capture.h"

namespace brennick {
namespace {

using testing::FatalMessageOf;

constexpr const char* kNoPackage =
    "This program performs installations and uninstallations.\r\nThere is no installation data present.\r\n"
    "No uninstallation parameters were specified.\r\n\r\nYou should not delete this program or execute it "
    "directly.";

std::string Corrupt(int code) {
  return "This installation program is corrupt.  This is usually caused by a faulty download, but it can also "
         "be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\nDelete the corrupted "
         "installer (to prevent caching), then re-download it.  If the problem persists, check your system for "
         "viruses.\r\n\r\nError code: " +
         std::to_string(code);
}

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The first bytes of an executable: DOS header, PE header, section table.
struct FakeImage {
  std::uint16_t peOffset = 128;
  std::uint16_t optionalHeaderSize = 224;
  std::vector<std::string> names = {".text", ".rdata", ".data", ".rsrc", ".setup"};
  std::optional<std::uint16_t> declaredCount;  // default: the number of names
  std::uint32_t setupFileOffset = 0x4000;

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> b(8192, 0);
    b[0] = 'M';
    b[1] = 'Z';
    Put16(b, 60, peOffset);
    if (peOffset + 24u + optionalHeaderSize + names.size() * 40 > b.size()) return b;
    std::memcpy(&b[peOffset], "PE\0\0", 4);
    Put16(b, peOffset + 6, declaredCount.value_or(static_cast<std::uint16_t>(names.size())));
    Put16(b, peOffset + 20, optionalHeaderSize);
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::size_t entry = peOffset + 24u + optionalHeaderSize + i * 40;
      std::memcpy(&b[entry], names[i].data(), std::min<std::size_t>(names[i].size(), 8));
      const bool setup = names[i] == ".setup";
      Put32(b, entry + 12, static_cast<std::uint32_t>(0x1000 * (i + 1)));
      Put32(b, entry + 16, setup ? 0x2345 : 0x200);
      Put32(b, entry + 20, setup ? setupFileOffset : static_cast<std::uint32_t>(0x400 + 0x200 * i));
    }
    return b;
  }
};

TEST(LocateSetupSection, FindsTheEntry) {
  const SectionEntry setup = LocateSetupSection(FakeImage{}.Bytes());
  EXPECT_EQ(setup.index, 4u);
  EXPECT_EQ(setup.virtualAddress, 0x5000u);
  EXPECT_EQ(setup.rawSize, 0x2345u);
  EXPECT_EQ(setup.fileOffset, 0x4000u);
}

TEST(LocateSetupSection, PeOffsetBounds) {
  for (std::uint16_t ok : {64, 4096}) {
    FakeImage image;
    image.peOffset = ok;
    image.optionalHeaderSize = 0;
    EXPECT_EQ(LocateSetupSection(image.Bytes()).index, 4u) << ok;
  }
  for (std::uint16_t bad : {0, 63, 4097, 65535}) {
    FakeImage image;
    image.peOffset = bad;
    EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection(image.Bytes()); }), Corrupt(43)) << bad;
  }
}

TEST(LocateSetupSection, SectionCountBounds) {
  for (std::uint16_t bad : {0, 3, 100}) {
    FakeImage image;
    image.declaredCount = bad;
    EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection(image.Bytes()); }), Corrupt(44)) << bad;
  }
  FakeImage four;
  four.names = {".text", ".data", ".rsrc", ".setup"};
  EXPECT_EQ(LocateSetupSection(four.Bytes()).index, 3u);
}

TEST(LocateSetupSection, ShortFiles) {
  const std::vector<std::uint8_t> image = FakeImage{}.Bytes();
  // Too short to hold the PE offset, the section count, the optional header size, the table.
  EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection({image.data(), 61}); }), Corrupt(43));
  EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection({image.data(), 135}); }), Corrupt(44));
  EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection({image.data(), 149}); }), Corrupt(49));
  EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection({image.data(), 128 + 24 + 224 + 4 * 40 + 39}); }),
            Corrupt(49));
}

TEST(LocateSetupSection, NameMustMatchExactly) {
  for (const std::vector<std::string>& names : std::vector<std::vector<std::string>>{
           {".text", ".rdata", ".data", ".SETUP"},
           {".text", ".rdata", ".data", ".setup2"},
           {".text", ".rdata", ".data", "setup"},
           {".text", ".rdata", ".data", ".rsrc"}}) {
    FakeImage image;
    image.names = names;
    EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection(image.Bytes()); }), kNoPackage) << names.back();
  }
}

TEST(LocateSetupSection, OnlyDeclaredSectionsAreWalked) {
  FakeImage image;
  image.declaredCount = 4;  // the fifth slot holds ".setup" but is not a section
  EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection(image.Bytes()); }), kNoPackage);
}

TEST(LocateSetupSection, RawDataAtOffsetZeroIsCorrupt) {
  FakeImage image;
  image.setupFileOffset = 0;
  EXPECT_EQ(FatalMessageOf([&] { LocateSetupSection(image.Bytes()); }), Corrupt(9));
}

}  // namespace
}  // namespace brennick
