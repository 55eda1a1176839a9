#include "engine/win/install_folder.h"

#include "engine/required_space.h"
#include "engine/win/earlier_install.h"
#include "foundation/byte_size.h"
#include "foundation/message_format.h"
#include "foundation/path_text.h"
#include "foundation/registry_path.h"
#include "foundation/text.h"
#include "foundation/win/file_system.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/system_error_text.h"
#include "run/folder_rules.h"
#include "run/win/message_boxes.h"
#include "run/win/reboot_replace.h"
#include "startup/installer_settings.h"
#include "startup/win/exit_installer.h"
#include "startup/win/machine_settings.h"

namespace brennick::win {

namespace {

bool IsNetworkDrive(char letter) { return letter != 0 && ::GetDriveTypeA(DriveRoot(letter).c_str()) == DRIVE_REMOTE; }

// A volume whose information cannot be read counts as read-only.
bool IsReadOnlyVolume(const std::string& root) {
  DWORD flagsWord = 0;
  if (!::GetVolumeInformationW(WidePath(root).c_str(), nullptr, 0, nullptr, nullptr, &flagsWord, nullptr, 0)) {
    return true;
  }
  return (flagsWord & FILE_READ_ONLY_VOLUME) != 0;
}

// The installation folder named by a registry value ("HKLM\\key\\value").
void FolderFromRegistry(Program& program, const RegistryValuePath& value) {
  InstallerState& state = program.state;
  const std::string& setting = state.Settings.DefaultInstallDir;
  const std::string folder = ReadRegistryString(value);
  if (folder.empty()) {
    ShowError(program, "Failed to obtain installation directory from \"" + setting + "\"");
    ExitInstaller(program, 1);
  }
  if (!IsFolder(folder)) {
    ShowError(program, "Installation directory \"" + folder + "\" obtained from \"" + setting + "\" does not exist.");
    ExitInstaller(program, 1);
  }
  state.InstallDir = folder;
  state.InstallDirFixed = true;
}

// One look at the folder the user chose; false sends the user back to the page.
bool AcceptFolder(Program& program) {
  InstallerState& state = program.state;
  const std::uint64_t flagsWord = state.Settings.ProductFlags;
  const auto folder = AbsoluteFolderText(state.InstallDir);
  if (!folder) {
    ShowError(program, Message(state, MessageId::kFolderNotValid) + "\r\n\r\n" + state.InstallDir);
    return false;
  }
  state.InstallDir = *folder;
  const char letter = DriveLetterOfFolder(*folder);
  if (letter != 0 && !DriveExists(letter)) {
    ShowError(program, FormatLanguageString(Message(state, MessageId::kDriveMissing), {letter}));
    return false;
  }
  if (HasFlag(flagsWord, flags::kRefuseNetworkDir) && (IsNetworkFolder(*folder) || IsNetworkDrive(letter))) {
    ShowError(program, Message(state, MessageId::kNetworkFolderRefused));
    return false;
  }
  if (folder->size() < 4) {
    ShowError(program, Message(state, MessageId::kDriveRootRefused));
    return false;
  }
  MachineSettings machine;
  const std::string programFiles = machine.ProgramFilesFolder();
  if (IsSameFolder(*folder, programFiles)) {
    ShowError(program, FormatLanguageString(Message(state, MessageId::kProgramFilesRefused), {programFiles}));
    return false;
  }
  // A network folder is checked on its share like a drive on its root.
  if (IsReadOnlyVolume(VolumeRoot(*folder)) ||
      (HasFlag(flagsWord, flags::kRefuseRemovableDir) && IsRemovableInstallDrive(*folder))) {
    ShowError(program,
              FormatLanguageString(Message(state, MessageId::kDriveNotWritable), {letter != 0 ? letter : '\\'}));
    return false;
  }
  state.RequiredSpace = ComputeRequiredSpace(program);
  const std::int64_t free = FreeSpace(*folder);
  if (!state.PreviousInstallFound && !state.AutomaticMode && free >= 0 && free < state.RequiredSpace) {
    const std::string question =
        FormatLanguageString(Message(state, MessageId::kNotEnoughSpace),
                             {FormatByteSize(state.RequiredSpace), letter != 0 ? letter : '\\', FormatByteSize(free)});
    if (!AskYesNo(program, question, Message(state, MessageId::kQuestionTitle))) return false;
  }
  const bool exists = IsFolder(*folder);
  if (HasFlag(flagsWord, flags::kConfirmInstallDir) &&
      !AskYesNo(
          program,
          FormatLanguageString(
              Message(state, exists ? MessageId::kConfirmExistingFolder : MessageId::kConfirmCreateFolder), {*folder}),
          Message(state, MessageId::kFolderPageTitle))) {
    return false;
  }
  if (!exists) {
    if (const std::uint32_t error = CreateFolderWithParents(*folder); error != 0) {
      ShowError(program,
                Message(state, MessageId::kFolderNotCreated) + "\r\n" + *folder + "\r\n\r\n" + SystemErrorText(error));
      return false;
    }
  }
  const std::string probe = CreateTempFile(*folder, "", true);
  if (probe.empty()) {
    ShowError(program, FormatLanguageString(Message(state, MessageId::kFolderNotWritable), {*folder}));
    return false;
  }
  ::DeleteFileW(WidePath(probe).c_str());
  return true;
}

void FolderPageLoop(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  for (;;) {
    if (ui.ShowFolderPage(state.InstallDir) == PageResult::Cancel) CancelInstall(program);
    state.InstallDir = std::string(TrimWhiteSpace(state.InstallDir));
    if (!state.InstallDir.empty() && AcceptFolder(program)) return;
  }
}

}  // namespace

bool IsRemovableInstallDrive(const std::string& folder) {
  const char letter = DriveLetterOfFolder(PathBody(folder));
  if (letter == 0) return false;
  const UINT type = ::GetDriveTypeA(DriveRoot(letter).c_str());
  return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

std::int64_t FreeSpace(const std::string& folder) {
  ULARGE_INTEGER available{};
  const char letter = DriveLetterOfFolder(folder);
  const std::string root = letter != 0 ? DriveRoot(letter) : folder;
  if (!::GetDiskFreeSpaceExW(WidePath(root).c_str(), &available, nullptr, nullptr)) return -1;
  return static_cast<std::int64_t>(available.QuadPart);
}

std::int64_t ComputeRequiredSpace(const Program& program) {
  return ComputeRequiredSpace(program, program.state.InstallDir);
}

std::int64_t ComputeRequiredSpace(const Program& program, const std::string& folder) {
  const InstallerState& state = program.state;
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  DWORD clusters = 0;
  const char letter = DriveLetterOfFolder(PathBody(folder));
  std::int64_t unit = 0;
  if (letter != 0 &&
      ::GetDiskFreeSpaceA(DriveRoot(letter).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
    unit = std::int64_t{sectorsPerCluster} * bytesPerSector;
  }
  // The base amount is the uninstaller the installation leaves behind.
  std::int64_t base = 0;
  if (HasFlag(state.Settings.ProductFlags, flags::kUninstaller)) {
    base = state.UninstallerImageSize > 0 ? state.UninstallerImageSize : state.OwnFileSize;
  }
  return RequiredSpace(state.FileDataSizes, unit, state.Settings.ExtraDiskSpace, base);
}

void ChooseInstallFolder(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  if (const auto value = ParseRegistryFolderSetting(state.Settings.DefaultInstallDir)) {
    FolderFromRegistry(program, *value);
    return;
  }
  if (HasFlag(state.Settings.ProductFlags, flags::kUninstaller) && state.PreviousInstallFound) {
    ConfirmOverEarlierInstallation(program, ui);
    state.InstallDir = state.PreviousInstallDir;
    state.InstallDirFixed = true;
    return;
  }
  state.InstallDirFixed = false;
  if (state.InstallDir.empty()) state.InstallDir = state.Settings.DefaultInstallDir;
  if (!state.AutomaticMode && HasFlag(state.Settings.ProductFlags, flags::kAskInstallDir)) {
    FolderPageLoop(program, ui);
  } else {
    CreateFolderWithParents(state.InstallDir);
  }
}

}  // namespace brennick::win
