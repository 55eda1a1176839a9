#pragma once

#include <cstdint>
#include <string>

namespace brennick {

// A byte count for people: "%d bytes" below 1024 (and for negative counts),
// then "%.2f KB", "%.2f MB", "%.2f GB", "%.2f TB" in steps of 1024.
std::string FormatByteSize(std::int64_t bytes);

}  // namespace brennick
