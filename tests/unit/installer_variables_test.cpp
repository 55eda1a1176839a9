#include "startup/installer_variables.h"

#include <gtest/gtest.h>

#include <map>

#include "foundation/text.h"

namespace brennick {
namespace {

// A machine described by maps; whatever is not in them is missing.
class FakeFacts final : public SystemFacts {
 public:
  std::map<int, std::string> shell;
  std::map<std::string, std::string> allUsers, user, machine, environment;
  bool environmentFails = false;

  std::string ShellFolder(int csidl) override { return Find(shell, csidl); }
  std::string ShellFolderValue(bool all, std::string_view name) override {
    return Find(all ? allUsers : user, std::string(name));
  }
  std::string MachineValue(std::string_view key, std::string_view name) override {
    return Find(machine, std::string(key) + "|" + std::string(name));
  }
  std::string Environment(std::string_view name) override { return Find(environment, std::string(name)); }
  bool ExpandEnvironment(std::string_view text, std::string& expanded) override {
    if (environmentFails) return false;
    expanded = std::string(text);
    for (const auto& [name, value] : environment) expanded = ReplaceAll(expanded, "%" + name + "%", value);
    return true;
  }
  std::string WindowsFolder() override { return "C:\\Windows"; }
  std::string SystemFolder() override { return system; }
  std::string TempFolder() override { return "C:\\Temp\\"; }
  bool Is64BitWindows() override { return true; }
  bool IsNtBased() override { return true; }
  std::string InstallerPath() override { return "D:\\Downloads\\setup.exe"; }

  std::string system = "C:\\Windows\\system32";

 private:
  template <class Map, class Key>
  static std::string Find(const Map& map, const Key& key) {
    const auto it = map.find(key);
    return it == map.end() ? std::string() : it->second;
  }
};

const std::string kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion|";

std::string Expand(std::string text, FakeFacts& facts, const RunValues& run = {}) {
  EXPECT_TRUE(ExpandVariables(text, facts, run));
  return text;
}

TEST(ExpandVariables, NamesInAnyCaseThenTheEnvironment) {
  FakeFacts facts;
  facts.environment["SystemRoot"] = "C:\\Windows";
  RunValues run;
  run.InstallDir = "C:\\Program Files\\Tool";
  EXPECT_EQ(Expand("%installdir%\\bin", facts, run), "C:\\Program Files\\Tool\\bin");
  EXPECT_EQ(Expand("%WINDIR% %SystemRoot% %NoSuchName%", facts), "C:\\Windows C:\\Windows %NoSuchName%");
  EXPECT_EQ(Expand("%Bits% %Temp% %SystemDir%", facts), "64 C:\\Temp C:\\Windows\\system32");
}

TEST(ExpandVariables, LaterNamesInValuesAreExpandedEarlierOnesNot) {
  FakeFacts facts;
  RunValues run;
  run.InstallDir = "C:\\T";
  run.ProductName = "Tool %Version% in %InstallDir%";
  run.Version = "2.1";
  EXPECT_EQ(Expand("%ProductName%", facts, run), "Tool 2.1 in %InstallDir%");
}

TEST(ExpandVariables, DrivesAndInstallerParts) {
  FakeFacts facts;
  RunValues run;
  run.InstallDir = "\\\\server\\share\\Tool";
  EXPECT_EQ(Expand("[%InstallDrive%] %InstallerDrive% %InstallerDir% %InstallerFilename%", facts, run),
            "[] D D:\\Downloads setup.exe");
  run.InstallDir = "e:\\Tool";
  EXPECT_EQ(Expand("%InstallDrive%", facts, run), "E:");
  facts.machine[kCurrentVersion.substr(0, kCurrentVersion.size() - 1) + "\\Setup|BootDir"] = "d:\\";
  EXPECT_EQ(Expand("%BootDrive%", facts), "D:");
  facts.machine[kCurrentVersion.substr(0, kCurrentVersion.size() - 1) + "\\Setup|BootDir"] = "\\\\x";
  EXPECT_EQ(Expand("%BootDrive%", facts), "C:");
}

TEST(ExpandVariables, EnvironmentFailureKeepsTheTableStep) {
  FakeFacts facts;
  facts.environmentFails = true;
  std::string text = "%WinDir%\\%SystemRoot%";
  EXPECT_FALSE(ExpandVariables(text, facts, {}));
  EXPECT_EQ(text, "C:\\Windows\\%SystemRoot%");
}

TEST(InstallerFolders, FallbackChains) {
  FakeFacts facts;
  InstallerFolders folders(facts);
  // Nothing known: the fixed fallbacks.
  EXPECT_EQ(folders.ProgramsDir(), "c:\\Program Files");
  EXPECT_EQ(folders.CommonDir(), "c:\\Program Files\\Common Files");
  EXPECT_EQ(folders.AppDataAllDir(), "c:\\Program Files\\Common Files");  // no common application data at all
  EXPECT_EQ(folders.DocumentDir(), "c:\\My Documents");
  EXPECT_EQ(folders.StartupDir(), "C:\\Windows\\Start Menu\\Programs\\StartUp");
  EXPECT_EQ(folders.DeviceDir(), "C:\\Windows\\INF");
  EXPECT_EQ(folders.Inetpub(), "c:\\Inetpub");
  facts.system.clear();
  EXPECT_EQ(folders.SystemDir(), "C:\\Windows\\System32");

  // Registry values lose a trailing backslash, but a drive root keeps it.
  facts.machine[kCurrentVersion + "ProgramFilesDir"] = "D:\\Apps\\";
  EXPECT_EQ(folders.ProgramsDir(), "D:\\Apps");
  facts.machine[kCurrentVersion + "ProgramFilesDir"] = "D:\\";
  EXPECT_EQ(folders.ProgramsDir(), "D:\\");
  facts.shell[38] = "E:\\Program Files";
  EXPECT_EQ(folders.ProgramsDir(), "E:\\Program Files");  // the shell first

  // All-users Start menu from the common Startup folder's grandparent.
  facts.allUsers["Common Startup"] = "C:\\All\\Start Menu\\Programs\\Startup";
  EXPECT_EQ(folders.StartMenuAllDir(), "C:\\All\\Start Menu");
  EXPECT_EQ(folders.SMProgramsAllDir(), "C:\\All\\Start Menu\\Programs");

  facts.machine[kCurrentVersion + "DevicePath"] = "%SystemRoot%\\inf;D:\\drivers";
  facts.environment["SystemRoot"] = "C:\\WINNT";
  EXPECT_EQ(folders.DeviceDir(), "C:\\WINNT\\inf");
  facts.machine["SOFTWARE\\Microsoft\\INetStp|PathWWWRoot"] = "%SystemDrive%\\web\\root\\";
  facts.environment["SystemDrive"] = "F:";
  EXPECT_EQ(folders.Inetpub(), "F:\\web");
}

}  // namespace
}  // namespace brennick
