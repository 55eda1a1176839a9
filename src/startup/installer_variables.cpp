#include "startup/installer_variables.h"

#include <functional>

#include "foundation/open_error.h"
#include "foundation/text.h"
#include "startup/resolve_path.h"

namespace brennick {

namespace {

// Shell special-folder numbers.
namespace csidl {
constexpr int kPrograms = 2, kPersonal = 5, kFavorites = 6, kStartup = 7, kStartMenu = 11, kDesktop = 16,
              kFonts = 20, kCommonStartMenu = 22, kCommonPrograms = 23, kCommonStartup = 24,
              kCommonDesktop = 25, kAppData = 26, kCommonFavorites = 31, kCommonAppData = 35,
              kProgramFiles = 38, kProgramFilesCommon = 43, kCommonDocuments = 46;
}  // namespace csidl

constexpr std::string_view kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

std::string FirstOf(std::initializer_list<std::function<std::string()>> sources) {
  for (const auto& source : sources) {
    std::string value = source();
    if (!value.empty()) return value;
  }
  return {};
}

std::string ParentOf(std::string_view path) {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

}  // namespace

std::string InstallerFolders::Registry(std::string value) {
  if (value.size() > 3 && value.back() == '\\') value.pop_back();
  return value;
}
std::string InstallerFolders::AllUsers(std::string_view name) { return Registry(facts_.ShellFolderValue(true, name)); }
std::string InstallerFolders::User(std::string_view name) { return Registry(facts_.ShellFolderValue(false, name)); }
std::string InstallerFolders::Setting(std::string_view name) {
  return Registry(facts_.MachineValue(kCurrentVersion, name));
}

std::string InstallerFolders::AppDataAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonAppData); }, [&] { return AllUsers("Common AppData"); },
                  [&] { return CommonDir(); }});
}
std::string InstallerFolders::AppDataDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kAppData); }, [&] { return User("AppData"); },
                  [&] { return CommonDir(); }});
}
std::string InstallerFolders::BootDrive() {
  const std::string bootDir = facts_.MachineValue(std::string(kCurrentVersion) + "\\Setup", "BootDir");
  const char letter = DriveLetterOf(bootDir);
  return std::string(1, letter != 0 ? letter : 'C') + ":";
}
std::string InstallerFolders::CommonDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kProgramFilesCommon); },
                  [&] { return Setting("CommonFilesDir"); }, [&] { return JoinPath(ProgramsDir(), "Common Files"); }});
}
std::string InstallerFolders::DesktopAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonDesktop); }, [&] { return AllUsers("Common Desktop"); },
                  [&] { return DesktopDir(); }});
}
std::string InstallerFolders::DesktopDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kDesktop); }, [&] { return User("Desktop"); },
                  [&] { return JoinPath(WinDir(), "Desktop"); }});
}
std::string InstallerFolders::DeviceDir() {
  std::string path = Setting("DevicePath");
  path = path.substr(0, path.find(';'));
  if (path.empty()) return JoinPath(WinDir(), "INF");
  return ReplaceAllNoCase(path, "%SystemRoot%", facts_.Environment("SystemRoot"));
}
std::string InstallerFolders::DocumentAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonDocuments); },
                  [&] { return AllUsers("Common Documents"); }, [&] { return DocumentDir(); }});
}
std::string InstallerFolders::DocumentDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kPersonal); }, [&] { return User("Personal"); },
                  [] { return std::string("c:\\My Documents"); }});
}
std::string InstallerFolders::FavoritesAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonFavorites); },
                  [&] { return AllUsers("Common Favorites"); }, [&] { return FavoritesDir(); }});
}
std::string InstallerFolders::FavoritesDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kFavorites); }, [&] { return User("Favorites"); },
                  [&] { return JoinPath(WinDir(), "Favorites"); }});
}
std::string InstallerFolders::FontDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kFonts); }, [&] { return User("Fonts"); },
                  [&] { return JoinPath(WinDir(), "Fonts"); }});
}
std::string InstallerFolders::Inetpub() {
  std::string root = facts_.MachineValue("SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot");
  if (!root.empty()) {
    std::string expanded;
    if (facts_.ExpandEnvironment(root, expanded)) root = expanded;
  }
  if (root.empty()) root = "c:\\Inetpub\\wwwroot";
  return ParentOf(Registry(root));
}
std::string InstallerFolders::MediaDir() {
  return FirstOf({[&] { return Setting("MediaPath"); }, [&] { return JoinPath(WinDir(), "Media"); }});
}
std::string InstallerFolders::ProgramsDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kProgramFiles); }, [&] { return Setting("ProgramFilesDir"); },
                  [] { return std::string("c:\\Program Files"); }});
}
std::string InstallerFolders::SMProgramsAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonPrograms); }, [&] { return AllUsers("Common Programs"); },
                  [&] { return ParentOf(AllUsers("Common Startup")); }, [&] { return SMProgramsDir(); }});
}
std::string InstallerFolders::SMProgramsDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kPrograms); }, [&] { return User("Programs"); },
                  [&] { return JoinPath(StartMenuDir(), "Programs"); }});
}
std::string InstallerFolders::StartMenuAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonStartMenu); },
                  [&] { return AllUsers("Common Start Menu"); },
                  [&] { return ParentOf(ParentOf(AllUsers("Common Startup"))); }, [&] { return StartMenuDir(); }});
}
std::string InstallerFolders::StartMenuDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kStartMenu); }, [&] { return User("Start Menu"); },
                  [&] { return JoinPath(WinDir(), "Start Menu"); }});
}
std::string InstallerFolders::StartupAllDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kCommonStartup); }, [&] { return AllUsers("Common Startup"); },
                  [&] { return StartupDir(); }});
}
std::string InstallerFolders::StartupDir() {
  return FirstOf({[&] { return facts_.ShellFolder(csidl::kStartup); }, [&] { return User("Startup"); },
                  [&] { return JoinPath(SMProgramsDir(), "StartUp"); }});
}
std::string InstallerFolders::SystemDir() {
  std::string folder = facts_.SystemFolder();
  if (folder.empty()) folder = JoinPath(WinDir(), facts_.IsNtBased() ? "System32" : "System");
  return folder;
}
std::string InstallerFolders::Temp() {
  std::string folder = facts_.TempFolder();
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder.empty() ? std::string("c:\\temp") : folder;
}
std::string InstallerFolders::WinDir() { return facts_.WindowsFolder(); }

