#include "run/win/reboot_replace.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "foundation/text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/short_path.h"
#include "hold_file.h"
#include "package/settings_record.h"
#include "run/win/file_times.h"
#include "scratch_folder.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {
namespace {

using testing::ScratchFolder;

constexpr const char* kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingValue = "PendingFileRenameOperations";

std::optional<std::vector<std::uint8_t>> ReadPendingValue() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  const ScopedRegistryKey owned(key);
  DWORD size = 0;
  if (::RegQueryValueExA(key, kPendingValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
  std::vector<std::uint8_t> bytes(size);
  if (::RegQueryValueExA(key, kPendingValue, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) return {};
  bytes.resize(size);
  return bytes;
}

// Source and target of every pending operation, as the system recorded them.
std::vector<std::pair<std::wstring, std::wstring>> PendingOperations() {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return pairs;
  const ScopedRegistryKey owned(key);
  DWORD size = 0;
  if (::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return pairs;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                     &size);
  std::vector<std::wstring> strings;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(L'\0', start), text.size());
    strings.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  // The list ends with an empty string; a deletion's empty target is kept.
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2) pairs.emplace_back(strings[i], strings[i + 1]);
  return pairs;
}

std::wstring NtPath(const std::string& path) { return L"\\??\\" + WidePath(path); }

bool IsPending(const std::wstring& source, const std::wstring& target) {
  for (const auto& [s, t] : PendingOperations()) {
    if (::lstrcmpiW(s.c_str(), source.c_str()) == 0 && ::lstrcmpiW(t.c_str(), target.c_str()) == 0) return true;
  }
  return false;
}

// Puts the system's list of pending operations back as it was before the test.
class PendingOperationsGuard {
 public:
  PendingOperationsGuard() : saved_(ReadPendingValue()) {}
  ~PendingOperationsGuard() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    const ScopedRegistryKey owned(key);
    if (saved_) {
      ::RegSetValueExA(key, kPendingValue, 0, REG_MULTI_SZ, saved_->data(), static_cast<DWORD>(saved_->size()));
    } else {
      ::RegDeleteValueA(key, kPendingValue);
    }
  }
  PendingOperationsGuard(const PendingOperationsGuard&) = delete;
  PendingOperationsGuard& operator=(const PendingOperationsGuard&) = delete;

 private:
  std::optional<std::vector<std::uint8_t>> saved_;
};

class RebootReplaceTest : public ::testing::Test {
 protected:
  PendingOperationsGuard guard_;
  ScratchFolder folder_{"reboot replace"};
  std::string windowsFolder_ = WindowsFacts().WindowsFolder();
};

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool EndsWithNoCase(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         EqualsNoCase(std::string_view(text).substr(text.size() - ending.size()), ending);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
  } while (::FindNextFileA(find, &found));
  ::FindClose(find);
  return names;
}

TEST_F(RebootReplaceTest, TempFilesAreNamedCvxWithTheirExtension) {
  struct Case {
    const char* extension;
    const char* ending;
  };
  for (const Case c : {Case{"", ".tmp"}, Case{"bat", ".bat"}, Case{".log", ".log"}}) {
    const std::string made = CreateTempFile(folder_.path(), c.extension, true);
    ASSERT_FALSE(made.empty()) << c.extension << ": error " << ::GetLastError();
    EXPECT_TRUE(EqualsNoCase(made.substr(0, made.find_last_of('\\')), folder_.path())) << made;
    const std::string name = NameOf(made);
    EXPECT_TRUE(StartsWithNoCase(name, "CVX")) << made;
    EXPECT_TRUE(EndsWithNoCase(name, c.ending)) << made;
    // The made file is the only one: no .tmp is left behind by the renaming.
    EXPECT_EQ(FilesIn(folder_.path()), std::vector<std::string>{name});
    ::DeleteFileA(made.c_str());
  }
}

TEST_F(RebootReplaceTest, TempFileFallsBackToTheTempFolderUnlessForbidden) {
  const std::string missing = folder_.path() + "\\no such folder";
  ::SetLastError(0);
  EXPECT_EQ(CreateTempFile(missing, "", true), "");
  EXPECT_NE(::GetLastError(), 0u);

  const std::string made = CreateTempFile(missing, "", false);
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  EXPECT_TRUE(EqualsNoCase(made.substr(0, made.find_last_of('\\') + 1), temp)) << made;
  EXPECT_TRUE(StartsWithNoCase(NameOf(made), "CVX")) << made;
  ::DeleteFileA(made.c_str());
}

TEST_F(RebootReplaceTest, Utf8FolderGivesUtf8Path) {
  const std::string folder = "|" + folder_.path() + "\\\xD0\x96";  // a Cyrillic letter
  ASSERT_TRUE(::CreateDirectoryW(WidePath(folder).c_str(), nullptr));
  const std::string made = CreateTempFile(folder, "txt", true);
  EXPECT_TRUE(StartsWithNoCase(made, folder + "\\CVX")) << made;
  EXPECT_TRUE(EndsWithNoCase(made, ".txt")) << made;
  EXPECT_TRUE(::DeleteFileW(WidePath(made).c_str()));
  ::RemoveDirectoryW(WidePath(folder).c_str());
}

