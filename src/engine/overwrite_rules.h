#pragma once

#include <optional>
#include <string>

#include "package/file_record.h"

namespace brennick {

// What the overwrite rules may ask about the file already at the destination.
// Each question is asked only when a rule needs it.
class ExistingFile {
 public:
  virtual ~ExistingFile() = default;
  virtual bool Exists() = 0;
  // Its last-write time, in the convention of packaged stamps; nothing when
  // it cannot be read.
  virtual std::optional<FileStamp> LastWrite() = 0;
  // Its "FileVersion" with commas turned into points and blanks trimmed;
  // empty when it has none.
  virtual std::string Version() = 0;
};

// The verdict on one file before it is written.
struct OverwriteVerdict {
  bool write = true;                // false: the item ends, nothing is written
  bool recordForUninstall = false;  // a skipped file that the uninstaller removes all the same
  bool existedBefore = false;       // the date or version test found the destination
  std::string logText;              // for the install log; may be empty
};

// Kinds whose files go to the installation folder and are removed at uninstall.
bool IsInstallFolderKind(FileKind kind);

// OverwriteMode of a record: FileFlags bits 2 to 4.
int OverwriteModeOf(const FileRecord& record);

// Applies the overwrite rules in order to the file `record` bound for
// `destination`: the record's overwrite mode, then the date test of shared
// files and fonts, then the version and date test of system and versioned files.
OverwriteVerdict JudgeOverwrite(const FileRecord& record, const std::string& destination, ExistingFile& existing);

// "%d/%d/%02d %d:%02d:%02d": year, month, day, hour, minute, second.
std::string FormatStampForLog(const FileStamp& stamp);

}  // namespace brennick
