#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "package/file_record.h"
#include "startup/win/program.h"

namespace brennick::win {

// Writes one installed file: up to three attempts (the first failure makes
// the missing folder and, with ProductFlags bit 19, clears the attributes of
// the file in the way), the packaged stamp (set through the handle that
// wrote the file), the read-back check of bit 18, then `attributes` (-1: as
// Windows made them). When all attempts fail,
// a file that `existedBefore` (or any file with bit 11) is handed to the
// restart-time replacement; `registered` tells whether that took it. The
// report goes to the install log when registered, else to the failure text.
// Returns true only when the file now holds `data`.
bool WriteInstalledFile(Program& program, const std::string& path, std::span<const std::uint8_t> data,
                        const FileStamp& stamp, std::int32_t attributes, bool existedBefore, bool& registered);

}  // namespace brennick::win
