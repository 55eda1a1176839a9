#include <optional>
#include <string>
#include <utility>

#include "builder/basics/bmp_picture.h"
#include "builder/project/project_parts.h"
#include "package/settings_fields.h"

namespace brennick::build {

namespace {

using Positions = TableReader::Names<std::uint8_t>;
// The password page's edit field takes at most this many characters.
constexpr std::size_t kMaxPasswordLength = 64;

const Positions kPositions = {{"none", 0},        {"top_left", 1},      {"top_center", 2},  {"top_right", 3},
                              {"bottom_left", 4}, {"bottom_center", 5}, {"bottom_right", 6}};

void ReadProduct(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("name"), s.ProductName);
  Assign(t.Text("publisher"), s.Publisher);
  Assign(t.Text("description"), s.ProductDescription);
  Assign(t.Text("version"), s.DisplayVersion);
  Assign(t.Text("registry_key"), s.ProductRegistry);
  Assign(t.Text("password"), s.Password);
  if (s.Password.size() > kMaxPasswordLength) {
    t.Fail("password", "at most " + std::to_string(kMaxPasswordLength) +
                           " characters: the password page takes no more, so a longer one could never be entered");
  }
  if (auto bits = t.Integer("bitness", 0, 64)) {
    if (*bits != 0 && *bits != 32 && *bits != 64) t.Fail("bitness", "expected 0 (any), 32 or 64");
    s.Bitness = *bits == 64 ? 1 : *bits == 32 ? 2 : 0;
  }
  Assign(t.Choice<std::uint8_t>("admin", {{"none", 0}, {"required", 1}, {"ask", 2}}), s.AdminRequirement);
  Assign(t.Choice<std::uint8_t>("run_mode", {{"command_line", 0}, {"automatic", 1}, {"interactive", 2}}), s.RunMode);
  Assign(t.Bits("excluded_systems", 32), s.ExcludedSystems);
  Assign(t.Integer("extra_disk_space", 0, 0xFFFFFFFF), s.ExtraDiskSpace);
}

void ReadFolders(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("install"), s.DefaultInstallDir);
  Assign(t.Text("install_registry_value"), s.InstallDirRegistryValue);
  Assign(t.Text("start_menu"), s.ProductStartMenu);
  Assign(t.Text("shared"), s.SharedPath);
  Assign(t.Choice<std::uint8_t>("shared_base", {{"common_files", 0}, {"app_data", 1}}), s.SharedBase);
}

void ReadShortcutSettings(TableReader& t, SettingsRecord& s) {
  if (auto allUsers = t.Bool("all_users")) s.ShortcutMode = *allUsers ? 1 : 0;
  Assign(t.Text("desktop_folder"), s.DesktopFolderName);
  Assign(t.FileContents("desktop_folder_icon"), s.DesktopFolderIcon);
  Assign(t.Text("root_target"), s.RootShortcutTarget);
  Assign(t.Text("root_name"), s.RootShortcutName);
}

// The picture, its transparent palette index, size and stretch mode.
void ReadBackgroundBitmap(TableReader& t, SettingsRecord& s) {
  std::optional<BmpFacts> facts;
  if (auto bitmap = t.FileContents("bitmap")) {
    const BmpCheck check = CheckBmp(*bitmap);
    if (!check.facts) t.Fail("bitmap", "not a BMP picture: " + check.problem);
    facts = check.facts;
    s.BackgroundBitmap = std::move(*bitmap);
  }
  const auto index = t.Integer("bitmap_transparent_index", -1, 255);
  const auto size = t.Integer("bitmap_size", 0, settings_limits::kMaxBitmapSize);
  const auto stretch =
      t.Choice<std::uint32_t>("bitmap_stretch", {{"stretch", 0}, {"fit", 1}, {"multiple", 2}, {"tile", 3}});
  for (const char* key : {"bitmap_transparent_index", "bitmap_size", "bitmap_stretch"}) {
    if (!facts && t.Has(key)) t.Fail(key, "needs a bitmap");
  }
  if (!facts) return;

  if (index && *index >= 0) {
    if (facts->bitCount > 8) {
      t.Fail("bitmap_transparent_index", "needs a palette picture (8 bits per pixel or fewer); the bitmap has " +
                                             std::to_string(facts->bitCount) + " bits per pixel");
    }
    if (static_cast<std::uint32_t>(*index) >= facts->paletteEntries) {
      t.Fail("bitmap_transparent_index", "the bitmap's palette has only " + std::to_string(facts->paletteEntries) +
                                             " colours (indexes 0 to " + std::to_string(facts->paletteEntries - 1) +
                                             ")");
    }
  }
  if (size.value_or(0) == 0) {
    t.Fail(size ? "bitmap_size" : "bitmap",
           "a bitmap is drawn only with a bitmap_size from 1 to 100 (percent of the window)");
  }
  Assign(index, s.BitmapTPI);
  Assign(size, s.BitmapSize);
  Assign(stretch, s.StretchMode);
}

