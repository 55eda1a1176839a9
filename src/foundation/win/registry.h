#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/registry_path.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"

namespace brennick::win {

HKEY RootKeyOf(RegistryRoot root);

// A key opened or created, or the Windows error of the call that failed.
struct OpenedKey {
  ScopedRegistryKey key;
  std::uint32_t windowsError = 0;

  bool ok() const { return key.valid(); }
  HKEY get() const { return key.get(); }
};

// Opens `subKey` of `root` for `access` in the registry view the program
// sees (RegistryView), or in `view` when one is named (KEY_WOW64_64KEY or
// KEY_WOW64_32KEY).
OpenedKey OpenKey(HKEY root, const std::string& subKey, REGSAM access, REGSAM view = 0);

// Opens or creates `subKey` of `root` (or the key of a registry path) in the
// same way.
OpenedKey CreateKey(HKEY root, const std::string& subKey, REGSAM access, REGSAM view = 0);
OpenedKey CreateKey(const RegistryPath& path, REGSAM access, REGSAM view = 0);

// A string value of a key opened for reading: nothing when the key cannot be
// opened, empty text when the value is missing or not a string.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& subKey, const std::string& name);

// The same for a value named by a registry path; empty when it is missing.
std::string ReadRegistryString(const RegistryValuePath& value);

// A string value of an open key: empty when it is missing or not a string.
std::string ReadKeyString(HKEY key, const std::string& name);

// A DWORD value of an open key; nothing when it is missing or of another type.
std::optional<DWORD> ReadKeyNumber(HKEY key, const std::string& name);

// Deletes `subKey` of `parent` with everything under it. `view` is 0 or
// KEY_WOW64_64KEY / KEY_WOW64_32KEY. Returns the Windows error of deleting
// the key itself (0 on success).
LONG DeleteKeyTree(HKEY parent, const std::string& subKey, REGSAM view);

// Deletes `subKey` of `parent` only when it has no subkeys and no values.
LONG DeleteKeyIfEmpty(HKEY parent, const std::string& subKey, REGSAM view);

}  // namespace brennick::win
