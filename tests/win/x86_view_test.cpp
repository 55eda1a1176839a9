#include "foundation/win/x86_view.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace brennick::win {
namespace {

std::wstring Folder(UINT (WINAPI* get)(LPWSTR, UINT)) {
  wchar_t path[MAX_PATH + 1] = {};
  return std::wstring(path, get(path, MAX_PATH));
}

std::wstring Variable(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
  return length < 1024 ? std::wstring(value, length) : std::wstring();
}

class X86View : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kEmulatesX86View) GTEST_SKIP() << "the 32-bit program leaves all of this to the system";
  }
};

TEST_F(X86View, RedirectsTheSystemFolderButWhatItLeavesAlone) {
  const std::wstring windows = Folder(::GetWindowsDirectoryW);
  const std::wstring system = Folder(::GetSystemDirectoryW);
  const std::wstring wow64 = X86SystemFolder();
  ASSERT_FALSE(wow64.empty());
  struct Case {
    std::wstring path, redirected;
  };
  std::wstring lowerSystem = system;
  for (wchar_t& c : lowerSystem) c = static_cast<wchar_t>(towlower(c));
  const std::vector<Case> cases = {
      {system + L"\\tool.dll", wow64 + L"\\tool.dll"},
      {system, wow64},
      {lowerSystem + L"/sub/../tool.dll", wow64 + L"\\tool.dll"},
      {system + L"\\a\\b\\c.txt", wow64 + L"\\a\\b\\c.txt"},
      {system + L"\\drivers\\etc\\hosts", system + L"\\drivers\\etc\\hosts"},
      {system + L"\\drivers\\tool.sys", wow64 + L"\\drivers\\tool.sys"},
      {system + L"\\spool\\drivers", system + L"\\spool\\drivers"},
      {system + L"\\catroot2", system + L"\\catroot2"},
      {system + L"\\catroot3", wow64 + L"\\catroot3"},
      {system + L"x\\tool.dll", system + L"x\\tool.dll"},
      {windows + L"\\Sysnative\\tool.dll", system + L"\\tool.dll"},
      {windows + L"\\regedit.exe", wow64 + L"\\regedit.exe"},
      {windows + L"\\notepad.exe", windows + L"\\notepad.exe"},
      {L"C:\\Program Files\\Tool\\tool.dll", L"C:\\Program Files\\Tool\\tool.dll"},
  };
  for (const Case& c : cases) EXPECT_EQ(RedirectedPath(c.path), c.redirected) << std::string(c.path.begin(), c.path.end());

  // A 64-bit product turns it off, and on again at the end.
  ASSERT_TRUE(TurnOffFileSystemRedirection());
  EXPECT_EQ(RedirectedPath(system + L"\\tool.dll"), system + L"\\tool.dll");
  RestoreFileSystemRedirection();
  EXPECT_EQ(RedirectedPath(system + L"\\tool.dll"), wow64 + L"\\tool.dll");
}

TEST_F(X86View, RegistryViewAndProgramFolders) {
  EXPECT_EQ(RegistryView(), static_cast<REGSAM>(KEY_WOW64_32KEY));
  EXPECT_EQ(RegistryView(KEY_WOW64_64KEY), static_cast<REGSAM>(KEY_WOW64_64KEY));
  EXPECT_EQ(X86ShellFolder(CSIDL_PROGRAM_FILES), CSIDL_PROGRAM_FILESX86);
  EXPECT_EQ(X86ShellFolder(CSIDL_PROGRAM_FILES_COMMON | CSIDL_FLAG_CREATE),
            CSIDL_PROGRAM_FILES_COMMONX86 | CSIDL_FLAG_CREATE);
  EXPECT_EQ(X86ShellFolder(CSIDL_SYSTEM), CSIDL_SYSTEM);
}

TEST_F(X86View, EnvironmentOfA32BitProcess) {
  const std::wstring architecture = Variable(L"PROCESSOR_ARCHITECTURE");
  const std::wstring programFiles = Variable(L"ProgramFiles");
  const std::wstring commonFiles = Variable(L"CommonProgramFiles");
  ASSERT_EQ(architecture, L"AMD64");
  EnterX86Environment();
  EXPECT_EQ(Variable(L"PROCESSOR_ARCHITECTURE"), L"x86");
  EXPECT_EQ(Variable(L"PROCESSOR_ARCHITEW6432"), L"AMD64");
  EXPECT_EQ(Variable(L"ProgramFiles"), Variable(L"ProgramFiles(x86)"));
  EXPECT_EQ(Variable(L"CommonProgramFiles"), Variable(L"CommonProgramFiles(x86)"));
  EXPECT_NE(Variable(L"ProgramFiles"), programFiles);
  // The rest of the tests run with the environment they started with.
  ::SetEnvironmentVariableW(L"PROCESSOR_ARCHITECTURE", architecture.c_str());
  ::SetEnvironmentVariableW(L"PROCESSOR_ARCHITEW6432", nullptr);
  ::SetEnvironmentVariableW(L"ProgramFiles", programFiles.c_str());
  ::SetEnvironmentVariableW(L"CommonProgramFiles", commonFiles.c_str());
}

}  // namespace
}  // namespace brennick::win
