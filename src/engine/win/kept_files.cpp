#include "engine/win/kept_files.h"

#include "engine/kept_file_names.h"
#include "foundation/win/whole_file.h"
#include "startup/install_lists.h"
#include "startup/resolve_path.h"

namespace brennick::win {

namespace {

void Keep(Program& program, InstallUi& ui, const std::string& path, std::string_view bytes) {
  ui.ShowProgressItem(path, std::nullopt, bytes.size());
  if (WriteWholeFile(path, bytes) == 0) RecordRemoval(program.state.Lists, kRemoveFile, path);
}

void KeepTexts(Program& program, InstallUi& ui, const std::vector<std::string>& texts, std::string_view base) {
  for (const KeptFile& file : KeptFileNames(texts, base)) {
    Keep(program, ui, JoinPath(program.state.InstallDir, file.name), texts[file.text]);
  }
}

}  // namespace

void WriteKeptFiles(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  const SettingsRecord& s = state.Settings;
  if (HasFlag(s.ProductFlags, flags::kKeepBackgroundBitmap) && !s.BackgroundBitmap.empty()) {
    // The settings hold the bitmap's whole file image.
    Keep(program, ui, JoinPath(state.UninstallDataDir, kBackgroundBitmapFileName), s.BackgroundBitmap);
  }
  if (HasFlag(s.ProductFlags, flags::kWriteReadmeFiles)) KeepTexts(program, ui, s.ReadmeTexts, "readme");
  if (HasFlag(s.ProductFlags, flags::kWriteLicenseFiles)) KeepTexts(program, ui, s.LicenseTexts, "eula");
  ui.SetStatus(MessageId::kInstalling);
  ui.WaitStage(s.MinStageTime);
  ui.SetProgress(98);
}

}  // namespace brennick::win
