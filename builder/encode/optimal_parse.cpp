#include "builder/encode/optimal_parse.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "builder/encode/packed_costs.h"

namespace brennick::build {

namespace {

// Positions are priced a segment at a time, which bounds the memory of the
// parse; only an operation taken whole for its length crosses a segment's end.
constexpr std::size_t kSegment = 128 * 1024;

// Below these lengths every length is tried; above, only the longest length
// of each width of the length field, and the longest length found.
constexpr std::uint32_t kDenseFill = 34;
constexpr std::uint32_t kDenseCopy = 35;

constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();

// A literal run of n bytes costs 1 + (3k + 3) + 8n bits, where k is the
// prefix of its length field: constant over n in [4^k + 1, 4^(k+1)].
struct LiteralBand {
  std::uint32_t shortest;
  std::uint32_t longest;
  std::uint32_t headerBits;  // the op bit and the length field
};

// The cheapest start of a literal run ending at the position being priced,
// for the run lengths of one band: a sliding-window minimum of
// cost[start] - 8 * start over the starts that give such a length.
class BandMinimum {
 public:
  void Clear() {
    entries_.clear();
    front_ = 0;
  }
  void Push(std::uint32_t start, std::int64_t value) {
    while (entries_.size() > front_ && entries_.back().value >= value) entries_.pop_back();
    entries_.push_back(Entry{start, value});
  }
  // The minimum over starts >= first, if any.
  bool Min(std::uint32_t first, std::uint32_t& start, std::int64_t& value) {
    while (front_ < entries_.size() && entries_[front_].start < first) ++front_;
    if (front_ == entries_.size()) return false;
    if (front_ > 4096 && front_ * 2 > entries_.size()) {
      entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(front_));
      front_ = 0;
    }
    start = entries_[front_].start;
    value = entries_[front_].value;
    return true;
  }

 private:
  struct Entry {
    std::uint32_t start;
    std::int64_t value;
  };
  std::vector<Entry> entries_;
  std::size_t front_ = 0;
};

// How the cheapest path reaches a position.
struct Step {
  PackedOp::Kind kind = PackedOp::Kind::Literals;
  std::uint32_t length = 0;
  std::uint32_t distance = 0;
};

class OptimalParser {
 public:
  OptimalParser(std::span<const std::uint8_t> input, const MatchFinderParams& params)
      : input_(input), finder_(input, params), niceLength_(params.niceLength) {
    for (std::uint32_t k = 0, shortest = 1, longest = 4; shortest <= kSegment; ++k) {
      bands_.push_back(LiteralBand{shortest, longest, 1 + 3 * k + 3});
      shortest = longest + 1;
      longest *= 4;
    }
    minima_.resize(bands_.size());
    cost_.assign(kSegment + 1, kUnreached);
    steps_.resize(kSegment + 1);
  }

  std::vector<PackedOp> Run() {
    std::vector<PackedOp> ops;
    for (std::size_t start = 0; start < input_.size();) {
      start = ParseSegment(start, std::min(kSegment, input_.size() - start), ops);
    }
    return ops;
  }

 private:
  // Prices the positions from `base` on and appends the cheapest path. An
  // operation of at least niceLength is taken as it is, even past the end of
  // the segment, and ends the segment early. Returns where the next one starts.
  std::size_t ParseSegment(std::size_t base, std::size_t size, std::vector<PackedOp>& ops) {
    for (BandMinimum& minimum : minima_) minimum.Clear();
    cost_[0] = 0;

    std::size_t next = base + size;
    for (std::size_t at = 0; at <= size; ++at) {
      if (at > 0) PriceLiteralRuns(at);
      if (at == size) {
        AppendPath(size, ops);
        break;
      }
      const PackedOp longOp = ExpandFrom(base, at, size - at);
      if (longOp.length >= niceLength_) {
        AppendPath(at, ops);
        ops.push_back(longOp);
        next = base + at + longOp.length;
        break;
      }
    }
    // Segments cut short by long operations are common in repetitive data:
    // only what this one priced is cleared for the next.
    std::fill(cost_.begin(), cost_.begin() + static_cast<std::ptrdiff_t>(reached_ + 1), kUnreached);
    reached_ = 0;
    return next;
  }

