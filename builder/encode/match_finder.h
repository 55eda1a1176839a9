#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brennick::build {

// A copy the parse may use: `length` bytes from `distance` bytes back.
struct Match {
  std::uint32_t length;
  std::uint32_t distance;
};

struct MatchFinderParams {
  unsigned windowLog = 20;        // farthest distance the chains reach, as a power of 2
  unsigned hashLog = 16;          // buckets of the 4-byte hash, as a power of 2
  unsigned chainDepth = 16;       // candidates tried per position
  std::uint32_t niceLength = 64;  // a copy this long ends the search
};

// Finds earlier occurrences of the bytes at a position through hash chains
// over 4-byte prefixes. Copies in a packed block may not overlap the bytes
// they append, so every length found is capped at its distance; where that
// cap cuts a periodic stretch short, the finder tries twice the distance,
// which doubles what one copy can carry.
class MatchFinder {
 public:
  MatchFinder(std::span<const std::uint8_t> input, const MatchFinderParams& params);

  // Puts the positions before `end` into the chains (those already in stay).
  void InsertUpTo(std::size_t end);

  // Replaces `out` with the copies for `pos`, which must not be in the chains
  // yet: lengths strictly rising, each at the nearest distance found for it,
  // none longer than `limit`, none shorter than the shortest copy.
  void Find(std::size_t pos, std::size_t limit, std::vector<Match>& out);

  // How many bytes from `pos` on equal the byte at `pos`, at most `limit`.
  std::size_t RunLength(std::size_t pos, std::size_t limit) const;

 private:
  std::uint32_t Hash(std::size_t pos) const;
  // Bytes that agree from `a` and from `b` on, at most `cap`.
  std::size_t CommonLength(std::size_t a, std::size_t b, std::size_t cap) const;

  std::span<const std::uint8_t> input_;
  MatchFinderParams params_;
  std::size_t windowMask_;
  std::vector<std::uint32_t> head_;  // per hash: the latest position + 1, or 0
  std::vector<std::uint32_t> prev_;  // per position (mod window): the one before it + 1, or 0
  std::size_t inserted_ = 0;
};

}  // namespace brennick::build
