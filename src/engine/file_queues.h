#pragma once

#include <string>

#include "package/file_record.h"
#include "startup/install_lists.h"

namespace brennick {

// What the file loop hands on to the later steps for one file at
// `destination`, whether or not it was written.

// Shared files, system files, COM files and type libraries are counted in
// the system's shared-file list (marked ' ' when permanent, '^' for a COM
// file, '\xA9' for a type library); COM files and type libraries are also
// queued for registration.
void QueueByKind(InstallLists& lists, const FileRecord& record, const std::string& destination);

// A program with a desktop or Start-menu shortcut, and every startup
// program, queue a shortcut to `destination`.
void QueueShortcut(InstallLists& lists, const FileRecord& record, const std::string& destination);

}  // namespace brennick
