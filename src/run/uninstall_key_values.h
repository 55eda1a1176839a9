#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/date_time.h"
#include "startup/installer_state.h"

namespace brennick {

// One value of the product's Uninstall key: written, or deleted when
// `remove` is set (a "drop" rule that applies, or a value that must not
// linger from an earlier installation).
struct UninstallKeyValue {
  enum class Type { String, Number };
  std::string name;
  Type type = Type::String;
  std::string text;         // for String
  std::uint32_t number = 0; // for Number
  bool remove = false;
};

// What the uninstaller needs to know, read from this run.
struct UninstallKeyFacts {
  std::string uninstallerPath;      // where the uninstaller is written
  std::string installerPath;        // the running installer's full path
  std::string displayTitle;         // DisplayTitle, or language string 0 when that is empty
  std::string sharedFiles;          // the new SharedFiles text
  std::uint64_t totalInstalledBytes = 0;
};

// The values 1 to 40 of the Uninstall key, in the order they are written.
std::vector<UninstallKeyValue> UninstallKeyValues(const InstallerState& state, const UninstallKeyFacts& facts);

// The product's key below HKEY_LOCAL_MACHINE, by its Uninstall key name.
std::string UninstallKeyPathOf(std::string_view keyName);

// "/u:\"name\"".
std::string UninstallArguments(const InstallerState& state);

// A floating-point setting as the uninstaller reads it back: "%.6f" without
// trailing zeros or point (24.0 gives "24", -0.0 gives "0").
std::string FloatText(double value);

// "m/d/y h:ii:ssap" (12/8/26 2:07:24a): the form of "InstallDate".
std::string InstallDateText(const DateTime& now);

}  // namespace brennick
