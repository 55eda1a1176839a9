#pragma once

#include <span>
#include <vector>

#include "builder/encode/match_finder.h"
#include "builder/encode/packed_ops.h"

namespace brennick::build {

// The smallest parse the format allows for the copies the finder offers:
// the cheapest path over all positions, priced in the exact bits of each
// operation. Literal runs are priced as whole runs (their length field grows
// with the run), not byte by byte.
std::vector<PackedOp> ParseOptimal(std::span<const std::uint8_t> input, const MatchFinderParams& params);

}  // namespace brennick::build
