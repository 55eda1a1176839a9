#include "engine/required_space.h"

#include <gtest/gtest.h>

#include "foundation/byte_size.h"

namespace brennick {
namespace {

TEST(RequiredSpace, RoundsEachFileToTheAllocationUnit) {
  EXPECT_EQ(RequiredSpace({1, 4096, 4097, 0}, 4096, 0, 0), 4096 + 4096 + 8192);
  EXPECT_EQ(RequiredSpace({1, 513}, 0, 0, 0), 8192);  // no unit reported: 4096
  EXPECT_EQ(RequiredSpace({100}, 512, 1000, 20000), 512 + 1000 + 20000);
}

TEST(ByteSize, Wording) {
  EXPECT_EQ(FormatByteSize(-5), "-5 bytes");
  EXPECT_EQ(FormatByteSize(1023), "1023 bytes");
  EXPECT_EQ(FormatByteSize(1536), "1.50 KB");
  EXPECT_EQ(FormatByteSize(100 * 1048576LL), "100.00 MB");
  EXPECT_EQ(FormatByteSize(3LL << 30), "3.00 GB");
  EXPECT_EQ(FormatByteSize(5LL << 40), "5.00 TB");
}

}  // namespace
}  // namespace brennick
