#include "engine/win/write_installed_file.h"

#include <gtest/gtest.h>

#include "foundation/win/system_error_text.h"
#include "hold_file.h"
#include "run/win/file_times.h"
#include "run/win/install_log.h"
#include "scratch_folder.h"

namespace brennick::win {
namespace {

using testing::ScratchFolder;

constexpr FileStamp kStamp{2024, 6, 1, 12, 0, 0};

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A letter that names no drive here.
char MissingDrive() {
  const DWORD drives = ::GetLogicalDrives();
  for (char letter = 'Q'; letter <= 'Y'; ++letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) return letter;
  }
  return 0;
}

class WriteInstalledFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageStrings strings;
    strings.Names = {"English"};
    strings.Messages.resize(44, {""});
    strings.Messages[31] = {"Could not write"};
    program_.state.Messages = MessageTable(strings);
  }
  void TearDown() override { program_.installLog.Discard(); }

  bool Write(const std::string& path, const std::string& data, std::int32_t attributes, bool existedBefore) {
    return WriteInstalledFile(program_, path, Bytes(data), kStamp, attributes, existedBefore, registered_);
  }

  Program program_;
  bool registered_ = true;
  ScratchFolder folder_{"write installed file"};
};

TEST_F(WriteInstalledFileTest, WritesMakesTheFolderDatesAndMasksAttributes) {
  const std::string path = folder_.path() + "\\sub\\app.txt";
  ASSERT_TRUE(Write(path, "new content", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY, false));
  EXPECT_FALSE(registered_);
  EXPECT_EQ(ScratchFolder::Read(path), "new content");
  EXPECT_EQ(ReadLastWriteStamp(path), kStamp);
  // Wine reports every file with the archive attribute.
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
  ::RemoveDirectoryA((folder_.path() + "\\sub").c_str());
}

TEST_F(WriteInstalledFileTest, EmptyDataWritesAnEmptyFile) {
  const std::string path = folder_.Write("empty.txt", "old");
  ASSERT_TRUE(Write(path, "", -1, true));
  EXPECT_EQ(ScratchFolder::Read(path), "");
}

TEST_F(WriteInstalledFileTest, MissingDriveIsAFailureWithoutRestartReplacement) {
  const char drive = MissingDrive();
  if (drive == 0) GTEST_SKIP() << "every drive letter is in use";
  const std::string path = std::string(1, drive) + ":\\App\\app.txt";
  EXPECT_FALSE(Write(path, "data", -1, true));
  EXPECT_FALSE(registered_);
  EXPECT_EQ(program_.state.FailureText,
            "\r\nCould not write " + path + "\r\nDrive " + std::string(1, drive) + ": is not present.\r\n");
}

TEST_F(WriteInstalledFileTest, HeldFileIsRegisteredOnlyWhenItExistedBefore) {
  const std::string path = folder_.Write("held.txt", "old");
  {
    const testing::FileHolder holder(path);
    EXPECT_FALSE(Write(path, "new", -1, false));
    EXPECT_FALSE(registered_);
    // The reason is the error of the call that failed, not of a later one.
    EXPECT_NE(program_.state.FailureText.find("Could not write " + path + "\r\n" + SystemErrorText(ERROR_SHARING_VIOLATION)),
              std::string::npos)
        << program_.state.FailureText;
    EXPECT_FALSE(HasFlag(program_.state.Settings.ProductFlags, flags::kRestartRequired));
  }
  EXPECT_EQ(ScratchFolder::Read(path), "old");
}

TEST_F(WriteInstalledFileTest, ReadBackCheckPassesForEveryLength) {
  SetFlag(program_.state.Settings.ProductFlags, flags::kVerifyWrittenFiles);
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{1} << 20, (std::size_t{1} << 20) + 3}) {
    const std::string data(size, 'x');
    const std::string path = folder_.path() + "\\checked.bin";
    EXPECT_TRUE(Write(path, data, -1, false)) << size << ": " << program_.state.FailureText;
    EXPECT_EQ(ScratchFolder::Read(path).size(), size);
  }
}

TEST_F(WriteInstalledFileTest, ReadOnlyHiddenFileIsReplacedWithTheFlag) {
  const std::string path = folder_.Write("locked.txt", "old");
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetFlag(program_.state.Settings.ProductFlags, flags::kOverwriteReadOnly);
  ASSERT_TRUE(Write(path, "new", -1, true));
  EXPECT_EQ(ScratchFolder::Read(path), "new");
}

}  // namespace
}  // namespace brennick::win
