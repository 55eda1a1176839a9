#pragma once

#include <cstdint>
#include <string>

namespace brennick::win {

// Binds the imports of an installed executable (its date is kept). Returns
// the Windows error, 0 on success.
std::uint32_t BindExecutable(const std::string& path);

}  // namespace brennick::win