void ReadBackground(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("taskbar_text"), s.TaskbarText);
  Assign(t.Choice("title_position", kPositions), s.TitlePosition);
  Assign(t.Text("title"), s.DisplayTitle);
  Assign(t.Number("title_size", 0, 100), s.TitleSize);
  Assign(t.Color("title_color"), s.TitleColor);
  Assign(t.Integer("title_shadow", 0, 255), s.TitleShadow);
  Assign(t.Text("title_font"), s.TitleFont);
  if (s.TitlePosition == 0) {  // the window draws no title without a position
    for (const char* key : {"title", "title_size", "title_color", "title_shadow", "title_font"}) {
      if (t.Has(key)) t.Fail(key, "needs title_position (the title is drawn only at a position)");
    }
  }
  Assign(t.Color("top_color"), s.TopColor);
  Assign(t.Color("bottom_color"), s.BottomColor);
  ReadBackgroundBitmap(t, s);

  Assign(t.Choice("copyright_position", kPositions), s.CopyrightPos);
  Assign(t.Text("copyright_text"), s.CopyrightText);
  Assign(t.Text("copyright_font"), s.CopyrightFont);
  Assign(t.Number("copyright_size", 0, 100), s.CopyrightSize);
  Assign(t.Color("copyright_color"), s.CopyrightColor);
  if (s.CopyrightPos == 0) {  // the program stores the copyright only with a position
    for (const char* key : {"copyright_text", "copyright_font", "copyright_size", "copyright_color"}) {
      if (t.Has(key)) t.Fail(key, "needs copyright_position");
    }
  }
}

void ReadWizard(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("window_title"), s.WindowTitle);
  Assign(t.Choice<std::uint8_t>("side_picture_frame", {{"none", 0}, {"sunken", 1}, {"border", 2}}), s.SidePictureFrame);
  Assign(t.Integer("progress_placement", 0, 0xFFFFFFFF), s.ProgressPlacement);
  Assign(t.Integer("min_stage_time", 0, settings_limits::kMinStageTimeBelow - 1), s.MinStageTime);

  const TableReader::Names<std::int64_t> styles = {{"plain", 0}, {"picture", 1}, {"banner", 2}};
  if (auto style = t.ChoiceOrInteger("style", styles, 0, 0xFFFFFFFF))
    s.PageStyles.fill(static_cast<std::uint32_t>(*style));
  if (auto pages = t.Table("styles")) {
    const char* names[] = {"greeting", "language", "license", "readme", "folder", "start_menu", "progress", "summary"};
    for (std::size_t i = 0; i < s.PageStyles.size(); ++i) {
      Assign(pages->ChoiceOrInteger(names[i], styles, 0, 0xFFFFFFFF), s.PageStyles[i]);
    }
    pages->Finish();
  }
}

