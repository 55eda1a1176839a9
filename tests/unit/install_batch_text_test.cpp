#include "run/install_batch_text.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(JoinBatchCommands, SettingsTextEndsWithALineBreakBeforeTheExtraCommands) {
  struct Case {
    const char* settings;
    const char* extra;
    const char* expected;
  };
  const Case cases[] = {
      {"", "", ""},
      {"", "echo b1", "echo b1"},  // /b1: alone: no empty first line
      {"echo a", "", "echo a\r\n"},
      {"echo a", "echo b1", "echo a\r\necho b1"},
      {"echo a\r\n", "echo b1", "echo a\r\necho b1"},
      {"echo a\n", "echo b1", "echo a\necho b1"},
      {"echo a\r", "echo b1", "echo a\recho b1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinBatchCommands(c.settings, c.extra), c.expected) << c.settings << "|" << c.extra;
  }
}

TEST(RemovePauseLines, OnlyWholePauseLinesGo) {
  struct Case {
    const char* commands;
    const char* expected;
  };
  const Case cases[] = {
      {"echo a\r\n@pause\r\necho b\r\n", "echo a\r\necho b\r\n"},
      {"PAUSE", ""},
      {"  \tPause \r\n", ""},
      {"@ pause\necho b", "echo b"},
      {"echo a\npause", "echo a\r\n"},
      {"pause later\r\necho pause\r\npause.exe", "pause later\r\necho pause\r\npause.exe"},
      {"@@pause", "@@pause"},  // only one "@" is taken off
      {"echo a\r\rpause\n\necho b", "echo a\r\n\r\n\r\necho b"},  // empty lines stay
  };
  for (const Case& c : cases) EXPECT_EQ(RemovePauseLines(c.commands), c.expected) << c.commands;
}

InstallBatchValues SampleValues() {
  InstallBatchValues v;
  v.InstallDir = "c:\\Program Files\\Tool";
  v.Bits = "64";
  v.UninstallDir = "c:\\Program Files\\Tool\\uninstall";
  v.SharedDir = "c:\\Shared";
  v.InstallerPath = "d:\\Downloads\\setup.exe";
  v.SystemDir = "C:\\W\\system32";
  v.DeviceDir = "C:\\W\\INF";
  v.MediaDir = "C:\\W\\Media";
  v.FavoritesDir = "U\\Favorites";
  v.FavoritesAllDir = "A\\Favorites";
  v.FontDir = "C:\\W\\Fonts";
  v.DesktopDir = "U\\Desktop";
  v.DesktopAllDir = "A\\Desktop";
  v.DocumentDir = "U\\Documents";
  v.DocumentAllDir = "A\\Documents";
  v.ProductName = "Tool";
  v.ProgramsDir = "C:\\Program Files";
  v.StartMenuDir = "U\\Start Menu";
  v.StartMenuAllDir = "A\\Start Menu";
  v.SMProgramsDir = "U\\Programs";
  v.SMProgramsAllDir = "A\\Programs";
  v.StartupDir = "U\\Startup";
  v.StartupAllDir = "A\\Startup";
  v.BootDrive = "C:";
  v.CommonDir = "C:\\Program Files\\Common Files";
  v.Inetpub = "c:\\Inetpub";
  v.AppDataDir = "U\\AppData";
  v.AppDataAllDir = "A\\AppData";
  v.Version = "2.1";
  v.OldVersion = "";
  return v;
}

TEST(InstallBatchText, SetBlockInOrderThenTheCommands) {
  EXPECT_EQ(InstallBatchText(SampleValues(), "echo %InstallDir%\nmkdir x\r\n"),
            "@echo off\r\n"
            "SET InstallDir=c:\\Program Files\\Tool\r\n"
            "SET InstallDrive=C:\r\n"
            "SET Bits=64\r\n"
            "SET UninstallDir=c:\\Program Files\\Tool\\uninstall\r\n"
            "SET SharedDir=c:\\Shared\r\n"
            "SET InstallerFilepath=d:\\Downloads\\setup.exe\r\n"
            "SET InstallerDir=d:\\Downloads\r\n"
            "SET InstallerFilename=setup.exe\r\n"
            "SET InstallerDrive=D:\r\n"
            "SET SystemDir=C:\\W\\system32\r\n"
            "SET DeviceDir=C:\\W\\INF\r\n"
            "SET MediaDir=C:\\W\\Media\r\n"
            "SET FavoritesDir=U\\Favorites\r\n"
            "SET FavoritesAllDir=A\\Favorites\r\n"
            "SET FontDir=C:\\W\\Fonts\r\n"
            "SET DesktopDir=U\\Desktop\r\n"
            "SET DesktopAllDir=A\\Desktop\r\n"
            "SET DocumentDir=U\\Documents\r\n"
            "SET DocumentAllDir=A\\Documents\r\n"
            "SET ProductName=Tool\r\n"
            "SET ProgramsDir=C:\\Program Files\r\n"
            "SET StartMenuDir=U\\Start Menu\r\n"
            "SET StartMenuAllDir=A\\Start Menu\r\n"
            "SET SMProgramsDir=U\\Programs\r\n"
            "SET SMProgramsAllDir=A\\Programs\r\n"
            "SET StartupDir=U\\Startup\r\n"
            "SET StartupAllDir=A\\Startup\r\n"
            "SET BootDrive=C:\r\n"
            "SET CommonDir=C:\\Program Files\\Common Files\r\n"
            "SET Inetpub=c:\\Inetpub\r\n"
            "SET AppDataDir=U\\AppData\r\n"
            "SET AppDataAllDir=A\\AppData\r\n"
            "SET Version=2.1\r\n"
            "SET OldVersion=\r\n"
            "echo %InstallDir%\r\nmkdir x\r\n");
}

