#pragma once

#include <cstdint>
#include <string_view>

#include "foundation/date_time.h"

namespace brennick {

// Flag bits of a conditional file deletion.
inline constexpr std::uint8_t kDeleteOnlyAtRestart = 1 << 0;
inline constexpr std::uint8_t kDeleteAtRestartOnFailure = 1 << 1;
inline constexpr std::uint8_t kDeleteAtInstall = 1 << 2;
inline constexpr std::uint8_t kDeleteAtUninstall = 1 << 3;

// What is known of a file that a conditional deletion matched.
struct FileFacts {
  std::uint64_t size = 0;
  DateTime modified;  // local time
};

// Whether a conditional deletion applies to a file. The condition type is
// read as a signed 8-bit number: 1, 2, 3 compare the file's last change with
// the date (and, when the value has a valid time of day, the time) in
// `value` — equal, file older, file newer; with a missing or invalid time of
// day only the calendar dates are compared. A value whose text before the
// first blank is not a valid date ("YYYY-MM-DD"; month and day may have one
// digit) is a damaged package: CorruptInstaller code 65. 4, 5, 6 compare the
// size with the decimal number in `value`: equal, at least, at most; the
// number is read like strtoull reads it (leading blanks skipped, reading
// stops at the first character that is not a digit), except that a sign is
// not taken: a value that does not start with digits is 0, and one too large
// for 64 bits is the largest 64-bit number. Any other type deletes always.
bool DeletionConditionHolds(std::uint8_t conditionType, std::string_view value, const FileFacts& file);

}  // namespace brennick
