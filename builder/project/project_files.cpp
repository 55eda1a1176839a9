#include <algorithm>
#include <cctype>
#include <set>
#include <tuple>

#include "builder/basics/windows_1252.h"
#include "builder/project/file_glob.h"
#include "builder/project/project_parts.h"
#include "package/package_layout.h"

namespace brennick::build {

namespace {

constexpr std::int32_t kAttributeMask = 0x1127;  // read-only, hidden, system, archive, temporary, offline

// The destination sub-folder with "\" between its parts, no "\" at either end.
std::string DestinationFolder(TableReader& t) {
  const std::string text = t.Utf8("destination").value_or("");
  std::string folder;
  std::string part;
  auto flush = [&] {
    if (part == "..") t.Fail("destination", "may not climb out of its base folder with \"..\"");
    if (!part.empty() && part != ".") folder += (folder.empty() ? "" : "\\") + part;
    part.clear();
  };
  for (char c : text) {
    if (c == '/' || c == '\\') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  if (folder.find(':') != std::string::npos)
    t.Fail("destination", "a sub-folder, not a drive; use target for other places");
  return folder;
}

// The record's name: Windows-1252 when it can be, else "|" and UTF-8.
std::string StoredName(TableReader& t, const std::string& utf8) {
  if (auto text = Utf8ToWindows1252(utf8)) return *text;
  if (!IsValidUtf8(utf8)) t.Fail("source", "a matched file name is not valid UTF-8");
  return "|" + utf8;
}

std::int32_t ReadAttributes(TableReader& t) {
  const toml::node* node = t.Node("attributes");
  if (node == nullptr) return -1;
  if (node->is_string() && node->as_string()->get() == "keep") return -1;
  if (node->is_integer()) {
    const auto value = *t.Integer("attributes", -1, kAttributeMask);
    if (value != -1 && (value & ~kAttributeMask) != 0) t.Fail("attributes", "expected bits of 0x1127 only, or -1");
    return static_cast<std::int32_t>(value);
  }
  const char* expected = "expected \"keep\", -1, or an array of readonly, hidden, system, archive, temporary, offline";
  if (!node->is_array()) t.Fail("attributes", expected);
  const std::pair<std::string_view, std::int32_t> names[] = {{"readonly", 0x1},    {"hidden", 0x2},
                                                             {"system", 0x4},      {"archive", 0x20},
                                                             {"temporary", 0x100}, {"offline", 0x1000}};
  std::int32_t attributes = 0;
  for (const toml::node& entry : *node->as_array()) {
    const auto* name = entry.as_string();
    const auto* found = name == nullptr ? std::end(names)
                                        : std::find_if(std::begin(names), std::end(names),
                                                       [&](const auto& n) { return n.first == name->get(); });
    if (found == std::end(names)) t.Fail("attributes", expected);
    attributes |= found->second;
  }
  return attributes;
}

// The stamp rule of one entry: its own "stamp", or the project's.
StampRule ReadStampRule(TableReader& t, const StampRule& project) {
  const toml::node* node = t.Node("stamp");
  if (node == nullptr) return project;
  StampRule rule;
  if (node->is_string() && node->as_string()->get() == "source") return rule;
  if (node->is_string() && node->as_string()->get() == "none") {
    rule.kind = StampRule::Kind::None;
    return rule;
  }
  rule.kind = StampRule::Kind::Fixed;
  rule.fixed = *t.Time("stamp", "\"source\", \"none\", ");
  return rule;
}

// The fields every file of one entry shares (all but Name and the stamp).
FileRecord ReadRecordFields(TableReader& t) {
  FileRecord r;
  r.Kind = t.Choice<FileKind>("kind", {{"program", FileKind::kProgram},
                                       {"shared", FileKind::kShared},
                                       {"font", FileKind::kFont},
                                       {"startup_program", FileKind::kStartupProgram},
                                       {"system", FileKind::kSystem},
                                       {"com_server", FileKind::kComServer},
                                       {"type_library", FileKind::kTypeLibrary},
                                       {"versioned_program", FileKind::kVersionedProgram},
                                       {"inf_driver", FileKind::kInfDriver},
                                       {"msi_package", FileKind::kMsiPackage},
                                       {"control_panel_applet", FileKind::kControlPanelApplet}})
               .value_or(FileKind::kProgram);
  const auto overwrite = t.Choice<std::int32_t>(
      "overwrite",
      {{"normal", 0}, {"never", 1}, {"only_if_exists", 2}, {"only_if_missing", 3}, {"unless_newer_exists", 4}});
  r.FileFlags = overwrite.value_or(0) << 2;
  const std::pair<const char*, std::uint32_t> bits[] = {{"desktop_shortcut", file_flags::kDesktopShortcut},
                                                        {"start_menu_shortcut", file_flags::kStartMenuShortcut},
                                                        {"permanent", file_flags::kPermanent},
                                                        {"to_uninstall_folder", file_flags::kToUninstallFolder},
                                                        {"remove_at_uninstall", file_flags::kRemoveMsiAtUninstall}};
  std::uint32_t flags = static_cast<std::uint32_t>(r.FileFlags);
  for (const auto& [key, bit] : bits) {
    if (t.Bool(key).value_or(false)) flags |= bit;
  }
  flags |= static_cast<std::uint32_t>(t.Bits("raw_flags", 32).value_or(0));
  r.FileFlags = static_cast<std::int32_t>(flags);
  r.Attributes = ReadAttributes(t);

  const bool versioned = IsVersionedKind(r.Kind);
  if (t.Has("version") && !versioned)
    t.Fail("version", "only system, com_server, type_library and versioned_program files have one");
  if (t.Has("label") && versioned) t.Fail("label", "this kind takes version instead");
  Assign(t.Text(versioned ? "version" : "label"), r.Label);
  if ((t.Has("desktop_shortcut") || t.Has("start_menu_shortcut")) && r.Kind != FileKind::kProgram &&
      r.Kind != FileKind::kStartupProgram) {
    t.FailTable("only program and startup_program files get shortcuts");
  }
  Assign(t.Text("shortcut_icon"), r.ShortcutIcon);
  if (t.Has("shortcut_icon") && !HasShortcutIcon(r))
    t.Fail("shortcut_icon", "needs desktop_shortcut or start_menu_shortcut");
  Assign(t.Text("arguments"), r.Arguments);
  Assign(t.Text("working_dir"), r.WorkingDir);
  Assign(t.Text("target"), r.TargetOverride);
  const bool msi = r.Kind == FileKind::kMsiPackage;
  if (!msi && (t.Has("msi_ui_level") || (flags >> 31) != 0))
    t.FailTable("msi_ui_level and remove_at_uninstall are for msi_package files");
  Assign(t.ChoiceOrInteger("msi_ui_level",
                           {{"no_change", 0}, {"default", 1}, {"none", 2}, {"basic", 3}, {"reduced", 4}, {"full", 5}},
                           0, 0x7FFFFFFF),
         r.MsiUiLevel);
  return r;
}

}  // namespace

std::vector<FileSpec> ReadFiles(TableReader& root, const StampRule& stamps) {
  std::vector<FileSpec> files;
  std::set<std::tuple<std::string, FileKind, std::string, bool>> destinations;
  for (TableReader& t : root.Tables("files")) {
    const auto pattern = t.Utf8("source");
    if (!pattern || pattern->empty()) t.Fail("source", "required, and may not be empty");
    std::vector<GlobMatch> matches = ExpandGlob(t.file().folder(), *pattern);
    if (const toml::node* exclude = t.Node("exclude"); exclude != nullptr) {
      if (!exclude->is_array()) t.Fail("exclude", "expected an array of patterns");
      for (const toml::node& entry : *exclude->as_array()) {
        if (!entry.is_string()) t.Fail("exclude", "expected an array of patterns");
        std::erase_if(matches, [&](const GlobMatch& m) { return MatchPath(entry.as_string()->get(), m.relative); });
      }
    }
    if (matches.empty()) t.Fail("source", "matches no file");

    const std::string folder = DestinationFolder(t);
    const FileRecord fields = ReadRecordFields(t);
    const StampRule rule = ReadStampRule(t, stamps);
    if (!fields.TargetOverride.empty() && fields.TargetOverride.find('\\') == std::string::npos && matches.size() > 1) {
      t.Fail("target", "renames one file, but source matches " + std::to_string(matches.size()));
    }
    const std::string origin = t.file().label() + ":" + std::to_string(t.line());
    for (const GlobMatch& match : matches) {
      std::error_code error;
      const auto size = std::filesystem::file_size(match.file, error);
      if (error) t.Fail("source", "cannot read \"" + match.file.string() + "\"");
      if (size > static_cast<std::uintmax_t>(package::kMaxFileDataSize)) {
        t.Fail("source", "\"" + match.relative + "\" is larger than 1 GiB, the most a package holds per file");
      }
      std::string relative = match.relative;
      std::replace(relative.begin(), relative.end(), '/', '\\');
      FileSpec& entry = files.emplace_back();
      entry.source = match.file;
      entry.record = fields;
      entry.record.Name = StoredName(t, folder.empty() ? relative : folder + "\\" + relative);
      if (rule.kind == StampRule::Kind::Source) entry.record.Stamp = StampOf(ModificationTime(match.file));
      if (rule.kind == StampRule::Kind::Fixed) entry.record.Stamp = StampOf(rule.fixed);
      entry.origin = origin;

      std::string lower = entry.record.Name;
      std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
      const bool toUninstallFolder = (entry.record.FileFlags & file_flags::kToUninstallFolder) != 0;
      if (!destinations.emplace(lower, entry.record.Kind, entry.record.TargetOverride, toUninstallFolder).second) {
        t.Fail("source", "\"" + match.relative + "\" would be installed twice under the name " + entry.record.Name);
      }
    }
    t.Finish();
  }
  return files;
}

}  // namespace brennick::build