// The part of a batch from `from` (empty: its start) up to `to`.
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t start = from.empty() ? 0 : text.find(from);
  const std::size_t end = to.empty() ? text.size() : text.find(to);
  if (start == std::string::npos || end == std::string::npos) return "(missing)";
  return text.substr(start, end - start);
}

TEST(InstallBatchText, InstallFolderAndInstallerLines) {
  struct Case {
    const char* installDir;
    const char* installer;
    const char* head;  // up to "SET Bits"
    const char* installerLines;
  };
  const Case cases[] = {
      {"", "setup.exe", "@echo off\r\n",
       "SET InstallerFilepath=setup.exe\r\nSET InstallerDir=\r\nSET InstallerFilename=setup.exe\r\n"
       "SET InstallerDrive=\r\n"},
      {"\\\\server\\share\\Tool", "\\\\server\\share\\setup.exe",
       "@echo off\r\nSET InstallDir=\\\\server\\share\\Tool\r\nSET InstallDrive=\r\n",
       "SET InstallerFilepath=\\\\server\\share\\setup.exe\r\nSET InstallerDir=\\\\server\\share\r\n"
       "SET InstallerFilename=setup.exe\r\nSET InstallerDrive=\r\n"},
      {"e:\\Tool", "C:\\setup.exe", "@echo off\r\nSET InstallDir=e:\\Tool\r\nSET InstallDrive=E:\r\n",
       "SET InstallerFilepath=C:\\setup.exe\r\nSET InstallerDir=C:\r\nSET InstallerFilename=setup.exe\r\n"
       "SET InstallerDrive=C:\r\n"},
  };
  for (const Case& c : cases) {
    InstallBatchValues values = SampleValues();
    values.InstallDir = c.installDir;
    values.InstallerPath = c.installer;
    const std::string text = InstallBatchText(values, "x");
    EXPECT_EQ(Between(text, "", "SET Bits="), c.head) << c.installDir;
    EXPECT_EQ(Between(text, "SET InstallerFilepath=", "SET SystemDir="), c.installerLines) << c.installer;
  }
}

TEST(InstallBatchText, CommandsEndWithOneLineBreak) {
  struct Case {
    const char* commands;
    const char* tail;
  };
  const Case cases[] = {
      {"", ""},
      {"echo a", "echo a\r\n"},
      {"echo a\r\n", "echo a\r\n"},
      {"echo a\nb\rc\n\rd\r\n\r\n", "echo a\r\nb\r\nc\r\nd\r\n\r\n"},
  };
  for (const Case& c : cases) {
    const std::string text = InstallBatchText(SampleValues(), c.commands);
    EXPECT_TRUE(text.ends_with(std::string("SET Version=2.1\r\nSET OldVersion=\r\n") + c.tail)) << text;
  }
}

TEST(InstallBatchText, ValuesReachTheVariablesUnchanged) {
  struct Case {
    const char* value;
    const char* written;
  };
  const Case cases[] = {
      {"C:\\R&D Tools", "C:\\R^&D Tools"},
      {"100% <sure> | ^done", "100%% ^<sure^> ^| ^^done"},
      {"\"A&B\" & C", "\"A&B\" ^& C"},  // inside double quotes the interpreter takes them as they are
      {"a\"b&c", "a\"b&c"},
      {"two\r\nlines", "twolines"},
  };
  for (const Case& c : cases) {
    InstallBatchValues values = SampleValues();
    values.ProductName = c.value;
    EXPECT_EQ(Between(InstallBatchText(values, "x"), "SET ProductName=", "SET ProgramsDir="),
              std::string("SET ProductName=") + c.written + "\r\n")
        << c.value;
  }
}

