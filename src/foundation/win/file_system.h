#pragma once

#include <cstdint>
#include <string>

namespace brennick::win {

// What is at a path: nothing, a file or a folder.
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);

// Makes `folder` and every missing folder above it. Returns the Windows
// error of the first folder that could not be made, 0 when the whole path
// exists afterwards.
std::uint32_t CreateFolderWithParents(const std::string& folder);

// Whether the drive of a letter ('A' to 'Z') is there.
bool DriveExists(char letter);

// Deletes `folder` with everything in it (read-only files too), never
// following a link into another folder: a linked folder is unlinked where the
// system shows it as a link, and left alone where it does not. Refuses a
// path of 3 characters or fewer (a drive root) and `windowsFolder`. False
// when something could not be deleted.
bool DeleteFolderTree(const std::string& folder, const std::string& windowsFolder);

// The folder part of a path ("C:\\a\\b.txt" -> "C:\\a"); empty for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace brennick::win
