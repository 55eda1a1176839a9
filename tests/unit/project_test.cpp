#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "builder/basics/build_error.h"
#include "builder/basics/flag_names.h"
#include "builder/catalogue/catalogue.h"
#include "builder/project/civil_time.h"
#include "builder/project/file_glob.h"
#include "builder/project/project.h"
#include "package/package_layout.h"
#include "project_bmp_fixture.h"
#include "temp_folder.h"

namespace brennick::build {
namespace {

using testing::TempFolder;

std::string ErrorOf(const std::filesystem::path& project) {
  try {
    LoadProject(project);
  } catch (const BuildError& e) {
    return e.what();
  }
  return "(no error)";
}

constexpr std::string_view kFullProject = R"(
[product]
name = "Example"
publisher = "Example Ltd"
description = "Example Deluxe"
version = "2.1.0"
registry_key = "Example Ltd\\Example"
password = "secret"
bitness = 64
admin = "ask"
run_mode = "interactive"
excluded_systems = "0x11"
extra_disk_space = 4096

[folders]
install = "%ProgramsDir%\\Example"
install_registry_value = "\\HKLM\\Software\\Example\\Dir"
start_menu = "Example Ltd\\Example"
shared = "Example Shared"
shared_base = "app_data"

[shortcuts]
all_users = true
desktop_folder = "Example Tools"
desktop_folder_icon = "art/folder.ico"
root_target = "%InstallDir%\\example.exe"
root_name = "Example"

[background]
taskbar_text = "Example Setup"
title = "Example 2"
title_size = 1.5
title_color = "#FF8000"
title_shadow = 3
title_position = "top_center"
title_font = "Verdana, Arial"
top_color = 0x00112233
bottom_color = "#010203"
bitmap = "art/back.bmp"
bitmap_transparent_index = 7
bitmap_size = 50
bitmap_stretch = "fit"
copyright_position = "bottom_right"
copyright_text = "(c) Example Ltd"
copyright_font = "Tahoma"
copyright_size = 0.75
copyright_color = "#102030"

[wizard]
window_title = "<product> Setup"
side_picture_frame = "sunken"
progress_placement = 2
min_stage_time = 9999
style = "banner"
[wizard.styles]
greeting = "picture"
summary = 7

[uninstall]
subdir = "uninst"
file_name = "remove.exe"
key_name = "ExampleKey"
file_time = 2024-03-05T06:07:08
icon = "art/uninstall.ico"

[batches]
pre_install = ["echo one", "echo two"]
post_install = "echo post"
exit = "echo exit"
upgrade = "echo up"
reinstall = "echo re"
uninstall_before = "echo u1"
uninstall_after = "echo u2"

[finish]
run = "readme.txt"
launch = "example.exe"
document = "manual.pdf"

[notify]
new = "http://example.com/new?v=%version%"
upgrade = "http://example.com/up"
downgrade = "http://example.com/down"
reinstall = "http://example.com/re"
uninstall = "http://example.com/gone"

[upgrade]
must_uninstall_below = "1.0"
warn_below = "2.0"

[master]
product = "Base"
display_name = "Base Product"

[flags]
uninstaller = true
master_product = true
single_instance = true
verify_checksums = false
restore_point = true
raw_flags = "0x8000000000000000"
raw_flags2 = 0x100

[build]
level = 9
chunk_size = 65536
archive_from_file = true
build_time = 2024-01-02T03:04:05

[languages]
use = ["Deutsch", "English"]
[languages.English]
42 = "Done!"

[[license]]
file = "texts/eula.txt"
[[license]]
text = "Second page"

[[readme]]
text = "Read me"

[[shortcut]]
target = "%InstallDir%\\example.exe"
name = "Tools\\Example"
icon = "example.ico"
arguments = "--start"
working_dir = "%InstallDir%"
desktop = true
start_menu = true
extra_folder = "%DesktopDir%"
show = "maximized"
keep_on_uninstall = true

[[association]]
extension = ".exf"
file_type = "Example.File"
description = "Example file"
verb_text = "&Open"
command = "\"%InstallDir%\\example.exe\" \"%1\""
language = "English"
icon = "%InstallDir%\\example.ico"
default_verb = true

[[file_deletion]]
name = "%InstallDir%\\old.dll"
condition = "older_than"
value = 2020-01-31
at_install = true
restart_fallback = true

[[file_deletion]]
name = "%Temp%\\*.tmp"
condition = "size_at_least"
value = 1000
at_uninstall = true

[[uninstall_value]]
path = "HelpLink"
data = "http://example.com/help"

[[uninstall_value]]
path = "\\HKCU\\Software\\Example\\Count"
type = "dword"
data = 42

[[close_program]]
class = "ExampleWindow"
title = "*Example"
name = "Example"
action = "ask"
at_install = false

[[registry]]
key = "\\HKLM\\Software\\Example"

[[registry]]
key = "\\HKCU\\Software\\Example"
name = "Path, with comma"
data = "%InstallDir%"
keep_on_uninstall = true

[[firewall]]
target = "8080"
name = "Example Server"
tcp = true
udp = true

[[firewall]]
target = "%InstallDir%\\example.exe"
name = "Example"
keep_on_uninstall = true
)";

// The background picture of the full example: 4 bits per pixel, 16 colours.
std::string FullBackground() { return testing::MakeBmp({.bitCount = 4}); }

SettingsRecord ExpectedFullSettings() {
  SettingsRecord r;
  r.ProductFlags = (1ull << 2) | (1ull << 5) | (1ull << 8) | (1ull << 16) | (1ull << 63);
  r.ProductFlags2 = (1u << 1) | 0x100;
  r.RunMode = 2;
  r.TaskbarText = "Example Setup";
  r.DisplayTitle = "Example 2";
  r.TitleSize = 1.5;
  r.ProgressPlacement = 2;
  r.MinStageTime = 9999;
  r.ShortcutMode = 1;
  r.UninstallerFileTime = StampBytes({2024, 3, 5, 6, 7, 8});
  r.Publisher = "Example Ltd";
  r.ProductName = "Example";
  r.ProductDescription = "Example Deluxe";
  r.Bitness = 1;
  r.SharedBase = 1;
  r.SharedPath = "Example Shared";
  r.ProductStartMenu = "Example Ltd\\Example";
  r.DisplayVersion = "2.1.0";
  r.DefaultInstallDir = "%ProgramsDir%\\Example";
  r.ProductRegistry = "Example Ltd\\Example";
  r.RegistryEntries =
      "\\HKLM\\Software\\Example\r\n"
      "\\HKCU\\Software\\Example,\"Path, with comma\",1,%InstallDir%,0,1\r\n";
  r.BitmapSize = 50;
  r.StretchMode = 1;
  r.LicenseTexts = {"Licence\r\nline two\r\n", "Second page"};
  r.ReadmeTexts = {"Read me"};
  r.UninstallSubdir = "uninst";
  r.UninstallerFileName = "remove.exe";
  r.UninstallKeyName = "ExampleKey";
  r.InstallDirRegistryValue = "\\HKLM\\Software\\Example\\Dir";
  r.WindowTitle = "<product> Setup";
  r.SidePictureFrame = 1;
  r.TitleColor = 0x000080FF;
  r.TitleShadow = 3;
  r.TitlePosition = 2;
  r.TitleFont = "Verdana, Arial";
  r.TopColor = 0x00112233;
  r.BottomColor = 0x00030201;
  r.BackgroundBitmap = FullBackground();
  r.BitmapTPI = 7;
  r.CopyrightPos = 6;
  r.CopyrightColor = 0x00302010;
  r.CopyrightSize = 0.75;
  r.CopyrightText = "(c) Example Ltd";
  r.CopyrightFont = "Tahoma";
  r.MasterProduct = "Base";
  r.MasterDisplayName = "Base Product";
  r.DesktopFolderName = "Example Tools";
  r.DesktopFolderIcon = std::string("\0\0\1\0folder", 10);
  r.PreInstallBatch = "echo one\r\necho two\r\n";
  r.PostInstallBatch = "echo post";
  r.ExitBatch = "echo exit";
  r.UninstallBatch1 = "echo u1";
  r.UninstallBatch2 = "echo u2";
  r.UpgradeBatch = "echo up";
  r.ReinstallBatch = "echo re";
  r.BuildTime = BuildTimeBytes({2024, 1, 2, true, 3, 4, 5});
  r.ExcludedSystems = 0x11;
  r.ArchiveFromFile = 1;
  r.AdminRequirement = 2;
  r.RunAfterInstall = "readme.txt";
  r.LaunchAfterInstall = "example.exe";
  r.DocumentAfterInstall = "manual.pdf";
  r.NotifyNewURL = "http://example.com/new?v=%version%";
  r.NotifyUpgradeURL = "http://example.com/up";
  r.NotifyDowngradeURL = "http://example.com/down";
  r.NotifyReinstallURL = "http://example.com/re";
  r.NotifyURL = "http://example.com/gone";
  r.UpgradeWarnBelow = "2.0";
  r.Password = "secret";
  r.MustUninstallBelow = "1.0";
  r.FirewallEntries = "8080;Example Server;3;0\r\n%InstallDir%\\example.exe;Example;0;1\r\n";
  r.ExtraDiskSpace = 4096;
  r.PageStyles = {1, 2, 2, 2, 2, 2, 2, 7};
  r.UninstallerIcon = std::string("\0\0\1\0uninst", 10);
  r.FileDeletions = {{"%InstallDir%\\old.dll", 2, "2020-01-31", 2 | 4}, {"%Temp%\\*.tmp", 5, "1000", 8}};
  r.Associations = {{1, ".exf", "Example.File", "Example file", "open", "&Open", "\"%InstallDir%\\example.exe\" \"%1\"",
                     "English", "%InstallDir%\\example.ico"}};
  ShortcutRecord link;
  link.LinkTarget = "%InstallDir%\\example.exe";
  link.LinkName = "Tools\\Example";
  link.LinkIcon = "example.ico";
  link.LinkArguments = "--start";
  link.LinkWorkingDir = "%InstallDir%";
  link.OnDesktop = 1;
  link.InStartMenu = 1;
  link.LinkExtraFolder = "%DesktopDir%";
  link.ShowMode = 2;
  link.KeepOnUninstall = 1;
  r.Shortcuts = {link};
  r.RootShortcutTarget = "%InstallDir%\\example.exe";
  r.RootShortcutName = "Example";
  r.UninstallValues = {{"HelpLink", 1, "http://example.com/help"}, {"\\HKCU\\Software\\Example\\Count", 4, "42"}};
  r.ProgramsToClose = {{"ExampleWindow", "*Example", "Example", 2, 4}};
  r.EndMarker = package::kSettingsEndMarker;
  return r;
}

TEST(Project, FullExampleSetsEveryField) {
  TempFolder folder;
  folder.Write("art/folder.ico", std::string("\0\0\1\0folder", 10));
  folder.Write("art/back.bmp", FullBackground());
  folder.Write("art/uninstall.ico", std::string("\0\0\1\0uninst", 10));
  folder.Write("texts/eula.txt", "Licence\nline two\n");
  const Project project = LoadProject(folder.Write("project.toml", kFullProject));

  SettingsRecord expected = ExpectedFullSettings();
  const LanguageStrings& languages = project.settings.Languages;
  EXPECT_EQ(languages.Names, (std::vector<std::string>{"Deutsch", "English"}));
  ASSERT_EQ(languages.Messages.size(), static_cast<std::size_t>(kMessageCount));
  EXPECT_EQ(languages.Messages[42], (std::vector<std::string>{"<product> wurde erfolgreich installiert.", "Done!"}));
  EXPECT_EQ(languages.Messages[21], (std::vector<std::string>{"Fehler", "Error"}));
  expected.Languages = languages;
  EXPECT_EQ(project.settings, expected);

  EXPECT_TRUE(project.options.compress);
  EXPECT_EQ(project.options.level, 9);
  EXPECT_EQ(project.options.chunkSize, 65536u);
  EXPECT_TRUE(project.files.empty());
}

TEST(Project, DefaultsOfAnAlmostEmptyProject) {
  TempFolder folder;
  const Project project = LoadProject(folder.Write("project.toml", "[product]\nname = \"Tiny\"\n"));
  const SettingsRecord& s = project.settings;
  EXPECT_EQ(s.ProductFlags, (1ull << flags::kCompressedChunks) | (1ull << flags::kVerifyChecksums));
  EXPECT_TRUE(project.options.compress);
  EXPECT_EQ(s.UninstallerFileName, "uninstall.exe");
  EXPECT_EQ(s.TitleSize, 1.0);
  EXPECT_EQ(s.BitmapTPI, -1);
  EXPECT_EQ(s.BuildTime, (std::array<std::uint8_t, 20>{}));  // no wall-clock time unless asked for
  EXPECT_EQ(s.Languages.Names, std::vector<std::string>{"English"});
  EXPECT_EQ(s.EndMarker, package::kSettingsEndMarker);
}

// Each bad project, and what its message must say: file, line, key and why.
struct BadProject {
  const char* toml;
  const char* message;
};

void PrintTo(const BadProject& bad, std::ostream* out) { *out << bad.toml; }

class ProjectErrors : public ::testing::TestWithParam<BadProject> {};

TEST_P(ProjectErrors, NameFileLineAndKey) {
  TempFolder folder;
  folder.Write("a.txt", "a");
  folder.Write("b.txt", "b");
  folder.Write("fr.toml", "name = \"Francais\"\n[messages]\n19 = \"%s et %s\"\n");
  const std::string message = ErrorOf(folder.Write("project.toml", GetParam().toml));
  EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
  if (std::string_view(GetParam().message).rfind("fr.toml", 0) != 0) {
    EXPECT_EQ(message.rfind((folder.path() / "project.toml").string() + ":", 0), 0u) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Project, ProjectErrors,
    ::testing::Values(
        BadProject{"[product]\nversion = 3\n", "project.toml:2: [product] version: expected a string"},
        BadProject{"[product]\nnmae = \"x\"\n", "project.toml:2: [product] nmae: unknown key"},
        BadProject{"[prodcut]\nname = \"x\"\n", "project.toml:1: prodcut: unknown key"},
        BadProject{"[product]\nname = \"x\"\n[product\n", "project.toml:3:"},
        BadProject{"[product]\nname = \"\xCE\xA9mega\"\n", "project.toml:2: [product] name: the character U+03A9"},
        BadProject{"[product]\nbitness = 16\n", "project.toml:2: [product] bitness: expected 0 (any), 32 or 64"},
        BadProject{"[product]\nadmin = \"maybe\"\n",
                   "[product] admin: expected one of \"none\", \"required\", \"ask\""},
        BadProject{"[wizard]\nmin_stage_time = 10000\n",
                   "project.toml:2: [wizard] min_stage_time: expected an integer from 0 to 9999"},
        BadProject{"[wizard.styles]\nwelcome = 1\n", "project.toml:2: [wizard.styles] welcome: unknown key"},
        BadProject{"[background]\nbitmap_size = 101\n",
                   "project.toml:2: [background] bitmap_size: expected an integer from 0 to 100"},
        BadProject{"[background]\ntitle_color = \"#12345\"\n", "[background] title_color: expected a colour"},
        BadProject{"[background]\n\ncopyright_text = \"x\"\n",
                   "project.toml:3: [background] copyright_text: needs copyright_position"},
        BadProject{"[background]\nbitmap = \"missing.bmp\"\n", "[background] bitmap: no such file: \"missing.bmp\""},
        BadProject{"[background]\nbitmap_transparent_index = 3\n", "needs a bitmap"},
        BadProject{"[uninstall]\nicon = \"a.txt\"\n", "project.toml:2: [uninstall] icon: needs [flags] uninstaller"},
        BadProject{"[uninstall]\nfile_time = \"2024-02-30\"\n", "[uninstall] file_time: expected a date"},
        BadProject{"[master]\nproduct = \"Base\"\n", "project.toml:1: [master]: needs [flags] master_product"},
        BadProject{"[flags]\nuninstaler = true\n", "project.toml:2: [flags] uninstaler: unknown key"},
        BadProject{"[flags]\nuninstaller = 1\n", "project.toml:2: [flags] uninstaller: expected true or false"},
        BadProject{"[flags]\nraw_flags2 = \"0x100000000\"\n", "[flags] raw_flags2: expected a 32-bit number"},
        BadProject{"[build]\nlevel = 12\n", "project.toml:2: [build] level: expected an integer from 1 to 9"},
        BadProject{"[languages]\nuse = [\"Klingon\"]\n", "project.toml:2: [languages] use: no language \"Klingon\""},
        BadProject{"[languages]\nuse = [\"English\", \"English\"]\n", "[languages] use: \"English\" is listed twice"},
        BadProject{"[languages.English]\n13 = \"code %s\"\n",
                   "project.toml:2: [languages.English] 13: needs exactly the conversions %d"},
        BadProject{"[languages.English]\n105 = \"x\"\n",
                   "project.toml:2: [languages.English] 105: not a message number (0 to 104)"},
        BadProject{"[languages.Deutsch]\n1 = \"x\"\n", "project.toml:1: [languages] Deutsch: not a language in use"},
        BadProject{"[languages]\nadd = [\"fr.toml\"]\n",
                   "fr.toml:3: [messages] 19: needs exactly the conversions %s%c%s"},
        BadProject{"[[files]]\nsource = \"missing/*.txt\"\n", "project.toml:2: [[files]] #1 source: matches no file"},
        BadProject{"[[files]]\nsource = \"a.txt\"\n[[files]]\nsource = \"b.txt\"\nkind = \"driver\"\n",
                   "project.toml:5: [[files]] #2 kind: expected one of \"program\""},
        BadProject{"[[files]]\nsource = \"a.txt\"\nversion = \"1.0\"\n", "[[files]] #1 version: only system"},
        BadProject{"[[files]]\nsource = \"*.txt\"\ntarget = \"x.txt\"\n",
                   "[[files]] #1 target: renames one file, but source matches 2"},
        BadProject{"[[files]]\nsource = \"a.txt\"\nshortcut_icon = \"a.ico\"\n",
                   "shortcut_icon: needs desktop_shortcut or start_menu_shortcut"},
        BadProject{"[[files]]\nsource = \"a.txt\"\nmsi_ui_level = \"full\"\n",
                   "[[files]] #1: msi_ui_level and remove_at_uninstall are for msi_package"},
        BadProject{"[[files]]\nsource = \"a.txt\"\n[[files]]\nsource = \"*.txt\"\n",
                   "[[files]] #2 source: \"a.txt\" would be installed twice"},
        BadProject{"[[files]]\nsource = \"a.txt\"\ndestination = \"../up\"\n",
                   "[[files]] #1 destination: may not climb out"},
        BadProject{"[[files]]\nsource = \"a.txt\"\nattributes = [\"readonly\", \"shiny\"]\n",
                   "[[files]] #1 attributes: expected \"keep\""},
        BadProject{"[[shortcut]]\nname = \"x\"\n", "project.toml:1: [[shortcut]] #1 target: required"},
        BadProject{"[[shortcut]]\ntarget = \"x.exe\"\n", "[[shortcut]] #1: say where the shortcut goes"},
        BadProject{"[[association]]\nextension = \".x\"\nlanguage = \"Deutsch\"\n",
                   "project.toml:3: [[association]] #1 language: not one of the languages"},
        BadProject{"[[file_deletion]]\nname = \"x\"\ncondition = \"size_equal\"\nat_install = true\n",
                   "[[file_deletion]] #1 condition: needs a value"},
        BadProject{"[[file_deletion]]\nname = \"x\"\n", "[[file_deletion]] #1: set at_install, at_uninstall or both"},
        BadProject{"[[uninstall_value]]\npath = \"x\"\ntype = \"dword\"\ndata = \"ten\"\n",
                   "[[uninstall_value]] #1 data: a dword needs a decimal number"},
        BadProject{"[[close_program]]\nname = \"x\"\n", "[[close_program]] #1: give class, title or both"},
        BadProject{"[[registry]]\nkey = \"HKLM\\\\Software\"\n",
                   "project.toml:2: [[registry]] #1 key: expected a key below"},
        BadProject{"[[registry]]\nkey = \"\\\\HKCU\\\\x\"\ntype = \"binary\"\ndata = \"0A B\"\n",
                   "[[registry]] #1 data: binary data needs pairs"},
        BadProject{"[[firewall]]\ntarget = \"8080\"\nname = \"x\"\n", "[[firewall]] #1: a port needs tcp, udp or both"},
        BadProject{"[[license]]\nfile = \"a.txt\"\ntext = \"b\"\n",
                   "project.toml:1: [[license]] #1: give either file or text"},
        BadProject{"[[readme]]\ntext = 5\n",
                   "project.toml:2: [[readme]] #1 text: expected a string or an array of strings"}));

std::string Repeat(std::string_view entry, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += entry;
  return text;
}

TEST(Project, ListBoundsAreTheProgramsBounds) {
  struct Bound {
    std::string_view entry;
    int allowed;
    std::string_view table;
  };
  const Bound bounds[] = {
      {"[[license]]\ntext = \"x\"\n", 20, "[[license]]"},
      {"[[readme]]\ntext = \"x\"\n", 20, "[[readme]]"},
      {"[[shortcut]]\ntarget = \"x\"\ndesktop = true\n", 1000, "[[shortcut]]"},
      {"[[association]]\nextension = \".x\"\n", 1000, "[[association]]"},
      {"[[uninstall_value]]\npath = \"x\"\n", 1000, "[[uninstall_value]]"},
      {"[[file_deletion]]\nname = \"x\"\nat_install = true\n", 1001, "[[file_deletion]]"},
      {"[[close_program]]\nclass = \"x\"\n", 1000, "[[close_program]]"},
  };
  TempFolder folder;
  for (const Bound& bound : bounds) {
    SCOPED_TRACE(bound.table);
    const auto file = folder.Write("project.toml", Repeat(bound.entry, bound.allowed));
    EXPECT_NO_THROW(LoadProject(file));
    folder.Write("project.toml", Repeat(bound.entry, bound.allowed + 1));
    const std::string expected = std::string(bound.table) + " #" + std::to_string(bound.allowed + 1) + ": more than " +
                                 std::to_string(bound.allowed);
    EXPECT_NE(ErrorOf(file).find(expected), std::string::npos) << ErrorOf(file);
  }
}

TEST(Project, FileEntriesFollowTheGlobInSortedOrder) {
  TempFolder folder;
  for (const char* name :
       {"payload/zeta.txt", "payload/Beta.txt", "payload/alpha.txt", "payload/sub/deep/c.txt", "payload/sub/b.txt",
        "payload/.hidden.txt", "payload/.git/x.txt", "payload/skip.bak", "payload/sub/old.txt"}) {
    folder.Write(name, name);
  }
  folder.Write("project.toml", R"(
[[files]]
source = "payload/**/*.txt"
destination = "docs/"
exclude = ["**/old.txt"]
permanent = true
overwrite = "only_if_missing"
attributes = ["readonly", "archive"]
stamp = "none"
)");
  const Project project = LoadProject(folder.path() / "project.toml");
  std::vector<std::string> names;
  for (const FileSpec& file : project.files) names.push_back(file.record.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"docs\\Beta.txt", "docs\\alpha.txt", "docs\\sub\\b.txt",
                                             "docs\\sub\\deep\\c.txt", "docs\\zeta.txt"}));
  const FileSpec& first = project.files.front();
  EXPECT_EQ(first.source, folder.path() / "payload/Beta.txt");
  EXPECT_EQ(first.record.FileFlags, (3 << 2) | (1 << 5));
  EXPECT_EQ(first.record.Attributes, 0x21);
  EXPECT_EQ(first.record.Stamp, (FileStamp{}));
  EXPECT_EQ(first.origin, (folder.path() / "project.toml").string() + ":2");

