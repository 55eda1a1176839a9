#include "run/install_batch_text.h"

#include "foundation/open_error.h"
#include "foundation/path_text.h"
#include "foundation/text.h"
#include "package/line_breaks.h"

namespace brennick {

namespace {

// The environment size asked of interpreters that still have a fixed one.
constexpr int kEnvironmentSize = 10000;

// "X:" for a path that begins with a drive letter, else empty.
std::string DriveOf(std::string_view path) {
  const char letter = DriveLetterOf(PathBody(path));
  return letter != 0 ? std::string(1, letter) + ":" : std::string();
}

// A value as the right-hand side of a SET line.
std::string SetValueText(std::string_view value) {
  std::string text;
  bool quoted = false;
  for (const char c : value) {
    if (c == '\r' || c == '\n') continue;
    if (c == '%') {
      text += "%%";
      continue;
    }
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && std::string_view("&|<>^").find(c) != std::string_view::npos) {
      text += '^';
    }
    text += c;
  }
  return text;
}

bool IsPauseLine(std::string_view line) {
  line = TrimWhiteSpace(line);
  if (line.starts_with('@')) line = TrimWhiteSpace(line.substr(1));
  return EqualsNoCase(line, "PAUSE");
}

std::string QuotedWhenBlank(std::string_view path) {
  if (path.find(' ') == std::string_view::npos) return std::string(path);
  return "\"" + std::string(path) + "\"";
}

}  // namespace

InstallBatchValues InstallBatchValuesOf(SystemFacts& facts, const RunValues& run) {
  InstallerFolders folders(facts);
  InstallBatchValues v;
  v.InstallDir = run.InstallDir;
  v.Bits = facts.Is64BitWindows() ? "64" : "32";
  v.UninstallDir = run.UninstallDataDir;
  v.SharedDir = run.SharedPath;
  v.InstallerPath = facts.InstallerPath();
  v.SystemDir = folders.SystemDir();
  v.DeviceDir = folders.DeviceDir();
  v.MediaDir = folders.MediaDir();
  v.FavoritesDir = folders.FavoritesDir();
  v.FavoritesAllDir = folders.FavoritesAllDir();
  v.FontDir = folders.FontDir();
  v.DesktopDir = folders.DesktopDir();
  v.DesktopAllDir = folders.DesktopAllDir();
  v.DocumentDir = folders.DocumentDir();
  v.DocumentAllDir = folders.DocumentAllDir();
  v.ProductName = run.ProductName;
  v.ProgramsDir = folders.ProgramsDir();
  v.StartMenuDir = folders.StartMenuDir();
  v.StartMenuAllDir = folders.StartMenuAllDir();
  v.SMProgramsDir = folders.SMProgramsDir();
  v.SMProgramsAllDir = folders.SMProgramsAllDir();
  v.StartupDir = folders.StartupDir();
  v.StartupAllDir = folders.StartupAllDir();
  v.BootDrive = folders.BootDrive();
  v.CommonDir = folders.CommonDir();
  v.Inetpub = folders.Inetpub();
  v.AppDataDir = folders.AppDataDir();
  v.AppDataAllDir = folders.AppDataAllDir();
  v.Version = run.Version;
  v.OldVersion = run.OldVersion;
  return v;
}

std::string JoinBatchCommands(std::string_view settingsText, std::string_view extra) {
  std::string joined(settingsText);
  if (!joined.empty() && !joined.ends_with('\n') && !joined.ends_with('\r')) joined += "\r\n";
  joined += extra;
  return joined;
}

std::string RemovePauseLines(std::string_view commands) {
  const std::string text = NormalizeLineBreaks(commands);
  std::string kept;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    const std::string_view line = std::string_view(text).substr(start, end == std::string::npos ? end : end - start);
    const bool last = end == std::string::npos;
    if (!IsPauseLine(line)) {
      kept += line;
      if (!last) kept += "\r\n";
    }
    if (last) break;
    start = end + 2;
  }
  return kept;
}

std::string InstallBatchText(const InstallBatchValues& values, std::string_view commands) {
  std::string text = "@echo off\r\n";
  const auto set = [&text](std::string_view name, std::string_view value) {
    text.append("SET ").append(name).append("=").append(SetValueText(value)).append("\r\n");
  };
  if (!values.InstallDir.empty()) {
    set("InstallDir", values.InstallDir);
    set("InstallDrive", DriveOf(values.InstallDir));
  }
  set("Bits", values.Bits);
  set("UninstallDir", values.UninstallDir);
  set("SharedDir", values.SharedDir);

  const std::string& installer = values.InstallerPath;
  const std::size_t cut = installer.find_last_of('\\');
  set("InstallerFilepath", installer);
  set("InstallerDir", cut == std::string::npos ? std::string_view() : std::string_view(installer).substr(0, cut));
  set("InstallerFilename", cut == std::string::npos ? std::string_view(installer)
                                                    : std::string_view(installer).substr(cut + 1));
  set("InstallerDrive", DriveOf(installer));

  set("SystemDir", values.SystemDir);
  set("DeviceDir", values.DeviceDir);
  set("MediaDir", values.MediaDir);
  set("FavoritesDir", values.FavoritesDir);
  set("FavoritesAllDir", values.FavoritesAllDir);
  set("FontDir", values.FontDir);
  set("DesktopDir", values.DesktopDir);
  set("DesktopAllDir", values.DesktopAllDir);
  set("DocumentDir", values.DocumentDir);
  set("DocumentAllDir", values.DocumentAllDir);
  set("ProductName", values.ProductName);
  set("ProgramsDir", values.ProgramsDir);
  set("StartMenuDir", values.StartMenuDir);
  set("StartMenuAllDir", values.StartMenuAllDir);
  set("SMProgramsDir", values.SMProgramsDir);
  set("SMProgramsAllDir", values.SMProgramsAllDir);
  set("StartupDir", values.StartupDir);
  set("StartupAllDir", values.StartupAllDir);
  set("BootDrive", values.BootDrive);
  set("CommonDir", values.CommonDir);
  set("Inetpub", values.Inetpub);
  set("AppDataDir", values.AppDataDir);
  set("AppDataAllDir", values.AppDataAllDir);
  set("Version", values.Version);
  set("OldVersion", values.OldVersion);

  text += NormalizeLineBreaks(commands);
  if (!text.ends_with("\r\n")) text += "\r\n";
  return text;
}

std::string InstallBatchCommand(std::string_view interpreter, std::string_view batch, std::string_view output) {
  std::string run = QuotedWhenBlank(batch);
  if (!output.empty()) run += " > " + QuotedWhenBlank(output);
  if (run.find('"') != std::string::npos) run = "\"" + run + "\"";
  return "\"" + std::string(interpreter) + "\" /e:" + std::to_string(kEnvironmentSize) + " /c " + run;
}

std::string BatchOutputLogText(std::string_view label, std::string_view output) {
  const std::string_view trimmed = TrimWhiteSpace(output);
  if (trimmed.empty()) return {};
  std::string text = "\r\nRunning ";
  text.append(label).append("...\r\n").append(trimmed).append("\r\n\r\n");
  return text;
}

}  // namespace brennick
