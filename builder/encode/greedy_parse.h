#pragma once

#include <span>
#include <vector>

#include "builder/encode/match_finder.h"
#include "builder/encode/packed_ops.h"

namespace brennick::build {

// The fast parses: at each position take the operation that saves the most
// bits over plain literals. With `lazy`, first look one byte ahead and
// prefer a literal when the operation there saves clearly more.
std::vector<PackedOp> ParseGreedy(std::span<const std::uint8_t> input, const MatchFinderParams& params, bool lazy);

}  // namespace brennick::build
