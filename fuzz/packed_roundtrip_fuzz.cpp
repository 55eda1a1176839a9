// The builder's encoder on any bytes, at the level the first byte picks: the
// block must decode back to exactly the input.
#include <cstdlib>
#include <span>
#include <vector>

#include "builder/encode/packed_encoder.h"
#include "fuzz_corrupt.h"
#include "package/packed_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int level = data[0] % 9 + 1;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  const std::vector<std::uint8_t> block = brennick::build::EncodePackedBlock(input, level);
  std::vector<std::uint8_t> decoded;
  if (!brennick::DecodePackedBlock(block, decoded)) std::abort();
  if (!std::equal(decoded.begin(), decoded.end(), input.begin(), input.end())) std::abort();
  return 0;
}