bool ExpandVariables(std::string& text, SystemFacts& facts, const RunValues& run) {
  InstallerFolders f(facts);
  const std::string installer = facts.InstallerPath();
  const std::size_t cut = installer.find_last_of('\\');
  const char installDrive = DriveLetterOf(run.InstallDir);
  const char installerDrive = DriveLetterOf(installer);

  // In table order: a value that holds a later name is expanded too.
  const std::pair<std::string_view, std::function<std::string()>> table[] = {
      {"%AppDataAllDir%", [&] { return f.AppDataAllDir(); }},
      {"%AppDataDir%", [&] { return f.AppDataDir(); }},
      {"%Bits%", [&] { return std::string(facts.Is64BitWindows() ? "64" : "32"); }},
      {"%BootDrive%", [&] { return f.BootDrive(); }},
      {"%CommonDir%", [&] { return f.CommonDir(); }},
      {"%DesktopAllDir%", [&] { return f.DesktopAllDir(); }},
      {"%DesktopDir%", [&] { return f.DesktopDir(); }},
      {"%DeviceDir%", [&] { return f.DeviceDir(); }},
      {"%DocumentAllDir%", [&] { return f.DocumentAllDir(); }},
      {"%DocumentDir%", [&] { return f.DocumentDir(); }},
      {"%FavoritesAllDir%", [&] { return f.FavoritesAllDir(); }},
      {"%FavoritesDir%", [&] { return f.FavoritesDir(); }},
      {"%FontDir%", [&] { return f.FontDir(); }},
      {"%Inetpub%", [&] { return f.Inetpub(); }},
      {"%InstallDir%", [&] { return run.InstallDir; }},
      {"%InstallDrive%", [&] { return installDrive != 0 ? std::string(1, installDrive) + ":" : std::string(); }},
      {"%InstallerDir%", [&] { return cut == std::string::npos ? std::string() : installer.substr(0, cut); }},
      {"%InstallerDrive%", [&] { return installerDrive != 0 ? std::string(1, installerDrive) : std::string(); }},
      {"%InstallerFilename%", [&] { return cut == std::string::npos ? installer : installer.substr(cut + 1); }},
      {"%InstallerFilepath%", [&] { return installer; }},
      {"%MediaDir%", [&] { return f.MediaDir(); }},
      {"%OldVersion%", [&] { return run.OldVersion; }},
      {"%ProductName%", [&] { return run.ProductName; }},
      {"%ProgramsDir%", [&] { return f.ProgramsDir(); }},
      {"%SharedDir%", [&] { return run.SharedPath; }},
      {"%SMProgramsAllDir%", [&] { return f.SMProgramsAllDir(); }},
      {"%SMProgramsDir%", [&] { return f.SMProgramsDir(); }},
      {"%StartMenuAllDir%", [&] { return f.StartMenuAllDir(); }},
      {"%StartMenuDir%", [&] { return f.StartMenuDir(); }},
      {"%StartupAllDir%", [&] { return f.StartupAllDir(); }},
      {"%StartupDir%", [&] { return f.StartupDir(); }},
      {"%SystemDir%", [&] { return f.SystemDir(); }},
      {"%Temp%", [&] { return f.Temp(); }},
      {"%UninstallDir%", [&] { return run.UninstallDataDir; }},
      {"%Version%", [&] { return run.Version; }},
      {"%WinDir%", [&] { return f.WinDir(); }},
  };
  for (const auto& [name, value] : table) {
    // Computed only when the name is there: some values ask the registry.
    if (text.find('%') == std::string::npos) break;
    if (FindNoCase(text, name) != std::string::npos) text = ReplaceAllNoCase(text, name, value());
  }
  std::string expanded;
  if (!facts.ExpandEnvironment(text, expanded)) return false;
  text = std::move(expanded);
  return true;
}

}  // namespace brennick