  // The same tree read twice gives the same list.
  EXPECT_EQ(LoadProject(folder.path() / "project.toml").files.size(), project.files.size());
}

TEST(Project, FileFieldsAndStamps) {
  TempFolder folder;
  const auto tool = folder.Write("bin/tool.exe", "MZ");
  folder.Write("fonts/nice.ttf", "font");
  folder.Write("sys/lib.dll", "dll");
  folder.Write("setup/pkg.msi", "msi");
  // 2023-04-05 06:07:08 UTC, whatever the local time zone.
  const auto at = std::chrono::sys_seconds{std::chrono::seconds{1680674828}};
  std::filesystem::last_write_time(tool, std::chrono::file_clock::from_sys(at));
  folder.Write("project.toml", R"toml(
[[files]]
source = "bin/tool.exe"
desktop_shortcut = true
label = "Tool"
shortcut_icon = "tool.ico"
arguments = "--fast"
working_dir = "%InstallDir%"
target = "renamed.exe"

[[files]]
source = "fonts/nice.ttf"
kind = "font"
label = "Nice (TrueType)"
stamp = 2022-12-31

[[files]]
source = "sys/lib.dll"
kind = "com_server"
version = "2.0.1"
attributes = "keep"
stamp = 2022-12-31T23:59:58

[[files]]
source = "setup/pkg.msi"
kind = "msi_package"
msi_ui_level = "basic"
remove_at_uninstall = true
to_uninstall_folder = true
)toml");
  const Project project = LoadProject(folder.path() / "project.toml");
  ASSERT_EQ(project.files.size(), 4u);
  FileRecord tool_record;
  tool_record.Name = "tool.exe";
  tool_record.FileFlags = 1;
  tool_record.Stamp = {2023, 4, 5, 6, 7, 8};
  tool_record.Label = "Tool";
  tool_record.ShortcutIcon = "tool.ico";
  tool_record.Arguments = "--fast";
  tool_record.WorkingDir = "%InstallDir%";
  tool_record.TargetOverride = "renamed.exe";
  EXPECT_EQ(project.files[0].record, tool_record);

  EXPECT_EQ(project.files[1].record.Kind, FileKind::kFont);
  EXPECT_EQ(project.files[1].record.Label, "Nice (TrueType)");
  EXPECT_EQ(project.files[1].record.Stamp, (FileStamp{2022, 12, 31, -1, 0, 0}));
  EXPECT_EQ(project.files[2].record.Kind, FileKind::kComServer);
  EXPECT_EQ(project.files[2].record.Label, "2.0.1");
  EXPECT_EQ(project.files[2].record.Attributes, -1);
  EXPECT_EQ(project.files[2].record.Stamp, (FileStamp{2022, 12, 31, 23, 59, 58}));
  EXPECT_EQ(project.files[3].record.Kind, FileKind::kMsiPackage);
  EXPECT_EQ(project.files[3].record.MsiUiLevel, 3);
  EXPECT_EQ(static_cast<std::uint32_t>(project.files[3].record.FileFlags), (1u << 31) | (1u << 6));
}

