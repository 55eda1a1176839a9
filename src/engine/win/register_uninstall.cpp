#include "engine/win/register_uninstall.h"

#include <cstring>

#include "engine/win/earlier_install.h"
#include "engine/win/uninstaller_icon.h"
#include "engine/win/write_installed_file.h"
#include "foundation/win/file_system.h"
#include "foundation/win/grant_access.h"
#include "foundation/win/local_time.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/short_path.h"
#include "foundation/win/system_error_text.h"
#include "foundation/win/whole_file.h"
#include "foundation/win/x86_view.h"
#include "run/collect_uninstall_data.h"
#include "run/uninstall_data.h"
#include "run/uninstall_key_values.h"
#include "run/win/install_log.h"
#include "run/win/reboot_replace.h"
#include "run/win/uninstall_data_file.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/machine_settings.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

namespace {

// The running program copied over an uninstaller that may be running: the
// copy then waits in a temporary file for the next restart.
void CopyRunningProgram(Program& program, const std::string& target) {
  InstallerState& state = program.state;
  const std::wstring source = WidePath(ModuleFileName());
  if (::CopyFileW(source.c_str(), WidePath(target).c_str(), FALSE)) return;
  const std::string temporary = CreateTempFile(FolderOf(target), "", false);
  if (temporary.empty() || (GrantFullAccessToEveryone(temporary), !::CopyFileW(source.c_str(), WidePath(temporary).c_str(), FALSE))) {
    const DWORD error = ::GetLastError();
    if (!temporary.empty()) ::DeleteFileW(WidePath(temporary).c_str());
    AddFailures(program, {"Failed to register '", target, "' for replacement because no temporary file could be created.\r\n",
                          SystemErrorText(error), "\r\n\r\n"});
    return;
  }
  GrantFullAccessToEveryone(temporary);
  const std::string shortTemporary = ShortPathOf(temporary);
  if (!ScheduleReplaceAtReboot(shortTemporary, target, WindowsFacts().IsNtBased(), state.WindowsFolder)) {
    const DWORD error = ::GetLastError();
    AddFailures(program, {"Failed to register '", target, "' for replacement with temporary file '", shortTemporary,
                          "'\r\n", SystemErrorText(error), "\r\n\r\n"});
    ::DeleteFileW(WidePath(temporary).c_str());
    return;
  }
  SetFlag(state.Settings.ProductFlags, flags::kRestartRequired);
  LogTexts(program, {"\"", target, "\" was successfully registered for replacement.\r\nTemporary file is \"",
                     shortTemporary, "\"\r\nReboot will be required.\r\n\r\n"});
}

void WriteUninstaller(Program& program, const std::string& target) {
  InstallerState& state = program.state;
  if (!HasFlag(state.Settings.ProductFlags2, flags::kStrippedUninstaller)) {
    CopyRunningProgram(program, target);
    return;
  }
  FileStamp stamp{};
  static_assert(sizeof stamp == sizeof state.Settings.UninstallerFileTime);
  std::memcpy(stamp.data(), state.Settings.UninstallerFileTime.data(), sizeof stamp);
  bool registered = false;
  if (WriteInstalledFile(program, target, state.UninstallerImage, stamp, -1, true, registered) &&
      !state.Settings.UninstallerIcon.empty()) {
    ReplaceUninstallerIcon(program, target, state.Settings.UninstallerIcon);
  }
}

LONG SetValue(HKEY key, const UninstallKeyValue& value) {
  if (value.remove) {
    ::RegDeleteValueA(key, value.name.c_str());
    return ERROR_SUCCESS;
  }
  if (value.type == UninstallKeyValue::Type::Number) {
    const DWORD number = value.number;
    return ::RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  }
  return ::RegSetValueExA(key, value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                          static_cast<DWORD>(value.text.size() + 1));
}

// An author's extra value: under the Uninstall key, or at a full registry path.
void WriteExtraValue(Program& program, HKEY uninstallKey, const UninstallValue& extra, MachineSettings& machine) {
  const std::string data = machine.ExpandVariables(extra.ValueData, RunValuesOf(program.state));
  HKEY target = uninstallKey;
  OpenedKey opened;
  std::string name = extra.ValuePath;
  LONG result = ERROR_SUCCESS;
  if (extra.ValuePath.find('\\') != std::string::npos) {
    const auto path = ParseRegistryValuePath(extra.ValuePath);
    if (path) {
      opened = CreateKey(path->key, KEY_SET_VALUE);
      result = static_cast<LONG>(opened.windowsError);
      name = path->valueName;
    } else {
      result = ERROR_BAD_PATHNAME;
    }
    target = opened.get();
  }
  if (result == ERROR_SUCCESS) {
    if (data.empty()) {
      ::RegDeleteValueA(target, name.c_str());
    } else if (extra.ValueType == 4) {
      const DWORD number = static_cast<DWORD>(std::strtoul(data.c_str(), nullptr, 10));
      result = ::RegSetValueExA(target, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    } else {
      result = ::RegSetValueExA(target, name.c_str(), 0, extra.ValueType == 2 ? REG_EXPAND_SZ : REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
    }
  }
  if (result != ERROR_SUCCESS) {
    AddFailures(program, {"Failed to save data in registry key \"", extra.ValuePath, "\": ",
                          SystemErrorText(static_cast<DWORD>(result)), "\r\n"});
  }
}

void RecordInstallFolder(const InstallerState& state) {
  if (state.Settings.InstallDirRegistryValue.find('\\') == std::string::npos) return;
  const auto path = ParseRegistryValuePath(state.Settings.InstallDirRegistryValue);
  if (!path) return;
  const OpenedKey key = CreateKey(path->key, KEY_SET_VALUE);
  if (!key.ok()) return;
  ::RegSetValueExA(key.get(), path->valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(state.InstallDir.c_str()),
                   static_cast<DWORD>(state.InstallDir.size() + 1));
}

}  // namespace

std::string UninstallerPath(const InstallerState& state) {
  return JoinPath(state.UninstallDataDir, state.Settings.UninstallerFileName);
}

void RegisterUninstall(Program& program) {
  InstallerState& state = program.state;
  if (!HasFlag(state.Settings.ProductFlags, flags::kUninstaller)) return;
  const std::string uninstaller = UninstallerPath(state);
  WriteUninstaller(program, uninstaller);

  bool failed = false;
  std::string error;
  const OpenedKey key = CreateKey(HKEY_LOCAL_MACHINE, UninstallKeyPath(state),
                                  KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS);
  if (!key.ok()) {
    failed = true;
    error = SystemErrorText(key.windowsError);
  } else {
    UninstallKeyFacts facts;
    facts.uninstallerPath = uninstaller;
    facts.installerPath = ModuleFileName();
    facts.displayTitle =
        state.Settings.DisplayTitle.empty() ? Message(state, MessageId::kInstallerTitle) : state.Settings.DisplayTitle;
    facts.totalInstalledBytes = static_cast<std::uint64_t>(std::max<std::int64_t>(state.RequiredSpace, 0));
    const std::vector<UninstallKeyValue> values = UninstallKeyValues(state, facts);
    for (const UninstallKeyValue& value : values) {
      const LONG result = SetValue(key.get(), value);
      if (result != ERROR_SUCCESS && value.name == "UninstallString") error = SystemErrorText(static_cast<DWORD>(result));
    }
    MachineSettings machine;
    for (const UninstallValue& extra : state.Settings.UninstallValues) WriteExtraValue(program, key.get(), extra, machine);
    SetValue(key.get(), {"InstallLocation", UninstallKeyValue::Type::String, state.InstallDir, 0, false});
    SetValue(key.get(), {"InstallDate", UninstallKeyValue::Type::String, InstallDateText(LocalTimeNow()), 0, false});
    const auto readBack = ReadRegistryString(HKEY_LOCAL_MACHINE, UninstallKeyPath(state), "UninstallString");
    failed = !readBack || *readBack != values.front().text;
  }
  RecordInstallFolder(state);
  if (failed) {
    if (!error.empty()) AddFailures(program, {"System error: ", error, "\r\n\r\n"});
    AddFailure(program, "Unable to save the uninstall information to the registry.  Uninstall will not work properly.\r\n\r\n");
  }
}

void WriteUninstallDataFile(Program& program) {
  InstallerState& state = program.state;
  if (!HasFlag(state.Settings.ProductFlags, flags::kUninstaller)) return;
  const std::string path = JoinPath(state.UninstallDataDir, kUninstallDataFileName);
  const OpenedKey key = OpenKey(HKEY_LOCAL_MACHINE, UninstallKeyPath(state), KEY_SET_VALUE);
  const std::uint32_t error =
      key.ok() ? WriteSealedUninstallData(path, WriteUninstallDataText(CollectUninstallData(state)), key.get())
               : static_cast<std::uint32_t>(key.windowsError);
  if (error != 0) {
    AddFailures(program,
                {Message(state, MessageId::kCouldNotWrite), " ", path, "\r\n", SystemErrorText(error), "\r\n\r\n"});
  }
}

}  // namespace brennick::win
