#pragma once

#include "package/file_record.h"

namespace brennick {

// Packaged stamps are UTC: the builder records its source files'
// modification times in UTC, and the installer reads existing files' times in
// UTC too, so the two compare without regard to the machine's time zone.

inline bool StampHasDate(const FileStamp& s) { return s[1] != 0; }
inline bool StampHasDateAndTime(const FileStamp& s) { return StampHasDate(s) && s[3] != -1; }

// Orders two stamps that carry a date, year to second: -1 when `a` is
// earlier, 0 when equal, 1 when later. A stamp without a time of day
// counts as midnight (00:00:00) of its day.
int CompareStamps(const FileStamp& a, const FileStamp& b);

}  // namespace brennick