TEST(Project, LanguagesCombineCatalogueOverridesAndAddedFiles) {
  TempFolder folder;
  folder.Write("lang/fr.toml",
               "name = \"Fran\xC3\xA7"
               "ais\"\n[messages]\n21 = \"Erreur\"\n13 = \"Code %d\\nfin\"\n");
  folder.Write("project.toml", R"(
[languages]
add = ["lang/fr.toml"]
[languages.English]
21 = "Problem"
)");
  const LanguageStrings strings = LoadProject(folder.path() / "project.toml").settings.Languages;
  EXPECT_EQ(strings.Names, (std::vector<std::string>{"English",
                                                     "Fran\xE7"
                                                     "ais"}));
  EXPECT_EQ(strings.Messages[21], (std::vector<std::string>{"Problem", "Erreur"}));
  EXPECT_EQ(strings.Messages[13][1], "Code %d\r\nfin");
  EXPECT_EQ(strings.Messages[0][1], "<product> Setup");  // missing in the file: English
  for (const auto& row : strings.Messages) EXPECT_EQ(row.size(), 2u);
}

TEST(Project, TextsAreStoredAsWindows1252) {
  TempFolder folder;
  folder.Write("project.toml",
               "[product]\nname = \"Gr\xC3\xBC\xC3\x9F"
               "e \xE2\x82\xAC\"\n[folders]\ninstall = \"|C:\\\\\xCE\xA9\"\n");
  const SettingsRecord s = LoadProject(folder.path() / "project.toml").settings;
  EXPECT_EQ(s.ProductName,
            "Gr\xFC\xDF"
            "e \x80");
  EXPECT_EQ(s.DefaultInstallDir, "|C:\\\xCE\xA9");  // a "|" path keeps its UTF-8
}

