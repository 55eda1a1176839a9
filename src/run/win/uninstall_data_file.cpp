#include "run/win/uninstall_data_file.h"

#include "foundation/sha256.h"
#include "foundation/text.h"
#include "foundation/win/registry.h"

namespace brennick::win {

std::uint32_t WriteSealedUninstallData(const std::string& path, std::string_view text, HKEY productKey) {
  if (const std::uint32_t error = ReplaceWholeFile(path, text); error != 0) return error;
  const std::string seal = Sha256Hex(text);
  return static_cast<std::uint32_t>(::RegSetValueExA(productKey, kUninstallDataSealValue, 0, REG_SZ,
                                                     reinterpret_cast<const BYTE*>(seal.c_str()),
                                                     static_cast<DWORD>(seal.size() + 1)));
}

SealedUninstallData ReadSealedUninstallData(const std::string& path, HKEY productKey) {
  SealedUninstallData data{ReadWholeFile(path), false};
  if (data.file.result.ok()) {
    const std::string seal = ReadKeyString(productKey, kUninstallDataSealValue);
    data.sealed = !seal.empty() && EqualsNoCase(seal, Sha256Hex(data.file.bytes));
  }
  return data;
}

}  // namespace brennick::win
