#include "builder/project/project_parts.h"
#include "package/settings_fields.h"

namespace brennick::build {

namespace {

using Positions = TableReader::Names<std::uint8_t>;
const Positions kPositions = {{"none", 0},        {"top_left", 1},      {"top_center", 2},  {"top_right", 3},
                              {"bottom_left", 4}, {"bottom_center", 5}, {"bottom_right", 6}};

void ReadProduct(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("name"), s.ProductName);
  Assign(t.Text("publisher"), s.Publisher);
  Assign(t.Text("description"), s.ProductDescription);
  Assign(t.Text("version"), s.DisplayVersion);
  Assign(t.Text("registry_key"), s.ProductRegistry);
  Assign(t.Text("password"), s.Password);
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

void ReadBackground(TableReader& t, SettingsRecord& s) {
  Assign(t.Text("taskbar_text"), s.TaskbarText);
  Assign(t.Text("title"), s.DisplayTitle);
  Assign(t.Number("title_size", 0, 100), s.TitleSize);
  Assign(t.Color("title_color"), s.TitleColor);
  Assign(t.Integer("title_shadow", 0, 255), s.TitleShadow);
  Assign(t.Choice("title_position", kPositions), s.TitlePosition);
  Assign(t.Text("title_font"), s.TitleFont);
  Assign(t.Color("top_color"), s.TopColor);
  Assign(t.Color("bottom_color"), s.BottomColor);

  Assign(t.FileContents("bitmap"), s.BackgroundBitmap);
  if (t.Has("bitmap") && s.BackgroundBitmap.empty()) t.Fail("bitmap", "the file is empty");
  Assign(t.Integer("bitmap_transparent_index", -1, 255), s.BitmapTPI);
  if (t.Has("bitmap_transparent_index") && s.BackgroundBitmap.empty()) {
    t.Fail("bitmap_transparent_index", "needs a bitmap");
  }
  Assign(t.Integer("bitmap_size", 0, settings_limits::kMaxBitmapSize), s.BitmapSize);
  Assign(t.Choice<std::uint32_t>("bitmap_stretch", {{"stretch", 0}, {"fit", 1}, {"multiple", 2}, {"tile", 3}}),
         s.StretchMode);

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
}

}  // namespace brennick::build
