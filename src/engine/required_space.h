#pragma once

#include <cstdint>
#include <vector>

namespace brennick {

// The disk space an installation needs: each file's size rounded up to the
// drive's allocation unit (4096 bytes when the drive reports none), summed,
// plus the author's extra space and the base amount of the package.
std::int64_t RequiredSpace(const std::vector<std::int32_t>& fileSizes, std::int64_t allocationUnit,
                           std::int64_t extraSpace, std::int64_t baseAmount);

}  // namespace brennick
