#include "foundation/byte_size.h"

#include <cstdio>

namespace brennick {

std::string FormatByteSize(std::int64_t bytes) {
  char text[64];
  constexpr double kKilo = 1024.0;
  const auto n = static_cast<double>(bytes);
  if (bytes < 1024) {
    std::snprintf(text, sizeof text, "%d bytes", static_cast<int>(bytes));
  } else if (bytes < (std::int64_t{1} << 20)) {
    std::snprintf(text, sizeof text, "%.2f KB", n / kKilo);
  } else if (bytes < (std::int64_t{1} << 30)) {
    std::snprintf(text, sizeof text, "%.2f MB", n / (kKilo * kKilo));
  } else if (bytes < (std::int64_t{1} << 40)) {
    std::snprintf(text, sizeof text, "%.2f GB", n / (kKilo * kKilo * kKilo));
  } else {
    std::snprintf(text, sizeof text, "%.2f TB", n / (kKilo * kKilo * kKilo * kKilo));
  }
  return text;
}

}  // namespace brennick
