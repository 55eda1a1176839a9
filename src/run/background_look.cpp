#include "run/background_look.h"

#include <utility>

#include "package/settings_record.h"

namespace brennick {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

BackgroundLook LookFromSettings(const InstallerState& state, std::string defaultTitle) {
  const SettingsRecord& s = state.Settings;
  BackgroundLook look;
  look.taskbarText = s.TaskbarText;
  look.title = s.DisplayTitle.empty() ? std::move(defaultTitle) : s.DisplayTitle;
  look.titleSize = s.TitleSize;
  look.titleColor = s.TitleColor;
  look.titleShadow = s.TitleShadow;
  look.titlePosition = s.TitlePosition;
  look.titleFont = s.TitleFont;
  look.topColor = s.TopColor;
  look.bottomColor = s.BottomColor;
  look.monoColor = state.MonoColor;
  look.copyrightText = s.CopyrightText;
  look.copyrightFont = s.CopyrightFont;
  look.copyrightSize = s.CopyrightSize;
  look.copyrightColor = s.CopyrightColor;
  look.copyrightPosition = s.CopyrightPos;
  look.bitmap = s.BackgroundBitmap;
  // The transparent index is stored only together with a bitmap.
  look.transparentIndex = s.BackgroundBitmap.empty() ? -1 : s.BitmapTPI;
  look.bitmapSize = s.BitmapSize;
  look.stretchMode = s.StretchMode;
  look.maximize = state.TitleOption;
  return look;
}

std::uint32_t ColourFromText(std::string_view text) {
  if (text.starts_with('#')) text.remove_prefix(1);
  std::uint32_t rgb = 0;
  for (std::size_t i = 0; i < text.size() && i < 6; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) break;
    rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
  }
  // RRGGBB as written to COLORREF's 0x00BBGGRR.
  return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

}  // namespace brennick