  // Offers every literal run that ends at `at`, one band at a time.
  void PriceLiteralRuns(std::size_t at) {
    for (std::size_t b = 0; b < bands_.size() && bands_[b].shortest <= at; ++b) {
      const std::size_t newest = at - bands_[b].shortest;
      if (cost_[newest] != kUnreached) {
        minima_[b].Push(static_cast<std::uint32_t>(newest),
                        static_cast<std::int64_t>(cost_[newest]) - 8 * static_cast<std::int64_t>(newest));
      }
      const std::size_t oldest = at > bands_[b].longest ? at - bands_[b].longest : 0;
      std::uint32_t start;
      std::int64_t value;
      if (!minima_[b].Min(static_cast<std::uint32_t>(oldest), start, value)) continue;
      const std::int64_t total = value + 8 * static_cast<std::int64_t>(at) + bands_[b].headerBits;
      Offer(at, static_cast<std::uint32_t>(total),
            Step{PackedOp::Kind::Literals, static_cast<std::uint32_t>(at - start), 0});
    }
  }

  // Offers the fills and copies that start at `at` and end in the segment
  // (`left` bytes on); returns the longest operation that starts there,
  // which may reach past the segment.
  PackedOp ExpandFrom(std::size_t base, std::size_t at, std::size_t left) {
    const std::uint32_t here = cost_[at];
    const std::size_t pos = base + at;
    const std::size_t inputLeft = input_.size() - pos;
    const auto fits = [&](std::uint64_t n) { return n <= left; };

    const auto run = static_cast<std::uint32_t>(finder_.RunLength(pos, inputLeft));
    PackedOp longest{PackedOp::Kind::Fill, run >= kMinFill ? run : 0, 0};
    if (run >= kMinFill) {
      for (std::uint32_t n = kMinFill; n <= std::min(run, kDenseFill) && fits(n); ++n) OfferFill(at, here, n);
      // The longest fill of each field width beyond: 2 + 2^(k+1).
      for (std::uint64_t n = 66; n < run && fits(n); n = (n - 2) * 2 + 2)
        OfferFill(at, here, static_cast<std::uint32_t>(n));
      if (run > kDenseFill && fits(run)) OfferFill(at, here, run);
    }

    finder_.Find(pos, inputLeft, matches_);
    std::uint32_t shorter = kMinCopy - 1;
    for (const Match& m : matches_) {
      const unsigned distanceBits = 2 + CopyDistanceBits(m.distance);
      const auto offer = [&](std::uint32_t n) {
        Offer(at + n, here + distanceBits + CopyLengthBits(n), Step{PackedOp::Kind::Copy, n, m.distance});
      };
      for (std::uint32_t n = shorter + 1; n <= std::min(m.length, kDenseCopy) && fits(n); ++n) offer(n);
      // The longest copy of each length field width beyond: 3 + 2^(k+2).
      for (std::uint64_t n = 67; n < m.length && fits(n); n = (n - 3) * 2 + 3) {
        if (n > shorter) offer(static_cast<std::uint32_t>(n));
      }
      if (m.length > kDenseCopy && fits(m.length)) offer(m.length);
      shorter = m.length;
    }
    if (!matches_.empty() && matches_.back().length > longest.length) {
      longest = PackedOp{PackedOp::Kind::Copy, matches_.back().length, matches_.back().distance};
    }
    return longest;
  }

  void OfferFill(std::size_t at, std::uint32_t here, std::uint32_t n) {
    Offer(at + n, here + FillBits(n), Step{PackedOp::Kind::Fill, n, 0});
  }

  void Offer(std::size_t target, std::uint32_t cost, const Step& step) {
    reached_ = std::max(reached_, target);
    if (cost < cost_[target]) {
      cost_[target] = cost;
      steps_[target] = step;
    }
  }

  void AppendPath(std::size_t size, std::vector<PackedOp>& ops) {
    path_.clear();
    for (std::size_t at = size; at > 0; at -= steps_[at].length) path_.push_back(steps_[at]);
    for (auto step = path_.rbegin(); step != path_.rend(); ++step) {
      if (step->kind == PackedOp::Kind::Literals) {
        AddLiterals(ops, step->length);
      } else {
        ops.push_back(PackedOp{step->kind, step->length, step->distance});
      }
    }
  }

  std::span<const std::uint8_t> input_;
  MatchFinder finder_;
  std::size_t niceLength_;
  std::vector<LiteralBand> bands_;
  std::vector<BandMinimum> minima_;
  std::vector<std::uint32_t> cost_;  // bits of the cheapest path to each position of the segment
  std::vector<Step> steps_;          // its last operation
  std::size_t reached_ = 0;          // the furthest position priced in this segment
  std::vector<Match> matches_;
  std::vector<Step> path_;
};

}  // namespace

std::vector<PackedOp> ParseOptimal(std::span<const std::uint8_t> input, const MatchFinderParams& params) {
  return OptimalParser(input, params).Run();
}

}  // namespace brennick::build
