#pragma once

#include <cstdint>
#include <string>

namespace brennick::win {

// An uninstaller with administrator rights deletes paths below a folder
// that other users may be able to write; a junction or symbolic link planted
// there must not turn a path of the product into another file's.

// Whether `path` leads to itself: no junction or symbolic link on the way
// to it or at its end takes the system somewhere else. Where the system
// tells where a handle leads (Windows Vista and later, Wine), the links of
// the file system under Wine count too; before, every part of the path is
// looked at for a reparse point.
bool LeadsToItself(const std::wstring& path);

// Deletes the file `path` (a read-only one too) unless the way to it passes
// through a link: then ERROR_CANT_RESOLVE_FILENAME and nothing is deleted.
// Where the system allows, the file is checked and deleted through one
// handle, so the way cannot be changed in between. Returns 0 or the Windows
// error.
std::uint32_t DeleteFileWithoutLinks(const std::string& path);

}  // namespace brennick::win
