#pragma once

#include <cstdint>
#include <string>

namespace brennick::win {

// Adds an ACE to the DACL of a file or folder that allows everyone (the World
// SID) full access; for a folder the ACE is inherited by its files and
// sub-folders. The ACEs already there stay. Returns the Windows error, 0 on
// success.
std::uint32_t GrantFullAccessToEveryone(const std::string& path);

}  // namespace brennick::win
