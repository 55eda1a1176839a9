#include "startup/win/windows_facts.h"

#include <gtest/gtest.h>

#include "foundation/text.h"

namespace brennick::win {
namespace {

TEST(WindowsFacts, VariablesExpandToThisMachinesFolders) {
  WindowsFacts facts;
  const std::string windows = facts.WindowsFolder();
  ASSERT_FALSE(windows.empty());
  RunValues run;
  run.InstallDir = "C:\\Program Files\\Tool";
  std::string text = "%windir%|%SystemRoot%|%InstallDrive%|%Bits%|%ProgramsDir%|%NoSuchName%";
  ASSERT_TRUE(ExpandVariables(text, facts, run));
  // A 32-bit program on a 64-bit Windows is given the 32-bit program folder.
  const std::string programs = facts.Is64BitWindows() ? "C:\\Program Files (x86)" : "C:\\Program Files";
  const std::string bits = facts.Is64BitWindows() ? "64" : "32";
  EXPECT_TRUE(EqualsNoCase(text, windows + "|" + windows + "|C:|" + bits + "|" + programs + "|%NoSuchName%")) << text;
}

TEST(WindowsFacts, FoldersOfTheShellAndTheRegistryAgree) {
  WindowsFacts facts;
  InstallerFolders folders(facts);
  EXPECT_TRUE(EqualsNoCase(folders.CommonDir(), folders.ProgramsDir() + "\\Common Files")) << folders.CommonDir();
  EXPECT_FALSE(folders.AppDataAllDir().empty());
  EXPECT_FALSE(folders.DesktopDir().empty());
  EXPECT_FALSE(folders.SMProgramsAllDir().empty());
  EXPECT_TRUE(EqualsNoCase(folders.SystemDir(), facts.SystemFolder()));
  EXPECT_EQ(folders.Temp().back() == '\\', false);
}

}  // namespace
}  // namespace brennick::win
