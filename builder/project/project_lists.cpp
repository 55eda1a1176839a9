#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "builder/basics/windows_1252.h"
#include "builder/project/project_parts.h"
#include "package/line_breaks.h"
#include "package/package_layout.h"
#include "package/settings_fields.h"

namespace brennick::build {

namespace {

using namespace settings_limits;

// The entries of a list, refused beyond the program's bound.
std::vector<TableReader> Entries(TableReader& root, const char* key, std::size_t max) {
  std::vector<TableReader> entries = root.Tables(key);
  if (entries.size() > max) entries[max].FailTable("more than " + std::to_string(max) + " entries");
  return entries;
}

std::string Required(TableReader& t, const char* key) {
  auto text = t.Text(key);
  if (!text || text->empty()) t.Fail(key, "required, and may not be empty");
  return *text;
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// A field of the comma-separated form the program reads back.
std::string CommaField(std::string_view field) {
  std::string out;
  for (char c : field) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  const bool quote = field.find_first_of(",\"\t\r\n;|") != std::string_view::npos ||
                     (!field.empty() && (field.front() == ' ' || field.front() == '\'' || field.back() == ' '));
  return quote ? "\"" + out + "\"" : out;
}

void ReadShortcuts(TableReader& root, SettingsRecord& s) {
  for (TableReader& t : Entries(root, "shortcut", kMaxRecords)) {
    ShortcutRecord& r = s.Shortcuts.emplace_back();
    r.LinkTarget = Required(t, "target");
    Assign(t.Text("name"), r.LinkName);
    Assign(t.Text("icon"), r.LinkIcon);
    Assign(t.Text("arguments"), r.LinkArguments);
    Assign(t.Text("working_dir"), r.LinkWorkingDir);
    Assign(t.Bool("desktop"), r.OnDesktop);
    Assign(t.Bool("start_menu"), r.InStartMenu);
    Assign(t.Bool("startup"), r.InStartup);
    Assign(t.Text("extra_folder"), r.LinkExtraFolder);
    Assign(t.Choice<std::uint8_t>("show", {{"normal", 0}, {"minimized", 1}, {"maximized", 2}}), r.ShowMode);
    Assign(t.Bool("keep_on_uninstall"), r.KeepOnUninstall);
    if (!r.OnDesktop && !r.InStartMenu && !r.InStartup && r.LinkExtraFolder.empty()) {
      t.FailTable("say where the shortcut goes: desktop, start_menu, startup or extra_folder");
    }
    t.Finish();
  }
}

void ReadAssociations(TableReader& root, SettingsRecord& s) {
  for (TableReader& t : Entries(root, "association", kMaxRecords)) {
    AssociationRecord& r = s.Associations.emplace_back();
    r.Extension = Required(t, "extension");
    Assign(t.Text("file_type"), r.FileType);
    Assign(t.Text("description"), r.TypeDescription);
    r.Verb = "open";
    Assign(t.Text("verb"), r.Verb);
    Assign(t.Text("verb_text"), r.VerbText);
    Assign(t.Text("command"), r.Command);
    Assign(t.Text("icon"), r.DefaultIcon);
    if (auto isDefault = t.Bool("default_verb")) r.AssocFlags = *isDefault ? 1 : 0;
    Assign(t.Text("language"), r.AssocLanguage);
    const auto& names = s.Languages.Names;
    if (!r.AssocLanguage.empty() && std::find(names.begin(), names.end(), r.AssocLanguage) == names.end()) {
      t.Fail("language", "not one of the languages in [languages] use");
    }
    t.Finish();
  }
}

void ReadFileDeletions(TableReader& root, SettingsRecord& s) {
  for (TableReader& t : Entries(root, "file_deletion", kMaxFileDeletions)) {
    FileDeletionEntry& r = s.FileDeletions.emplace_back();
    r.Name = Required(t, "name");
    if (r.Name == package::kFileDeletionEnd) t.Fail("name", "this name ends the list in the package");
    Assign(t.Choice<std::uint8_t>("condition", {{"always", 0},
                                                {"date_equal", 1},
                                                {"older_than", 2},
                                                {"newer_than", 3},
                                                {"size_equal", 4},
                                                {"size_at_least", 5},
                                                {"size_at_most", 6}}),
           r.ConditionType);
    if (r.ConditionType >= 1 && r.ConditionType <= 3) {
      const auto date = t.Time("value");
      if (!date) t.Fail("condition", "needs a value: the date to compare with");
      char text[32];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", date->year, date->month, date->day);
      r.ConditionValue = text;
      if (date->hasTime) {
        std::snprintf(text, sizeof text, " %02d:%02d:%02d", date->hour, date->minute, date->second);
        r.ConditionValue += text;
      }
    } else if (r.ConditionType >= 4) {
      const auto size = t.Integer("value", 0, INT64_MAX);
      if (!size) t.Fail("condition", "needs a value: the size in bytes");
      r.ConditionValue = std::to_string(*size);
    } else if (t.Has("value")) {
      t.Fail("value", "only a date or size condition has a value");
    }
    const std::pair<const char*, std::uint8_t> bits[] = {
        {"restart_only", 1}, {"restart_fallback", 2}, {"at_install", 4}, {"at_uninstall", 8}};
    for (const auto& [key, bit] : bits) {
      if (t.Bool(key).value_or(false)) r.Flags |= bit;
    }
    if ((r.Flags & 12) == 0) t.FailTable("set at_install, at_uninstall or both");
    t.Finish();
  }
}

void ReadUninstallValues(TableReader& root, SettingsRecord& s) {
  for (TableReader& t : Entries(root, "uninstall_value", kMaxRecords)) {
    UninstallValue& r = s.UninstallValues.emplace_back();
    r.ValuePath = Required(t, "path");
    r.ValueType = 1;
    Assign(t.Choice<std::uint8_t>("type", {{"string", 1}, {"expand_string", 2}, {"dword", 4}}), r.ValueType);
    if (const toml::node* data = t.Node("data"); data != nullptr && data->is_integer() && r.ValueType == 4) {
      r.ValueData = std::to_string(*t.Integer("data", 0, 0xFFFFFFFF));
    } else {
      Assign(t.Text("data"), r.ValueData);
      if (r.ValueType == 4 && !IsDigits(r.ValueData)) t.Fail("data", "a dword needs a decimal number");
    }
    t.Finish();
  }
}

void ReadProgramsToClose(TableReader& root, SettingsRecord& s) {
  for (TableReader& t : Entries(root, "close_program", kMaxProgramsToClose)) {
    ProgramToClose& r = s.ProgramsToClose.emplace_back();
    Assign(t.Text("class"), r.ClassPattern);
    Assign(t.Text("title"), r.TitlePattern);
    Assign(t.Text("name"), r.DisplayName);
    Assign(t.Choice<std::uint32_t>("action", {{"close", 0}, {"quit", 1}, {"ask", 2}}), r.Action);
    if (r.ClassPattern.empty() && r.TitlePattern.empty())
      t.FailTable("give class, title or both (an empty entry matches nothing)");
    if (r.ClassPattern == package::kProgramsToCloseEnd) t.Fail("class", "this pattern ends the list in the package");
    if (r.Action == 2 && r.DisplayName.empty()) t.FailTable("\"ask\" needs a name to show the user");
    if (t.Bool("at_install").value_or(true)) r.PassMask |= 1;
    if (t.Bool("at_uninstall").value_or(true)) r.PassMask |= r.Action == 2 ? 4 : 2;
    if (r.PassMask == 0) t.FailTable("at_install and at_uninstall are both false");
    t.Finish();
  }
}

// A licence or readme file keeps its encoding: the page shows a text that
// begins with a UTF-16 byte-order mark (either order) or with the UTF-8 one as
// Unicode, and any other text in the code page of the chosen language. Only
// the line breaks of 8-bit texts become "\r\n" (the page does the same).
std::string PageFile(TableReader& t) {
  std::string bytes = *t.FileContents("file");
  if (bytes.empty()) t.Fail("file", "the file is empty");
  const std::string_view view = bytes;
  if (view.substr(0, 2) == "\xFF\xFE" || view.substr(0, 2) == "\xFE\xFF") {
    if (bytes.size() % 2 != 0) t.Fail("file", "a UTF-16 text has an even number of bytes; this one is cut short");
    return bytes;
  }
  if (view.substr(0, 3) == "\xEF\xBB\xBF" && !IsValidUtf8(view.substr(3))) {
    t.Fail("file",
           "begins with the UTF-8 byte-order mark but is not valid UTF-8 (the page would show it as 8-bit text)");
  }
  return NormalizeLineBreaks(bytes);
}

void ReadPages(TableReader& root, const char* key, std::vector<std::string>& pages) {
  for (TableReader& t : Entries(root, key, kMaxPageTexts)) {
    if (t.Has("file") == t.Has("text")) t.FailTable("give either file or text");
    if (auto text = t.Lines("text")) {
      pages.push_back(std::move(*text));
    } else {
      pages.push_back(PageFile(t));
    }
    t.Finish();
  }
}

// A registry key path must start with a root the program knows.
void CheckRegistryRoot(TableReader& t, const std::string& key) {
  for (const char* root : {"\\HKLM\\", "\\HKCU\\", "\\HKCR\\", "\\HKU\\", "\\HKCC\\", "\\HKDD\\", "\\HKAU\\"}) {
    if (key.rfind(root, 0) == 0 && key.size() > std::string_view(root).size()) return;
  }
  t.Fail("key", "expected a key below \\HKLM\\, \\HKCU\\, \\HKCR\\, \\HKU\\, \\HKCC\\, \\HKDD\\ or \\HKAU\\");
}

void ReadRegistry(TableReader& root, SettingsRecord& s) {
  std::string lines;
  for (TableReader& t : root.Tables("registry")) {
    const std::string key = Required(t, "key");
    CheckRegistryRoot(t, key);
    const bool value =
        t.Has("name") || t.Has("type") || t.Has("data") || t.Has("skip_install") || t.Has("keep_on_uninstall");
    std::string line = CommaField(key);
    if (value) {
      const std::string name = t.Text("name").value_or("");
      const auto type =
          t.ChoiceOrInteger(
               "type",
               {{"string", 1}, {"expand_string", 2}, {"binary", 3}, {"dword", 4}, {"multi_string", 7}, {"qword", 11}},
               0, 0xFFFFFFFF)
              .value_or(1);
      std::string data;
      if (const toml::node* node = t.Node("data"); node != nullptr && node->is_integer() && (type == 4 || type == 11)) {
        data = std::to_string(*t.Integer("data", 0, type == 4 ? 0xFFFFFFFF : INT64_MAX));
      } else {
        data = t.Text("data").value_or("");
      }
      if ((type == 4 || type == 11) && !IsDigits(data)) t.Fail("data", "a number type needs decimal digits");
      if (type == 3) {
        std::string hex;
        for (char c : data) {
          if (c != ' ') hex += c;
        }
        const bool digits =
            std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
        if (hex.size() % 2 != 0 || !digits) t.Fail("data", "binary data needs pairs of hexadecimal digits");
      }
      const bool skip = t.Bool("skip_install").value_or(false);
      const bool keep = t.Bool("keep_on_uninstall").value_or(false);
      line += "," + CommaField(name) + "," + std::to_string(type) + "," + CommaField(data) + "," + (skip ? "1" : "0") +
              "," + (keep ? "1" : "0");
    }
    lines += line + "\r\n";
    t.Finish();
  }
  s.RegistryEntries = lines;
}

void ReadFirewall(TableReader& root, SettingsRecord& s) {
  std::string lines;
  for (TableReader& t : root.Tables("firewall")) {
    const std::string target = Required(t, "target");
    const std::string name = Required(t, "name");
    for (const auto& [key, text] : {std::pair{"target", &target}, std::pair{"name", &name}}) {
      if (text->find_first_of(";\r\n") != std::string::npos) t.Fail(key, "may not hold \";\" or a line break");
    }
    const bool tcp = t.Bool("tcp").value_or(false);
    const bool udp = t.Bool("udp").value_or(false);
    const bool port = IsDigits(target);
    if (port && !tcp && !udp) t.FailTable("a port needs tcp, udp or both");
    if (!port && (t.Has("tcp") || t.Has("udp"))) t.FailTable("tcp and udp apply to ports, not to programs");
    const bool keep = t.Bool("keep_on_uninstall").value_or(false);
    lines +=
        target + ";" + name + ";" + std::to_string((tcp ? 1 : 0) | (udp ? 2 : 0)) + ";" + (keep ? "1" : "0") + "\r\n";
    t.Finish();
  }
  s.FirewallEntries = lines;
}

}  // namespace

void ReadSettingsLists(TableReader& root, SettingsRecord& s) {
  ReadShortcuts(root, s);
  ReadAssociations(root, s);
  ReadFileDeletions(root, s);
  ReadUninstallValues(root, s);
  ReadProgramsToClose(root, s);
  ReadPages(root, "license", s.LicenseTexts);
  ReadPages(root, "readme", s.ReadmeTexts);
  ReadRegistry(root, s);
  ReadFirewall(root, s);
}

}  // namespace brennick::build
