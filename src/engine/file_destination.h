#pragma once

#include <functional>
#include <string>

#include "package/file_record.h"

namespace brennick {

// The base folders that files are installed into.
struct DestinationFolders {
  std::string installDir;
  std::string sharedPath;
  std::string uninstallDataDir;
  std::string fontsFolder;
  std::string systemFolder;
};

struct FileDestination {
  std::string path;
  bool createFolders = false;  // the destination's folders are made when missing
};

// Where the file of `record` goes. A target override without a backslash is
// a new file name and replaces `record.Name`; one with a backslash is a path
// (installer variables expanded through `expand`, relative to the shared
// folder for shared files and to the installation folder otherwise; a folder
// ending in a backslash keeps the file's own name). An invalid kind ends
// through CorruptInstaller (code 110).
FileDestination ResolveFileDestination(FileRecord& record, const DestinationFolders& folders,
                                       const std::function<std::string(const std::string&)>& expand);

}  // namespace brennick