// Project files and inspect output depend on the flag names: one name per bit,
// each bit named once, names a project file can write as bare keys.
TEST(Project, FlagNamesAreUniqueAndWellFormed) {
  std::set<std::string_view> names;
  std::set<std::pair<FlagWord, int>> bits;
  for (const FlagName& flag : FlagNames()) {
    EXPECT_TRUE(names.insert(flag.name).second) << flag.name;
    EXPECT_TRUE(bits.insert({flag.word, flag.bit}).second) << flag.name;
    EXPECT_LT(flag.bit, flag.word == FlagWord::Product ? 64 : 32) << flag.name;
    EXPECT_EQ(flag.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string_view::npos)
        << flag.name;
    EXPECT_FALSE(flag.description.empty()) << flag.name;
    EXPECT_EQ(FindFlag(flag.name), &flag);
  }
  EXPECT_EQ(FindFlag("raw_flags"), nullptr);  // [flags] keeps these for the raw words
  EXPECT_EQ(FindFlag("raw_flags2"), nullptr);
  EXPECT_EQ(FindFlag("uninstaller")->bit, flags::kUninstaller);
  EXPECT_EQ(FindFlag("compress_archive")->bit, flags::kCompressedChunks);
  EXPECT_EQ(FindFlag("master_product")->bit, flags::kMasterProduct);
  EXPECT_EQ(FindFlag("no_background_window")->bit, flags::kNoBackgroundWindow);
  EXPECT_EQ(FindFlag("verify_checksums")->bit, flags::kVerifyChecksums);
  EXPECT_EQ(FindFlag("maximize_background")->bit, flags::kTitleOption);
}

