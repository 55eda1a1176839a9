#include "builder/encode/match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "builder/encode/packed_costs.h"

namespace brennick::build {

namespace {

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// The smallest power of 2 that holds `size`, and at least 2^10.
unsigned LogFor(std::size_t size) {
  unsigned log = 10;
  while (log < 31 && (std::size_t{1} << log) < size) ++log;
  return log;
}

}  // namespace

MatchFinder::MatchFinder(std::span<const std::uint8_t> input, const MatchFinderParams& params)
    : input_(input), params_(params) {
  // Neither table needs to be larger than the input itself.
  params_.windowLog = std::min(params_.windowLog, LogFor(input.size()));
  params_.hashLog = std::min(params_.hashLog, LogFor(input.size()));
  windowMask_ = (std::size_t{1} << params_.windowLog) - 1;
  head_.assign(std::size_t{1} << params_.hashLog, 0);
  prev_.assign(std::size_t{1} << params_.windowLog, 0);
}

std::uint32_t MatchFinder::Hash(std::size_t pos) const {
  std::uint32_t word;
  std::memcpy(&word, input_.data() + pos, 4);
  return (word * 2654435761u) >> (32 - params_.hashLog);
}

void MatchFinder::InsertUpTo(std::size_t end) {
  // A position needs 4 bytes to be hashed; the last three never start a copy.
  end = std::min(end, input_.size() >= 3 ? input_.size() - 3 : 0);
  for (; inserted_ < end; ++inserted_) {
    std::uint32_t& head = head_[Hash(inserted_)];
    prev_[inserted_ & windowMask_] = head;
    head = static_cast<std::uint32_t>(inserted_ + 1);
  }
}

std::size_t MatchFinder::CommonLength(std::size_t a, std::size_t b, std::size_t cap) const {
  const std::uint8_t* p = input_.data();
  std::size_t n = 0;
  while (n + 8 <= cap) {
    const std::uint64_t diff = Load64(p + a + n) ^ Load64(p + b + n);
    if (diff != 0) return n + static_cast<std::size_t>(std::countr_zero(diff) / 8);
    n += 8;
  }
  while (n < cap && p[a + n] == p[b + n]) ++n;
  return n;
}

std::size_t MatchFinder::RunLength(std::size_t pos, std::size_t limit) const {
  limit = std::min(limit, input_.size() - pos);
  if (limit == 0) return 0;
  return 1 + CommonLength(pos + 1, pos, limit - 1);
}

void MatchFinder::Find(std::size_t pos, std::size_t limit, std::vector<Match>& out) {
  out.clear();
  limit = std::min(limit, input_.size() - pos);
  if (limit < kMinCopy || pos + 4 > input_.size()) return;
  InsertUpTo(pos);

  const std::size_t maxDistance = windowMask_ + 1;
  std::size_t best = kMinCopy - 1;
  std::uint32_t candidate = head_[Hash(pos)];
  for (unsigned depth = params_.chainDepth; candidate != 0 && depth > 0; --depth) {
    const std::size_t from = candidate - 1;
    const std::size_t distance = pos - from;
    if (distance > maxDistance) break;
    candidate = prev_[from & windowMask_];
    if (distance < kMinDistance) continue;
    const std::size_t cap = std::min(distance, limit);
    // Only a copy longer than the best so far is worth measuring.
    if (cap <= best || input_[from + best] != input_[pos + best]) continue;
    const std::size_t length = CommonLength(pos, from, cap);
    if (length <= best) continue;
    best = length;
    out.push_back(Match{static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(distance)});
    if (length >= params_.niceLength || length == limit) break;
  }

  // A copy cut short by its own distance runs through a repeating stretch:
  // the same bytes at twice the distance carry twice as many.
  while (!out.empty() && out.back().length == out.back().distance && out.back().length < limit) {
    const std::size_t distance = std::size_t{out.back().distance} * 2;
    if (distance > pos) break;
    const std::size_t length = CommonLength(pos, pos - distance, std::min(distance, limit));
    if (length <= out.back().length) break;
    out.push_back(Match{static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(distance)});
  }
}

}  // namespace brennick::build
