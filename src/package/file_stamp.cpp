#include "package/file_stamp.h"

namespace brennick {

namespace {
constexpr std::size_t kHour = 3;

std::int32_t Part(const FileStamp& s, std::size_t i) { return (i >= kHour && s[kHour] == -1) ? 0 : s[i]; }
}  // namespace

int CompareStamps(const FileStamp& a, const FileStamp& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::int32_t x = Part(a, i);
    const std::int32_t y = Part(b, i);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

}  // namespace brennick
