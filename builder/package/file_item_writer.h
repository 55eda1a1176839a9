#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "package/file_record.h"

namespace brennick::build {

// The record body of one archived file: its fields as the program reads
// them, the data, and the data's checksum.
std::vector<std::uint8_t> WriteFileItem(const FileRecord& record, std::span<const std::uint8_t> data);

}  // namespace brennick::build
