#include "foundation/win/file.h"

#include <gtest/gtest.h>

#include "foundation/win/path_text_win.h"
#include "hold_file.h"

namespace brennick::win {
namespace {

// A scratch folder of the test's own, removed afterwards.
class FileLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "brennick-file-test-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& file : created_) {
      ::SetFileAttributesW(WidePath(file).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(WidePath(file).c_str());
    }
    ::RemoveDirectoryA(folder_.c_str());
  }
  std::string MakeFile(const std::string& name, const std::string& content = "data") {
    const std::string path = folder_ + "\\" + name;
    File file;
    EXPECT_TRUE(file.Open(path, FileAccess::CreateAlways).ok());
    DWORD written = 0;
    ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    created_.push_back(path);
    return path;
  }

  std::string folder_;
  std::vector<std::string> created_;
};

char MissingDriveLetter() {
  const DWORD drives = ::GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) return letter;
  }
  return 0;
}

TEST_F(FileLayerTest, FailedOpensGiveTheirResult) {
  const char drive = MissingDriveLetter();
  ASSERT_NE(drive, 0) << "every drive letter is taken";
  struct Case {
    std::string path;
    FileResult expected;
  };
  const Case cases[] = {
      {"", FileResult::InvalidName},
      {"|", FileResult::InvalidName},
      {folder_ + "\\missing.txt", FileResult::FileNotFound},
      {folder_ + "\\no such folder\\missing.txt", FileResult::DirectoryNotFound},
      {std::string(1, drive) + ":\\setup\\missing.txt", FileResult::DriveNotFound},
  };
  for (const Case& c : cases) {
    File file;
    const WinResult<FileResult> opened = file.Open(c.path, FileAccess::Read);
    EXPECT_EQ(opened.outcome, c.expected) << c.path << " (Windows error " << opened.windowsError << ")";
    EXPECT_EQ(file.LastFailureMessage(), FileResultMessage(c.expected)) << c.path;
    EXPECT_FALSE(file.IsOpen());
  }
}

TEST_F(FileLayerTest, OpenAndReadAt) {
  const std::string path = MakeFile("readable.txt", "0123456789");
  File file;
  const WinResult<FileResult> opened = file.Open(path, FileAccess::Read);
  ASSERT_TRUE(opened.ok());
  EXPECT_EQ(opened.windowsError, 0u);
  EXPECT_EQ(file.Size(), 10);
  const FileRead read = file.ReadAt(3, 4);
  ASSERT_TRUE(read.result.ok());
  EXPECT_EQ(std::string(read.bytes.begin(), read.bytes.end()), "3456");
  const FileRead tail = file.ReadAt(8, 100);
  EXPECT_TRUE(tail.result.ok());
  EXPECT_EQ(tail.bytes.size(), 2u);  // short at the end of the file
  EXPECT_TRUE(file.LastFailureMessage().empty());
}

TEST_F(FileLayerTest, Utf8PathsGoThroughTheWideCalls) {
  // A name that no ANSI code page spells: Greek, Cyrillic and CJK letters.
  const std::string utf8Name = "\xce\xb1\xce\xb2-\xd0\xb6-\xe6\xbc\xa2.txt";
  const std::string path = "|" + folder_ + "\\" + utf8Name;
  File writer;
  ASSERT_TRUE(writer.Open(path, FileAccess::CreateAlways).ok());
  writer.Close();
  created_.push_back(path);
  const std::wstring wide = ToWide(folder_ + "\\", CP_ACP) + ToWide(utf8Name, CP_UTF8);
  EXPECT_NE(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(PathFromWide(wide), path);
  File reader;
  EXPECT_TRUE(reader.Open(path, FileAccess::Read).ok());
}

TEST_F(FileLayerTest, ReadOnlyAttributeOnlyWhenAskedFor) {
  const std::string path = MakeFile("readonly.txt");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  File file;
  if (file.Open(path, FileAccess::ReadWrite).ok()) {
    // Wine keeps the attribute in the Unix permissions, which do not bind root.
    GTEST_SKIP() << "this account may write read-only files (Wine run as root)";
  }
  EXPECT_EQ(file.Open(path, FileAccess::ReadWrite).outcome, FileResult::AccessDenied);
  FileOpenOptions options;
  options.testReadOnly = true;
  const WinResult<FileResult> opened = file.Open(path, FileAccess::ReadWrite, options);
  EXPECT_EQ(opened.outcome, FileResult::ReadOnly);
  EXPECT_EQ(opened.windowsError, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));  // kept for the caller
}

TEST_F(FileLayerTest, FileHeldByAnotherProcessIsLockedAfterRetries) {
  const std::string path = MakeFile("held.txt");
  testing::FileHolder holder(path);
  File file;

  DWORD start = ::GetTickCount();
  const WinResult<FileResult> opened = file.Open(path, FileAccess::Read);
  const DWORD retried = ::GetTickCount() - start;
  EXPECT_EQ(opened.outcome, FileResult::Locked);
  EXPECT_EQ(opened.windowsError, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
  // Five pauses of 100 ms between six tries.
  EXPECT_GE(retried, 450u);
  EXPECT_LT(retried, 3000u);

  FileOpenOptions once;
  once.retryWhenLocked = false;
  start = ::GetTickCount();
  EXPECT_EQ(file.Open(path, FileAccess::Read, once).outcome, FileResult::Locked);
  EXPECT_LT(::GetTickCount() - start, 100u);
}

}  // namespace
}  // namespace brennick::win
