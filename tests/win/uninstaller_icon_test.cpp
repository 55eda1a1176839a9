#include "engine/win/uninstaller_icon.h"

#include <gtest/gtest.h>

#include "foundation/win/path_text_win.h"
#include "run/win/install_log.h"
#include "scratch_folder.h"

namespace brennick::win {
namespace {

using testing::ScratchFolder;

std::string U16(unsigned value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }
std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

// A square 32-bit icon image: its header, the colour pixels, the mask rows.
std::string IconImage(int side, char colour) {
  const std::string header = U32(40) + U32(side) + U32(2 * side) + U16(1) + U16(32) + std::string(24, '\0');
  return header + std::string(4 * side * side, colour) + std::string(4 * side, '\0');
}

struct IconFile {
  std::string bytes;
  std::string images[2];
  std::string entries[2];  // the first 12 bytes of each directory entry
};

// A valid icon file with a 1 x 1 and a 2 x 2 image.
IconFile TwoImageIcon() {
  IconFile icon;
  icon.images[0] = IconImage(1, '\x11');
  icon.images[1] = IconImage(2, '\x22');
  std::size_t offset = 6 + 2 * 16;
  std::string directory = U16(0) + U16(1) + U16(2);
  for (int i = 0; i < 2; ++i) {
    icon.entries[i] = std::string{static_cast<char>(i + 1), static_cast<char>(i + 1), 0, 0} + U16(1) + U16(32) +
                      U32(static_cast<std::uint32_t>(icon.images[i].size()));
    directory += icon.entries[i] + U32(static_cast<std::uint32_t>(offset));
    offset += icon.images[i].size();
  }
  icon.bytes = directory + icon.images[0] + icon.images[1];
  return icon;
}

// The resource's bytes, or "(missing)".
std::string ResourceBytes(HMODULE module, LPCWSTR type, WORD number, WORD language) {
  const HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(number), language);
  if (found == nullptr) return "(missing)";
  const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
  return {data, ::SizeofResource(module, found)};
}

// A copy of this test program, with one resource of its own that the icon
// replacement must leave in place.
class UninstallerIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenInstallLog(program_);
    ASSERT_TRUE(program_.installLog.IsOpen());
    ASSERT_TRUE(::CopyFileW(WidePath(ModuleFileName()).c_str(), WidePath(path_).c_str(), FALSE));
    const HANDLE update = ::BeginUpdateResourceW(WidePath(path_).c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    char kept[] = "kept";
    ASSERT_TRUE(::UpdateResourceW(update, MAKEINTRESOURCEW(10), MAKEINTRESOURCEW(7), 0, kept, 4));
    ASSERT_TRUE(::EndUpdateResourceW(update, FALSE));
  }
  void TearDown() override { program_.installLog.Discard(); }

  std::string LogTextSoFar() { return program_.installLog.ReadAll(); }

  Program program_;
  ScratchFolder folder_{"uninstaller icon"};
  std::string path_ = folder_.path() + "\\uninstall.exe";
};

TEST_F(UninstallerIconTest, WritesEveryImageAndTheGroupInLanguage1033) {
  const IconFile icon = TwoImageIcon();
  ASSERT_TRUE(ReplaceUninstallerIcon(program_, path_, icon.bytes));
  EXPECT_EQ(LogTextSoFar(), "");

  const ScopedModule module(::LoadLibraryExW(WidePath(path_).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module.valid());
  const std::string group = U16(0) + U16(1) + U16(2) + icon.entries[0] + U16(1) + icon.entries[1] + U16(2);
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(14), 1, 1033), group);
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(3), 1, 1033), icon.images[0]);
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(3), 2, 1033), icon.images[1]);
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(3), 3, 1033), "(missing)");
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(10), 7, 0), "kept");
  // The shell's way to the icon finds it too.
  const ScopedIcon loaded(static_cast<HICON>(::LoadImageW(module.get(), MAKEINTRESOURCEW(1), IMAGE_ICON, 2, 2, 0)));
  EXPECT_TRUE(loaded.valid());
}

TEST_F(UninstallerIconTest, FailuresAreLoggedAndLeaveTheFileAsItWas) {
  const std::string icon = TwoImageIcon().bytes;
  struct Case {
    const char* what;
    std::string path;
    std::string icon;
    const char* log;
  };
  const Case cases[] = {
      {"truncated icon", path_, icon.substr(0, icon.size() - 10), "Failed to replace uninstaller icon.\r\n"},
      {"not an icon", path_, "BM" + icon.substr(2), "Failed to replace uninstaller icon.\r\n"},
      {"missing file", folder_.path() + "\\missing.exe", icon, "Failed to open uninstaller for icon replacement.\r\n"},
  };
  const std::string before = ScratchFolder::Read(path_);
  std::string expectedLog;
  for (const Case& c : cases) {
    EXPECT_FALSE(ReplaceUninstallerIcon(program_, c.path, c.icon)) << c.what;
    expectedLog += c.log;
    EXPECT_EQ(LogTextSoFar(), expectedLog) << c.what;
  }
  EXPECT_TRUE(ScratchFolder::Read(path_) == before);
  const ScopedModule module(::LoadLibraryExW(WidePath(path_).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module.valid());
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(14), 1, 1033), "(missing)");
  EXPECT_EQ(ResourceBytes(module.get(), MAKEINTRESOURCEW(10), 7, 0), "kept");
}

}  // namespace
}  // namespace brennick::win
