// DecodePackedBlock on any bytes: it must fail cleanly or yield exactly
// DecodedSize bytes, and the in-place form must agree with it.
#include <cstdlib>
#include <vector>

#include "fuzz_corrupt.h"
#include "package/packed_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> block(data, data + size);
  if (block.size() >= 8) brennick::fuzz::LimitDecodedSize(block.data(), 1u << 22);

  std::vector<std::uint8_t> out = {1, 2, 3};
  const bool decoded = brennick::DecodePackedBlock(block, out);
  if (decoded && block.size() >= 8 && out.size() != brennick::fuzz::Get32(block.data() + 4)) std::abort();
  if (!decoded && !out.empty()) std::abort();

  std::vector<std::uint8_t> inPlace = block;
  if (brennick::DecodePackedBlockInPlace(inPlace) != decoded) std::abort();
  if (inPlace != (decoded ? out : block)) std::abort();
  return 0;
}
