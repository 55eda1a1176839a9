#pragma once

#include <cstdint>
#include <string>

#include "foundation/win/win.h"
#include "run/background_look.h"
#include "startup/installer_state.h"

namespace brennick::win {

// The largest background bitmap file the uninstaller reads; a larger one is
// left out.
constexpr std::int64_t kLargestBackgroundBitmap = 64 * 1024 * 1024;

// The background window's look as the installation stored it under the
// product's Uninstall key, with the defaults for values that are missing.
// The product's flags (state.Settings.ProductFlags) must be read already:
// bit 15 brings the bitmap file from state.UninstallDataDir and its three
// values, bit 40 the maximised window.
BackgroundLook ReadBackgroundLook(HKEY productKey, const InstallerState& state);

// The bytes of the bitmap file at `path`; empty when it cannot be read or
// is larger than kLargestBackgroundBitmap.
std::string ReadBackgroundBitmap(const std::string& path);

}  // namespace brennick::win
