#pragma once

#include <cstdint>
#include <string>

namespace brennick::win {

// The system's own message for a Windows error code, in the ANSI code page,
// without its trailing line break; empty when the system has none.
std::string SystemErrorText(std::uint32_t error);

}  // namespace brennick::win
