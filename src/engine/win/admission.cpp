#include "engine/win/admission.h"

#include "engine/excluded_systems.h"
#include "foundation/fatal.h"
#include "foundation/message_format.h"
#include "foundation/text.h"
#include "foundation/win/dynamic_function.h"
#include "foundation/win/registry.h"
#include "foundation/win/windows_version.h"
#include "run/uninstall_key_values.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "startup/win/exit_installer.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

namespace {

constexpr const char* kSingleInstanceMutex = "Brennick TQN";

[[noreturn]] void Refuse(Program& program, const std::string& text) {
  ShowError(program, text);
  ExitInstaller(program, 1);
}

bool IsAdministrator() {
  using IsUserAnAdminFn = BOOL(WINAPI*)();
  const auto isAdmin = LookUpFunction<IsUserAnAdminFn>(L"shell32.dll", "IsUserAnAdmin");
  return isAdmin == nullptr || isAdmin();  // before Windows 2000 every user may install
}

void CheckBitness(Program& program) {
  InstallerState& state = program.state;
  const std::uint8_t bitness = state.Settings.Bitness;
  if (bitness != 1 && bitness != 2) return;
  const bool fits = (bitness == 1) == WindowsFacts().Is64BitWindows();
  if (!fits) {
    if (state.AutomaticMode) ExitInstaller(program, 1);
    Refuse(program, FormatLanguageString(Message(state, MessageId::kWrongBitness), {bitness == 1 ? 64 : 32}));
  }
  if (state.RedirectionFailed) FatalError("Wow64DisableWow64FsRedirection() failed");
}

void CheckExcludedSystems(Program& program) {
  const WindowsVersion running = RunningWindowsVersion();
  const int bit = ExcludedSystemBit(running);
  if (bit < 0 || ((program.state.Settings.ExcludedSystems >> bit) & 1u) == 0) return;
  Refuse(program,
         FormatLanguageString(Message(program.state, MessageId::kWindowsVersionRefused), {WindowsNameOf(running)}));
}

void CheckAdministrator(Program& program) {
  InstallerState& state = program.state;
  const std::uint8_t requirement = state.Settings.AdminRequirement;
  if (requirement == 0 || requirement > 3 || IsAdministrator()) return;
  if (requirement == 1) Refuse(program, Message(state, MessageId::kAdministratorRequired));
  if (!AskOkCancel(program, Message(state, MessageId::kContinueWithoutAdministrator),
                   Message(state, MessageId::kQuestionTitle)))
    ExitInstaller(program, 1);
}

void CheckMasterProduct(Program& program) {
  InstallerState& state = program.state;
  SettingsRecord& s = state.Settings;
  if (!HasFlag(s.ProductFlags, flags::kMasterProduct)) return;
  if (s.MasterProduct.empty()) s.MasterProduct = state.ProductName;
  if (s.MasterDisplayName.empty()) s.MasterDisplayName = state.ProductName;
  const std::string key = UninstallKeyPathOf(s.MasterProduct);
  // Installed: either uninstall command is there, whatever it holds.
  const bool installed = ReadRegistryString(HKEY_LOCAL_MACHINE, key, "UninstallString").has_value() ||
                         ReadRegistryString(HKEY_LOCAL_MACHINE, key, "QuietUninstallString").has_value();
  const std::string location =
      installed ? ReadRegistryString(HKEY_LOCAL_MACHINE, key, "InstallLocation").value_or("") : "";
  if (EqualsNoCase(s.DefaultInstallDir, "<master>")) {
    if (installed && !location.empty()) {
      s.DefaultInstallDir = location;
      return;
    }
  } else if (installed) {
    return;
  }
  Refuse(program, FormatLanguageString(Message(state, MessageId::kMasterProductMissing), {s.MasterDisplayName}));
}

void HoldSingleInstance(Program& program) {
  if (!HasFlag(program.state.Settings.ProductFlags, flags::kSingleInstance)) return;
  program.singleInstance.reset(::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
  if (!program.singleInstance.valid()) return;  // without the mutex the run goes on
  // Held until the process ends; an abandoned mutex is ours now too.
  if (::WaitForSingleObject(program.singleInstance.get(), 0) == WAIT_TIMEOUT) {
    Refuse(program, Message(program.state, MessageId::kAnotherInstallerRunning));
  }
}

}  // namespace

void AdmitInstallation(Program& program) {
  CheckBitness(program);
  CheckExcludedSystems(program);
  CheckAdministrator(program);
  CheckMasterProduct(program);
  HoldSingleInstance(program);
}

}  // namespace brennick::win
