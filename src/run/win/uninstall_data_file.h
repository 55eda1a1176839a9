#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/win/whole_file.h"
#include "foundation/win/win.h"

namespace brennick::win {

// The uninstall data file lies in the uninstall data folder, which other
// users may be able to write; it tells an uninstaller with administrator
// rights what to delete. So the product's Uninstall key, which only
// administrators can write, keeps the SHA-256 of the bytes the run wrote,
// and a file that does not match is never acted on.
inline constexpr const char* kUninstallDataSealValue = "UninstallDataSHA256";

// Replaces the file at `path` with `text` (a new file moved over the old
// one) and records its seal under `productKey`. Returns the Windows error of
// the first failing step, 0 on success; on failure the old file and its
// seal stay as they were, or the new file stays unsealed.
std::uint32_t WriteSealedUninstallData(const std::string& path, std::string_view text, HKEY productKey);

// The file at `path`, and whether its bytes are the ones sealed under
// `productKey` (a missing seal matches nothing).
struct SealedUninstallData {
  WholeFile file;
  bool sealed = false;
};
SealedUninstallData ReadSealedUninstallData(const std::string& path, HKEY productKey);

}  // namespace brennick::win
