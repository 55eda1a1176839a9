#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "startup/installer_state.h"

namespace brennick {

// The file the installation keeps the background bitmap in, inside the
// uninstall data folder, so that the uninstaller can show it too.
constexpr std::string_view kBackgroundBitmapFileName = "Installer Background.BMP";

// Everything the full-screen background window draws, with the values in
// force. Both runs fill it: the install run from its settings, the
// uninstaller from the values its installation stored under the product's
// Uninstall key. Colours are COLORREF values (red in the low byte).
struct BackgroundLook {
  std::string taskbarText;  // the window's title, shown in the taskbar

  std::string title;       // already resolved: the stored title or the default one
  double titleSize = 1.0;  // factor of the title's 26 points
  std::uint32_t titleColor = 0;
  std::uint8_t titleShadow = 1;    // shadow distance in pixels; 0: no black copies at all
  std::uint8_t titlePosition = 0;  // 0 none, 1-3 top left/centre/right, 4-6 bottom ...
  std::string titleFont;           // comma-separated face names

  std::uint32_t topColor = 0;
  std::uint32_t bottomColor = 0;
  bool monoColor = true;  // a plain fill with topColor

  std::string copyrightText;
  std::string copyrightFont;
  double copyrightSize = 0.0;  // factor of the copyright's 16 points
  std::uint32_t copyrightColor = 0;
  std::uint8_t copyrightPosition = 0;

  std::string bitmap;                  // the bitmap file's bytes; empty: none
  std::int32_t transparentIndex = -1;  // palette index shown as background; -1: none
  std::uint32_t bitmapSize = 0;        // percent of the window; 0: no bitmap
  std::uint32_t stretchMode = 0;       // 0 stretch, 1 fit, 2 integer multiple, 3 tile

  bool maximize = false;     // shown maximised instead of covering the work area
  unsigned codePage = 1252;  // of the chosen language: texts that convert in it are drawn as wide text
};

// The install run's look: its settings, with `defaultTitle` (language string
// 0 in the chosen language) when the settings give no title of their own.
BackgroundLook LookFromSettings(const InstallerState& state, std::string defaultTitle);

// The colour of the stored "CopyrightColor" text: red, green and blue as
// hexadecimal digit pairs, an optional leading "#", up to six digits of
// either case, right-aligned (missing leading digits count as 0). Reading
// stops at the first character that is not a digit. Gives a COLORREF.
std::uint32_t ColourFromText(std::string_view text);

}  // namespace brennick
