#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brennick {

// Decodes a packed block (u32 magic, i32 DecodedSize, then the bit stream)
// into `out`, replacing what it held, and returns true. Returns false, with
// `out` emptied, when the block is damaged: a wrong magic, a negative size, a
// read past the end of the stream, a copy from before the start of the
// output or overlapping what it writes, or an output length other than
// DecodedSize. Bytes of the stream after the last operation are ignored.
// `out` keeps its storage from call to call, so decoding block after block
// into the same vector allocates once; `block` must not lie in `out`.
bool DecodePackedBlock(std::span<const std::uint8_t> block, std::vector<std::uint8_t>& out);

// The same in place: `buffer` holds a packed block and is replaced by its
// decoded bytes, or left as it was when decoding fails.
bool DecodePackedBlockInPlace(std::vector<std::uint8_t>& buffer);

}  // namespace brennick