struct GlobCase {
  const char* pattern;
  const char* path;
  bool matches;
};

void PrintTo(const GlobCase& c, std::ostream* out) { *out << c.pattern << " ~ " << c.path; }

class ProjectGlob : public ::testing::TestWithParam<GlobCase> {};

TEST_P(ProjectGlob, Matches) {
  EXPECT_EQ(MatchPath(GetParam().pattern, GetParam().path), GetParam().matches)
      << GetParam().pattern << " against " << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Project, ProjectGlob,
                         ::testing::Values(GlobCase{"*.txt", "a.txt", true}, GlobCase{"*.txt", "a.txt.bak", false},
                                           GlobCase{"*.txt", "sub/a.txt", false}, GlobCase{"**/*.txt", "a.txt", true},
                                           GlobCase{"**/*.txt", "x/y/a.txt", true}, GlobCase{"a/**", "a/b/c", true},
                                           GlobCase{"?.txt", "ab.txt", false}, GlobCase{"[ab].txt", "b.txt", true},
                                           GlobCase{"[!ab].txt", "b.txt", false}, GlobCase{"[a-c]x", "bx", true},
                                           GlobCase{"*", ".hidden", false}, GlobCase{".*", ".hidden", true},
                                           GlobCase{"**/x", ".git/x", false}, GlobCase{"[x", "[x", true},
                                           GlobCase{"a\\*.txt", "a/b.txt", true}));

}  // namespace
}  // namespace brennick::build
