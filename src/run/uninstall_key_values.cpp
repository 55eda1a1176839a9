#include "run/uninstall_key_values.h"

#include <cstdio>
#include <cstdlib>

#include "package/settings_record.h"

namespace brennick {

namespace {

UninstallKeyValue Text(std::string name, std::string text, bool dropIfEmpty = false) {
  UninstallKeyValue v;
  v.name = std::move(name);
  v.remove = dropIfEmpty && text.empty();
  v.text = std::move(text);
  return v;
}

UninstallKeyValue Number(std::string name, std::uint32_t number, bool remove = false) {
  UninstallKeyValue v;
  v.name = std::move(name);
  v.type = UninstallKeyValue::Type::Number;
  v.number = number;
  v.remove = remove;
  return v;
}

std::uint32_t LeadingNumber(const std::string& text) {
  return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

std::string ColourText(std::uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  return text;
}

}  // namespace

std::string UninstallKeyPathOf(std::string_view keyName) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::string(keyName);
}

std::string UninstallArguments(const InstallerState& state) { return "/u:\"" + state.Settings.UninstallKeyName + "\""; }

std::string FloatText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  std::string result = text;
  while (result.ends_with('0')) result.pop_back();
  if (result.ends_with('.')) result.pop_back();
  if (result == "-0") result = "0";
  return result;
}

std::string InstallDateText(const DateTime& now) { return FormatDateTime("m/d/y h:ii:ssap", now); }

std::vector<UninstallKeyValue> UninstallKeyValues(const InstallerState& state, const UninstallKeyFacts& facts) {
  const SettingsRecord& s = state.Settings;
  const std::string quoted = "\"" + facts.uninstallerPath + "\"";
  const std::string arguments = UninstallArguments(state);
  std::vector<UninstallKeyValue> values = {
      Text("UninstallString", quoted + " " + arguments),
      Text("QuietUninstallString", quoted + " /a " + arguments),
      Text("DisplayName", state.ProductName),
      Text("InstallSource", facts.installerPath),
      Text("DisplayVersion", s.DisplayVersion, true),
      Text("Publisher", s.Publisher, true),
      Number("Bitness", s.Bitness),
  };
  // A version without a point says nothing of major and minor: earlier values stay.
  if (const std::size_t point = s.DisplayVersion.find('.'); point != std::string::npos) {
    values.push_back(Number("VersionMajor", LeadingNumber(s.DisplayVersion)));
    values.push_back(Number("VersionMinor", LeadingNumber(s.DisplayVersion.substr(point + 1))));
  }
  const std::uint64_t kilobytes = facts.totalInstalledBytes / 1024;
  const bool bitmap = HasFlag(s.ProductFlags, flags::kKeepBackgroundBitmap) && !s.BackgroundBitmap.empty();
  std::vector<UninstallKeyValue> rest = {
      Text("ProductRegistry", s.ProductRegistry, true),
      Text("ProductStartMenu", s.ProductStartMenu, true),
      Text("SharedPath", s.SharedPath, true),
      Text("ProductFonts", state.Lists.ProductFonts, true),
      Text("ProductFlags", std::to_string(static_cast<std::int64_t>(s.ProductFlags))),
      Text("ProductFlags2", std::to_string(s.ProductFlags2)),
      Text("UninstallBatch1", s.UninstallBatch1, true),
      Text("UninstallBatch2", s.UninstallBatch2, true),
      Text("SharedFiles", facts.sharedFiles, true),
      Text("UninstallSubdir", s.UninstallSubdir, true),
      Number("ShortcutMode", s.ShortcutMode, s.ShortcutMode == 0),
      Text("NotifyURL", s.NotifyURL, true),
      Number("EstimatedSize", static_cast<std::uint32_t>(kilobytes), kilobytes < 1 || kilobytes > 0xFFFFFFFFu),
      Text("DisplayTitle", facts.displayTitle),
      Number("TitleColor", s.TitleColor),
      Text("TitleSize", FloatText(s.TitleSize)),
      Number("TopColor", s.TopColor),
      Number("BottomColor", s.BottomColor, state.MonoColor),
      Number("MonoColor", state.MonoColor ? 1 : 0),
      Number("TitleShadow", s.TitleShadow),
      Number("TitlePosition", s.TitlePosition),
      Text("TitleFont", s.TitleFont),
      Text("TaskbarText", s.TaskbarText),
      Text("CopyrightText", s.CopyrightText),
      Text("CopyrightFont", s.CopyrightFont),
      Text("CopyrightSize", FloatText(s.CopyrightSize)),
      Text("CopyrightColor", ColourText(s.CopyrightColor)),
      Number("CopyrightPos", s.CopyrightPos),
      Number("BitmapSize", s.BitmapSize, !bitmap),
      Number("BitmapTPI", static_cast<std::uint32_t>(s.BitmapTPI), !bitmap || s.BitmapTPI == -1),
      Number("StretchMode", s.StretchMode, !bitmap),
  };
  values.insert(values.end(), rest.begin(), rest.end());
  return values;
}

}  // namespace brennick
