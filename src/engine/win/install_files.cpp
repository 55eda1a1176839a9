#include "engine/win/install_files.h"

#include <cstdio>
#include <set>

#include "engine/file_queues.h"
#include "engine/overwrite_rules.h"
#include "engine/win/bind_image.h"
#include "engine/win/write_installed_file.h"
#include "foundation/checked_array.h"
#include "foundation/text.h"
#include "foundation/win/file_system.h"
#include "foundation/win/file_version.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/system_error_text.h"
#include "foundation/win/windows_version.h"
#include "foundation/win/x86_view.h"
#include "package/archive_reader.h"
#include "run/win/file_times.h"
#include "run/win/install_log.h"
#include "startup/installer_settings.h"
#include "startup/own_file_name.h"
#include "startup/win/machine_settings.h"

namespace brennick::win {

namespace {

// The file at a destination, looked at only as far as a rule asks.
class ExistingDestination final : public ExistingFile {
 public:
  explicit ExistingDestination(const std::string& path) : path_(path) {}
  bool Exists() override { return PathExists(path_); }
  std::optional<FileStamp> LastWrite() override { return ReadLastWriteStamp(path_); }
  std::string Version() override { return ReadFileVersion(path_); }

 private:
  const std::string& path_;
};

// Makes the destination's folder. False, with the failure reported, when it
// cannot be made. A folder made (or found) earlier in this run is not asked
// for again: a folder removed meanwhile is made again by the write's retry.
bool MakeFolderOf(Program& program, const FileRecord& r, const std::string& destination,
                  std::set<std::string>& madeFolders) {
  InstallerState& state = program.state;
  const std::string folder = FolderOf(destination);
  if (folder.empty() || EqualsNoCase(folder, state.InstallDir)) return true;
  const std::string key = LowerAscii(folder);
  const std::uint32_t error = madeFolders.contains(key) ? 0 : CreateFolderWithParents(folder);
  if (error != 0) {
    // A file in the way is the likely cause, and the system's text for it is
    // no help to the user.
    const std::string reason = IsFile(folder) || error == ERROR_FILE_EXISTS
                                   ? std::string("Cannot create directory because there is a file with the same name.")
                                   : SystemErrorText(error);
    AddFailures(program, {Message(state, MessageId::kFolderNotCreated), " ", folder, "\r\n", reason,
                          "\r\n\r\nNot installed: ", destination, "\r\n\r\n"});
    return false;
  }
  madeFolders.insert(key);
  if (!IsPermanentFile(r) && (IsInstallFolderKind(r.Kind) || r.Kind == FileKind::kShared)) {
    RecordRemoval(state.Lists, 1, folder);
  }
  return true;
}

void RegisterFont(Program& program, const FileRecord& r, const std::string& destination) {
  InstallerState& state = program.state;
  // A font that is not registered is not there for the user: the log says so.
  const OpenedKey fonts = CreateKey(HKEY_LOCAL_MACHINE, FontsRegistryKey(), KEY_SET_VALUE);
  const LONG registered =
      fonts.ok() ? ::RegSetValueExA(fonts.get(), r.Label.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(r.Name.c_str()), static_cast<DWORD>(r.Name.size() + 1))
                 : static_cast<LONG>(fonts.windowsError);
  if (registered != ERROR_SUCCESS) {
    LogTexts(program, {"Registering font ", r.Label, " : FAILED\r\n", SystemErrorText(static_cast<DWORD>(registered)),
                       "\r\n"});
  }
  if (::AddFontResourceW(WidePath(destination).c_str()) == 0) {
    LogTexts(program, {"Adding font resource ", destination, " : FAILED\r\n"});
  }
  if (!IsPermanentFile(r)) state.Lists.ProductFonts += "\"" + r.Label + "\" \"" + r.Name + "\" ";
  state.Lists.FontsInstalled = true;
}

void AfterWrite(Program& program, const FileRecord& r, const std::string& destination) {
  InstallLists& lists = program.state.Lists;
  switch (r.Kind) {
    case FileKind::kFont:
      RegisterFont(program, r, destination);
      break;
    case FileKind::kInfDriver:
      lists.DriverList.push_back(destination);
      break;
    case FileKind::kMsiPackage:
      lists.MsiPackages.push_back({destination, r.MsiUiLevel,
                                   (static_cast<std::uint32_t>(r.FileFlags) & file_flags::kRemoveMsiAtUninstall) != 0});
      break;
    case FileKind::kControlPanelApplet:
      lists.Applets.push_back({r.Label, destination});
      break;
    default:
      break;
  }
  if (HasFlag(program.state.Settings.ProductFlags, flags::kBindExecutables) && EndsWithNoCase(destination, "exe")) {
    const std::uint32_t error = BindExecutable(destination);
    LogTexts(program, {"Binding ", destination, " : "});
    if (error == 0) {
      LogText(program, "OK\r\n");
    } else {
      LogTexts(program, {"FAILED\r\n", SystemErrorText(error), "\r\n"});
    }
  }
}

void InstallItem(Program& program, InstallUi& ui, FileItem item, const DestinationFolders& folders,
                 MachineSettings& machine, std::set<std::string>& madeFolders) {
  InstallerState& state = program.state;
  FileRecord& r = item.record;
  const FileDestination destination = ResolveFileDestination(r, folders, [&](const std::string& text) {
    return machine.ExpandVariables(text, RunValuesOf(state));
  });
  const std::string& path = destination.path;
  const std::string logLine = std::string(FileNameOf(r.Name)) + " >>> " + path;
  const bool hideName = HasFlag(state.Settings.ProductFlags, flags::kHideFileNames) ||
                        r.Name.find("b/0@+") != std::string::npos;
  ui.ShowProgressItem(path, hideName ? std::optional(MessageId::kInstalling) : std::nullopt, item.data.size());

  QueueByKind(state.Lists, r, path);
  ExistingDestination existing(path);
  const OverwriteVerdict verdict = JudgeOverwrite(r, path, existing);
  if (!verdict.logText.empty()) LogText(program, verdict.logText);
  if (verdict.recordForUninstall) RecordRemoval(state.Lists, 0, path);
  if (!verdict.write) return;

  QueueShortcut(state.Lists, r, path);
  if (destination.createFolders && !MakeFolderOf(program, r, path, madeFolders)) return;
  if (!IsPermanentFile(r) && IsInstallFolderKind(r.Kind)) RecordRemoval(state.Lists, 0, path);
  bool registered = false;
  if (!WriteInstalledFile(program, path, item.data, r.Stamp, r.Attributes, verdict.existedBefore, registered)) return;
  if (HasFlag(state.Settings.ProductFlags, flags::kLogFiles)) LogTexts(program, {logLine, "\r\n"});
  AfterWrite(program, r, path);
  state.Lists.WrittenSet.insert(LowerAscii(path));
}

}  // namespace

void InstallFiles(Program& program, InstallUi& ui, std::span<const std::uint8_t> stored,
                  const DestinationFolders& folders) {
  InstallerState& state = program.state;
  const std::int32_t count = program.packageHeader.FileCount;
  MachineSettings machine;
  ArchiveRecords records(stored, state.Settings.ProductFlags);
  std::set<std::string> madeFolders;  // lower case
  for (std::int32_t i = 0; i < count; ++i) {
    const std::span<const std::uint8_t> body = records.Next([&] { ui.SetStatus(MessageId::kStatusReadingArchive); });
    // Setting the position also lets the waiting window messages through.
    ui.SetProgress(28 + static_cast<int>(static_cast<std::int64_t>(i) * 62 / count));
    const FileItem item = ReadFileItem(body, CheckedAt(state.FileDataSizes, static_cast<long long>(i), "int"));
    InstallItem(program, ui, item, folders, machine, madeFolders);
  }
  records.Finish();
}

}  // namespace brennick::win