void ReadUninstall(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("subdir"), s.UninstallSubdir);
  Assign(t.Text("file_name"), s.UninstallerFileName);
  Assign(t.Text("key_name"), s.UninstallKeyName);
  if (auto time = t.Time("file_time")) s.UninstallerFileTime = StampBytes(StampOf(*time));
  Assign(t.FileContents("icon"), s.UninstallerIcon);
  if (t.Has("icon") && !HasFlag(s.ProductFlags, flags::kUninstaller)) t.Fail("icon", "needs [flags] uninstaller");
}

void ReadBatches(TableReader& t, SettingsRecord& s) {
  Assign(t.Lines("pre_install"), s.PreInstallBatch);
  Assign(t.Lines("post_install"), s.PostInstallBatch);
  Assign(t.Lines("exit"), s.ExitBatch);
  Assign(t.Lines("upgrade"), s.UpgradeBatch);
  Assign(t.Lines("reinstall"), s.ReinstallBatch);
  Assign(t.Lines("uninstall_before"), s.UninstallBatch1);
  Assign(t.Lines("uninstall_after"), s.UninstallBatch2);
}

void ReadFinish(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("run"), s.RunAfterInstall);
  Assign(t.Text("launch"), s.LaunchAfterInstall);
  Assign(t.Text("document"), s.DocumentAfterInstall);
}

void ReadNotify(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("new"), s.NotifyNewURL);
  Assign(t.Text("upgrade"), s.NotifyUpgradeURL);
  Assign(t.Text("downgrade"), s.NotifyDowngradeURL);
  Assign(t.Text("reinstall"), s.NotifyReinstallURL);
  Assign(t.Text("uninstall"), s.NotifyURL);
}

void ReadUpgrade(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("must_uninstall_below"), s.MustUninstallBelow);
  Assign(t.Text("warn_below"), s.UpgradeWarnBelow);
}

void ReadMaster(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("product"), s.MasterProduct);
  Assign(t.Text("display_name"), s.MasterDisplayName);
  if (!HasFlag(s.ProductFlags, flags::kMasterProduct)) t.FailTable("needs [flags] master_product");
}

// Flags that do something only together with another setting: a named flag
// without it is a mistake in the project.
void CheckFlagNeeds(TableReader& root, const SettingsRecord& s) {
  auto table = root.Table("flags");
  if (!table) return;
  struct Need {
    const char* flag;
    bool met;
    const char* what;
  };
  const Need needs[] = {
      {"offer_view_log", HasFlag(s.ProductFlags, flags::kKeepInstallLog),
       "needs keep_install_log (without it the summary page does not offer the log)"},
      {"run_checked", !s.RunAfterInstall.empty(), "needs [finish] run"},
      {"launch_checked", !s.LaunchAfterInstall.empty(), "needs [finish] launch"},
      {"document_checked", !s.DocumentAfterInstall.empty(), "needs [finish] document"},
      {"keep_background_bitmap", !s.BackgroundBitmap.empty(), "needs [background] bitmap"},
  };
  for (const Need& need : needs) {
    if (!need.met && table->Bool(need.flag).value_or(false)) table->Fail(need.flag, need.what);
  }
}

}  // namespace

void ReadSettingsTables(TableReader& root, SettingsRecord& s) {
  s.UninstallerFileName = "uninstall.exe";
  s.TitleSize = 1.0;
  s.CopyrightSize = 1.0;
  s.BitmapTPI = -1;

  struct Part {
    const char* table;
    void (*read)(TableReader&, SettingsRecord&);
  };
  const Part parts[] = {
      {"product", ReadProduct},       {"folders", ReadFolders}, {"shortcuts", ReadShortcutSettings},
      {"background", ReadBackground}, {"wizard", ReadWizard},   {"uninstall", ReadUninstall},
      {"batches", ReadBatches},       {"finish", ReadFinish},   {"notify", ReadNotify},
      {"upgrade", ReadUpgrade},       {"master", ReadMaster},
  };
  for (const Part& part : parts) {
    if (auto table = root.Table(part.table)) {
      part.read(*table, s);
      table->Finish();
    }
  }
  CheckFlagNeeds(root, s);
}

}  // namespace brennick::build
