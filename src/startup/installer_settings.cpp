#include "startup/installer_settings.h"

#include "foundation/text.h"
#include "package/message_lookup.h"
#include "package/settings_reader.h"
#include "startup/resolve_path.h"

namespace brennick {

namespace {

constexpr std::string_view kX86Suffix = " (x86)";

// The 32-bit program-files and common-files folders of a 64-bit Windows end
// in " (x86)"; a 64-bit product goes to the native ones.
std::string WithoutX86Suffix(std::string folder) {
  if (folder.size() >= kX86Suffix.size() && folder.ends_with(kX86Suffix)) folder.resize(folder.size() - kX86Suffix.size());
  return folder;
}

std::string WithoutFirstX86(std::string folder) {
  const std::size_t at = folder.find(kX86Suffix);
  if (at != std::string::npos) folder.erase(at, kX86Suffix.size());
  return folder;
}

// Here the letter case counts: "hklm\\..." is a folder below Program Files.
bool IsRegistryFolder(std::string_view value) {
  return value.starts_with("HKLM\\") || value.starts_with("HKCU\\");
}

// The first seven fields, in force before the rest is read: the background
// window is made from them.
void ApplyFirstFields(const SettingsRecord& r, InstallerState& state) {
  SettingsRecord& s = state.Settings;
  s.ProductFlags = r.ProductFlags;
  s.ProductFlags2 = r.ProductFlags2;
  s.RunMode = r.RunMode;
  s.TaskbarText = r.TaskbarText;
  s.DisplayTitle = r.DisplayTitle;
  s.TitleSize = r.TitleSize;
  s.ProgressPlacement = r.ProgressPlacement;
  if (r.RunMode == 1) state.AutomaticMode = true;
  if (r.RunMode == 2) state.AutomaticMode = false;
  state.TitleOption = HasFlag(r.ProductFlags, flags::kTitleOption);
}

}  // namespace

void ApplyInstallerSettings(SettingsRecord r, InstallerState& state, SettingsEnvironment& env) {
  if (!env.ButtonPicturesSupported()) ClearFlag(r.ProductFlags2, flags::kButtonPictures);
  ApplyFirstFields(r, state);

  if (state.ProductName.empty()) state.ProductName = r.ProductName;
  if (r.ProductDescription.empty()) r.ProductDescription = state.ProductName;
  if (r.Bitness == 1 && !env.TurnOffFileSystemRedirection()) state.RedirectionFailed = true;

  if (r.SharedPath.empty()) r.SharedPath = r.Publisher.empty() ? state.ProductName : r.Publisher;
  if (HasFlag(r.ProductFlags, flags::kUninstaller)) {
    std::string base = r.SharedBase == 1 ? env.CommonAppDataFolder() : env.CommonFilesFolder();
    if (r.Bitness == 1) base = WithoutFirstX86(std::move(base));
    r.SharedPath = ResolvePath(r.SharedPath, base);
  } else {
    r.SharedPath.clear();
  }

  if (r.ProductStartMenu.empty()) {
    r.ProductStartMenu = r.Publisher.empty() ? state.ProductName : r.Publisher + "\\" + state.ProductName;
  }

  if (r.DefaultInstallDir.empty()) {
    r.DefaultInstallDir = state.ProductName;
  } else {
    // The values in force at this field: later fields are not read yet.
    RunValues run;
    run.InstallDir = state.InstallDir;
    run.ProductName = state.ProductName;
    run.SharedPath = r.SharedPath;
    run.Version = r.DisplayVersion;
    r.DefaultInstallDir = env.ExpandVariables(ReplaceAllNoCase(r.DefaultInstallDir, "<os>", env.WindowsFolder()), run);
  }
  if (!EqualsNoCase(r.DefaultInstallDir, "<master>") && !IsRegistryFolder(r.DefaultInstallDir)) {
    std::string programFiles = env.ProgramFilesFolder();
    if (r.Bitness == 1) programFiles = WithoutX86Suffix(std::move(programFiles));
    r.DefaultInstallDir = ResolvePath(r.DefaultInstallDir, programFiles);
  }

  if (r.UninstallKeyName.empty()) r.UninstallKeyName = state.ProductName;
  state.MonoColor = r.TopColor == r.BottomColor;
  if (HasFlag(r.ProductFlags, flags::kMasterProduct)) {
    if (r.MasterProduct.empty()) r.MasterProduct = state.ProductName;
    if (r.MasterDisplayName.empty()) r.MasterDisplayName = state.ProductName;
  }
  for (ShortcutRecord& link : r.Shortcuts) link.ExpandTarget = true;

  state.WindowsFolder = env.WindowsFolder();
  state.LanguageIndex = MessageTable::InitialLanguage(r.Languages.Names);
  state.Messages = MessageTable(r.Languages);
  state.Settings = std::move(r);
  state.Settings.WindowTitle = ReplaceProductText(state.Settings.WindowTitle, ProductTextOf(state));
}

void ReadInstallerSettings(std::span<const std::uint8_t> block, InstallerState& state, SettingsEnvironment& env,
                           const std::function<void()>& afterField7) {
  SettingsRecord record;
  {
    // Damage found after the language strings were read (the end marker)
    // is told in the package's own words. Strings not read yet are empty,
    // and an empty text leaves the built-in one.
    struct LookupScope {
      MessageLookup previous;
      ~LookupScope() { SetMessageLookup(std::move(previous)); }
    } scope{SetMessageLookup([&record](int number) {
      const LanguageStrings& strings = record.Languages;
      if (number < 0 || static_cast<std::size_t>(number) >= strings.Messages.size()) return std::string();
      const std::vector<std::string>& row = strings.Messages[static_cast<std::size_t>(number)];
      const std::size_t language = MessageTable::InitialLanguage(strings.Names);
      return language < row.size() ? row[language] : std::string();
    })};
    ReadSettingsRecordInto(block, record, [&] {
      ApplyFirstFields(record, state);
      if (afterField7) afterField7();
    });
  }
  ApplyInstallerSettings(std::move(record), state, env);
}

ProductText ProductTextOf(const InstallerState& state) {
  return {state.ProductName, state.Settings.ProductDescription, state.WindowsFolder};
}

RunValues RunValuesOf(const InstallerState& state) {
  RunValues run;
  run.InstallDir = state.InstallDir;
  run.ProductName = state.ProductName;
  run.SharedPath = state.Settings.SharedPath;
  run.UninstallDataDir = state.UninstallDataDir;
  run.OldVersion = state.OverwritingVersion;
  run.Version = state.Settings.DisplayVersion;
  return run;
}

const std::string& Message(InstallerState& state, MessageId id) {
  return state.Messages.Message(static_cast<int>(id), state.LanguageIndex, ProductTextOf(state));
}

}  // namespace brennick