TEST(InstallBatchCommand, ShortPathsAsTheyAreQuotedOnlyWithBlanks) {
  struct Case {
    const char* batch;
    const char* output;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\PROGRA~1\\Tool\\SETUPBAT.BAT", "", "\"C:\\W\\cmd.exe\" /e:10000 /c C:\\PROGRA~1\\Tool\\SETUPBAT.BAT"},
      {"C:\\PROGRA~1\\Tool\\SETUPBAT.BAT", "C:\\PROGRA~1\\Tool\\CS_BAT~1.LOG",
       "\"C:\\W\\cmd.exe\" /e:10000 /c C:\\PROGRA~1\\Tool\\SETUPBAT.BAT > C:\\PROGRA~1\\Tool\\CS_BAT~1.LOG"},
      {"D:\\My Tool\\SETUPBAT.BAT", "", "\"C:\\W\\cmd.exe\" /e:10000 /c \"\"D:\\My Tool\\SETUPBAT.BAT\"\""},
      {"D:\\My Tool\\SETUPBAT.BAT", "D:\\My Tool\\cs_batch.log",
       "\"C:\\W\\cmd.exe\" /e:10000 /c \"\"D:\\My Tool\\SETUPBAT.BAT\" > \"D:\\My Tool\\cs_batch.log\"\""},
  };
  for (const Case& c : cases) EXPECT_EQ(InstallBatchCommand("C:\\W\\cmd.exe", c.batch, c.output), c.expected);
}

TEST(BatchOutputLogText, TrimmedOutputUnderItsLabel) {
  struct Case {
    const char* output;
    const char* expected;
  };
  const Case cases[] = {
      {"", ""},
      {" \r\n\r\n\t", ""},
      {"done", "\r\nRunning Post-Installation Batch...\r\ndone\r\n\r\n"},
      {"\r\n  first\r\nsecond  \r\n\r\n", "\r\nRunning Post-Installation Batch...\r\nfirst\r\nsecond\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(BatchOutputLogText("Post-Installation Batch", c.output), c.expected);
}

// A machine whose shell names each of its folders "<number>" and knows nothing else.
class NumberedFolders final : public SystemFacts {
 public:
  std::string ShellFolder(int csidl) override { return "<" + std::to_string(csidl) + ">"; }
  std::string ShellFolderValue(bool, std::string_view) override { return {}; }
  std::string MachineValue(std::string_view, std::string_view) override { return {}; }
  std::string Environment(std::string_view) override { return {}; }
  bool ExpandEnvironment(std::string_view text, std::string& expanded) override {
    expanded = text;
    return true;
  }
  std::string WindowsFolder() override { return "C:\\W"; }
  std::string SystemFolder() override { return "C:\\W\\system32"; }
  std::string TempFolder() override { return "C:\\Temp"; }
  bool Is64BitWindows() override { return false; }
  bool IsNtBased() override { return true; }
  std::string InstallerPath() override { return "E:\\setup.exe"; }
};

TEST(InstallBatchValuesOf, EachVariableFromItsOwnSource) {
  NumberedFolders facts;
  RunValues run;
  run.InstallDir = "C:\\Tool";
  run.ProductName = "Tool";
  run.SharedPath = "C:\\Shared";
  run.UninstallDataDir = "C:\\Tool\\un";
  run.OldVersion = "1.0";
  run.Version = "2.0";
  const InstallBatchValues v = InstallBatchValuesOf(facts, run);
  const std::pair<std::string InstallBatchValues::*, const char*> expected[] = {
      {&InstallBatchValues::InstallDir, "C:\\Tool"},
      {&InstallBatchValues::Bits, "32"},
      {&InstallBatchValues::UninstallDir, "C:\\Tool\\un"},
      {&InstallBatchValues::SharedDir, "C:\\Shared"},
      {&InstallBatchValues::InstallerPath, "E:\\setup.exe"},
      {&InstallBatchValues::SystemDir, "C:\\W\\system32"},
      {&InstallBatchValues::DeviceDir, "C:\\W\\INF"},
      {&InstallBatchValues::MediaDir, "C:\\W\\Media"},
      {&InstallBatchValues::FavoritesDir, "<6>"},
      {&InstallBatchValues::FavoritesAllDir, "<31>"},
      {&InstallBatchValues::FontDir, "<20>"},
      {&InstallBatchValues::DesktopDir, "<16>"},
      {&InstallBatchValues::DesktopAllDir, "<25>"},
      {&InstallBatchValues::DocumentDir, "<5>"},
      {&InstallBatchValues::DocumentAllDir, "<46>"},
      {&InstallBatchValues::ProductName, "Tool"},
      {&InstallBatchValues::ProgramsDir, "<38>"},
      {&InstallBatchValues::StartMenuDir, "<11>"},
      {&InstallBatchValues::StartMenuAllDir, "<22>"},
      {&InstallBatchValues::SMProgramsDir, "<2>"},
      {&InstallBatchValues::SMProgramsAllDir, "<23>"},
      {&InstallBatchValues::StartupDir, "<7>"},
      {&InstallBatchValues::StartupAllDir, "<24>"},
      {&InstallBatchValues::BootDrive, "C:"},
      {&InstallBatchValues::CommonDir, "<43>"},
      {&InstallBatchValues::Inetpub, "c:\\Inetpub"},
      {&InstallBatchValues::AppDataDir, "<26>"},
      {&InstallBatchValues::AppDataAllDir, "<35>"},
      {&InstallBatchValues::Version, "2.0"},
      {&InstallBatchValues::OldVersion, "1.0"},
  };
  for (const auto& [field, value] : expected) EXPECT_EQ(v.*field, value);
}

}  // namespace
}  // namespace brennick
