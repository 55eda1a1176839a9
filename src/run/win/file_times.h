#pragma once

#include <optional>
#include <string>

#include "foundation/win/win.h"
#include "package/file_stamp.h"

namespace brennick::win {

// File times and packaged stamps. Stamps are UTC (see package/file_stamp.h):
// a stamp is set as the file time unchanged, and an existing file's time is
// read back in UTC, to the second.

// Sets the creation and last-write times of an open file (opened with write
// access or FILE_WRITE_ATTRIBUTES) from a stamp with a date and a time of
// day. False, with nothing changed, for a stamp that lacks either or does not
// name a valid moment.
bool SetFileStampTimes(HANDLE file, const FileStamp& stamp);

// The same by path (a file or a folder).
bool SetFileStampTimes(const std::string& path, const FileStamp& stamp);

// The last-write time of a file or folder, in UTC to the second; nothing
// when it cannot be read.
std::optional<FileStamp> ReadLastWriteStamp(const std::string& path);

}  // namespace brennick::win
