#pragma once

#include <optional>
#include <string>

#include "foundation/win/win.h"

namespace brennick::win {

// The shell's folder browser over `owner`: prompt, the folder it opens at,
// and the folder it may not leave (none: the whole namespace). The chosen
// folder, or nothing when the user cancelled.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& prompt, const std::wstring& start,
                                            int rootFolder);

constexpr int kWholeNamespace = -1;

}  // namespace brennick::win
