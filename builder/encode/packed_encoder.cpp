#include "builder/encode/packed_encoder.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "builder/basics/build_error.h"
#include "builder/encode/greedy_parse.h"
#include "builder/encode/optimal_parse.h"
#include "builder/encode/packed_ops.h"

namespace brennick::build {

namespace {

enum class Parse { Greedy, Lazy, Optimal };

struct LevelSettings {
  Parse parse;
  MatchFinderParams finder;
};

// windowLog, hashLog, chainDepth, niceLength
constexpr LevelSettings kLevels[] = {
    {Parse::Greedy, {18, 15, 4, 32}},   {Parse::Greedy, {20, 16, 8, 48}},    {Parse::Greedy, {20, 17, 16, 64}},
    {Parse::Lazy, {20, 17, 16, 64}},    {Parse::Lazy, {21, 17, 32, 128}},    {Parse::Lazy, {22, 18, 64, 128}},
    {Parse::Optimal, {22, 18, 16, 64}}, {Parse::Optimal, {22, 18, 32, 128}}, {Parse::Optimal, {22, 18, 64, 256}},
};

}  // namespace

std::vector<std::uint8_t> EncodePackedBlock(std::span<const std::uint8_t> input, int level) {
  if (input.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw BuildError("data too large for one packed block: " + std::to_string(input.size()) + " bytes");
  }
  const LevelSettings& settings = kLevels[std::clamp(level, kFastestLevel, kSmallestLevel) - 1];
  std::vector<PackedOp> ops;
  switch (settings.parse) {
    case Parse::Greedy:
      ops = ParseGreedy(input, settings.finder, false);
      break;
    case Parse::Lazy:
      ops = ParseGreedy(input, settings.finder, true);
      break;
    case Parse::Optimal:
      ops = ParseOptimal(input, settings.finder);
      break;
  }
  return WritePackedBlock(input, ops);
}

}  // namespace brennick::build
