#include "engine/required_space.h"

namespace brennick {

std::int64_t RequiredSpace(const std::vector<std::int32_t>& fileSizes, std::int64_t allocationUnit,
                           std::int64_t extraSpace, std::int64_t baseAmount) {
  const std::int64_t unit = allocationUnit > 0 ? allocationUnit : 4096;
  std::int64_t total = extraSpace + baseAmount;
  for (const std::int32_t size : fileSizes) {
    if (size > 0) total += (size + unit - 1) / unit * unit;
  }
  return total;
}

}  // namespace brennick
