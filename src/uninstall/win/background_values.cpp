#include "uninstall/win/background_values.h"

#include <cstdint>
#include <cstdlib>

#include "foundation/win/file.h"
#include "foundation/win/registry.h"
#include "package/settings_record.h"
#include "startup/resolve_path.h"

namespace brennick::win {

namespace {

// A floating-point value stored as text ("%.6f" without trailing zeros).
double ReadKeyDouble(HKEY key, const char* name, double absent) {
  const std::string text = ReadKeyString(key, name);
  return text.empty() ? absent : std::strtod(text.c_str(), nullptr);
}

DWORD ReadKeyNumberOr(HKEY key, const char* name, DWORD absent) { return ReadKeyNumber(key, name).value_or(absent); }

std::uint8_t ReadKeyByte(HKEY key, const char* name, std::uint8_t absent) {
  return static_cast<std::uint8_t>(ReadKeyNumberOr(key, name, absent));
}

}  // namespace

std::string ReadBackgroundBitmap(const std::string& path) {
  File file;
  if (!file.Open(path, FileAccess::Read).ok()) return {};
  const std::int64_t size = file.Size();
  if (size <= 0 || size > kLargestBackgroundBitmap) return {};
  // No more than the size found: a file that grows meanwhile is read only so far.
  const FileRead read = file.ReadAt(0, static_cast<std::size_t>(size));
  if (!read.result.ok()) return {};
  return std::string(read.bytes.begin(), read.bytes.end());
}

BackgroundLook ReadBackgroundLook(HKEY key, const InstallerState& state) {
  const std::uint64_t productFlags = state.Settings.ProductFlags;
  BackgroundLook look;
  look.taskbarText = ReadKeyString(key, "TaskbarText");
  // The stored title is already the one in force: the default title was put in at installation.
  look.title = ReadKeyString(key, "DisplayTitle");
  look.titleSize = ReadKeyDouble(key, "TitleSize", 1.0);
  look.titleColor = ReadKeyNumberOr(key, "TitleColor", ::GetSysColor(COLOR_WINDOWTEXT));
  look.titleShadow = ReadKeyByte(key, "TitleShadow", 1);
  look.titlePosition = ReadKeyByte(key, "TitlePosition", 0);
  look.titleFont = ReadKeyString(key, "TitleFont");
  look.topColor = ReadKeyNumberOr(key, "TopColor", ::GetSysColor(COLOR_WINDOW));
  look.bottomColor = ReadKeyNumberOr(key, "BottomColor", 0);
  look.monoColor = ReadKeyNumberOr(key, "MonoColor", 1) != 0;
  look.copyrightText = ReadKeyString(key, "CopyrightText");
  look.copyrightFont = ReadKeyString(key, "CopyrightFont");
  look.copyrightSize = ReadKeyDouble(key, "CopyrightSize", 0.0);
  look.copyrightColor = ColourFromText(ReadKeyString(key, "CopyrightColor"));
  look.copyrightPosition = ReadKeyByte(key, "CopyrightPos", 0);
  if (HasFlag(productFlags, flags::kKeepBackgroundBitmap)) {
    look.bitmap = ReadBackgroundBitmap(JoinPath(state.UninstallDataDir, kBackgroundBitmapFileName));
    look.transparentIndex = static_cast<std::int32_t>(ReadKeyNumberOr(key, "BitmapTPI", 0xFFFFFFFFu));
    look.stretchMode = ReadKeyNumberOr(key, "StretchMode", 0);
    look.bitmapSize = ReadKeyNumberOr(key, "BitmapSize", 0);
  }
  look.maximize = HasFlag(productFlags, flags::kTitleOption);
  return look;
}

}  // namespace brennick::win