TEST_F(RebootReplaceTest, ReplacementIsRecordedForTheSystem) {
  const std::string source = folder_.Write("new.dll", "new");
  const std::string destination = folder_.path() + "\\in use.dll";
  ::SetLastError(0);
  ASSERT_TRUE(ScheduleReplaceAtReboot(source, destination, true, windowsFolder_));
  EXPECT_EQ(::GetLastError(), 170u);
  // "!" before the target: the move replaces an existing file.
  EXPECT_TRUE(IsPending(NtPath(source), L"!" + NtPath(destination)));
}

TEST_F(RebootReplaceTest, RequestsThatCannotBeRegistered) {
  const std::string source = folder_.Write("new.dll", "new");
  const std::string destination = folder_.path() + "\\old.dll";
  const auto before = ReadPendingValue();
  struct Case {
    std::string source;
    std::string destination;
    DWORD error;
  };
  const Case cases[] = {
      {"", destination, ERROR_INVALID_NAME},
      {source, "", ERROR_INVALID_NAME},
      {"|", destination, ERROR_INVALID_NAME},
      {folder_.path() + "\\missing.dll", destination, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    ::SetLastError(0);
    EXPECT_FALSE(ScheduleReplaceAtReboot(c.source, c.destination, true, windowsFolder_)) << c.source;
    EXPECT_EQ(::GetLastError(), c.error) << c.source;
  }
  EXPECT_EQ(ReadPendingValue(), before);
}

TEST_F(RebootReplaceTest, SourceThatIsTheDestinationSucceedsWithoutARequest) {
  const std::string source = folder_.Write("same.dll", "same");
  const auto before = ReadPendingValue();
  std::string upper = source;
  for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(ScheduleReplaceAtReboot(source, upper, true, windowsFolder_));
  EXPECT_EQ(ReadPendingValue(), before);
}

TEST_F(RebootReplaceTest, DeletionIsRecordedWithAnEmptyTarget) {
  const std::string file = folder_.Write("reboot.dat", "");
  ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(ScheduleDeleteAtReboot(file, true, windowsFolder_));
  EXPECT_TRUE(IsPending(NtPath(file), L""));
  EXPECT_EQ(::GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

// Windows 9x: the requests become lines of wininit.ini in the Windows folder,
// newest first, in short path form; the registry is not touched.
TEST_F(RebootReplaceTest, WithoutNtTheRequestsGoToWininit) {
  const std::string source = folder_.Write("new version.dll", "new");
  const std::string destination = folder_.Write("current version.dll", "old");
  const auto before = ReadPendingValue();
  ASSERT_TRUE(ScheduleReplaceAtReboot(source, destination, false, folder_.path()));
  EXPECT_EQ(::GetLastError(), 170u);
  ASSERT_TRUE(ScheduleDeleteAtReboot(source, false, folder_.path()));

  const std::string shortSource = ShortPathOf(source);
  const std::string shortDestination = ShortPathOf(destination);
  ASSERT_NE(shortSource, source) << "no short names on this file system";
  EXPECT_EQ(ScratchFolder::Read(folder_.path() + "\\wininit.ini"),
            "[rename]\r\nNUL=" + shortSource + "\r\n" + shortDestination + "=" + shortSource);
  EXPECT_EQ(ReadPendingValue(), before);
}

TEST_F(RebootReplaceTest, HeldFileIsReplacedAtRestart) {
  const std::string destination = folder_.Write("in use.exe", "old content");
  const testing::FileHolder holder(destination);
  const std::string data = "new content";
  const FileStamp stamp = {2021, 3, 4, 5, 6, 7};
  InstallerState state;
  std::string report = "earlier text\r\n";

  ASSERT_TRUE(ReplaceInUseFile(state, destination, {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()},
                               stamp, report));

  const std::string lead =
      "earlier text\r\n\"" + destination + "\" was successfully registered for replacement.\r\nTemporary file is \"";
  const std::string tail = "\"\r\nReboot will be required.\r\n\r\n";
  ASSERT_TRUE(report.starts_with(lead) && report.ends_with(tail)) << report;
  const std::string temp = report.substr(lead.size(), report.size() - lead.size() - tail.size());

  EXPECT_EQ(ShortPathOf(temp), temp) << "the registered name is the short one";
  EXPECT_EQ(temp.substr(0, temp.find_last_of('\\')), ShortPathOf(folder_.path())) << "beside the destination";
  EXPECT_TRUE(StartsWithNoCase(NameOf(temp), "CVX")) << temp;
  EXPECT_EQ(ScratchFolder::Read(temp), data);
  EXPECT_EQ(ReadLastWriteStamp(temp), stamp);
  EXPECT_TRUE(HasFlag(state.Settings.ProductFlags, flags::kRestartRequired));
  EXPECT_TRUE(IsPending(NtPath(temp), L"!" + NtPath(destination)));
}

}  // namespace
}  // namespace brennick::win
