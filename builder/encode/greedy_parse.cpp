#include "builder/encode/greedy_parse.h"

#include "builder/encode/packed_costs.h"

namespace brennick::build {

namespace {

// An operation and the bits it saves over coding its bytes as literals.
struct Choice {
  PackedOp op;
  long gain = 0;
};

class GreedyParser {
 public:
  GreedyParser(std::span<const std::uint8_t> input, const MatchFinderParams& params)
      : input_(input), finder_(input, params) {}

  std::vector<PackedOp> Run(bool lazy) {
    std::vector<PackedOp> ops;
    std::size_t pos = 0;
    while (pos < input_.size()) {
      Choice best = Best(pos);
      if (best.gain <= 0) {
        AddLiterals(ops, 1);
        ++pos;
        continue;
      }
      // A literal costs its 8 bits and may open a run; the operation one
      // byte on must save more than that to be worth the wait.
      while (lazy && pos + 1 < input_.size()) {
        const Choice next = Best(pos + 1);
        if (next.gain <= best.gain + kLazyMargin) break;
        AddLiterals(ops, 1);
        ++pos;
        best = next;
      }
      ops.push_back(best.op);
      pos += best.op.length;
    }
    return ops;
  }

 private:
  static constexpr long kLazyMargin = 4;

  Choice Best(std::size_t pos) {
    Choice best;
    const std::size_t left = input_.size() - pos;
    const std::size_t run = finder_.RunLength(pos, left);
    if (run >= kMinFill) {
      const auto length = static_cast<std::uint32_t>(run);
      best = Choice{PackedOp{PackedOp::Kind::Fill, length, 0}, 8L * length - FillBits(length)};
    }
    finder_.Find(pos, left, matches_);
    for (const Match& m : matches_) {
      const long gain = 8L * m.length - CopyBits(m.length, m.distance);
      if (gain > best.gain) best = Choice{PackedOp{PackedOp::Kind::Copy, m.length, m.distance}, gain};
    }
    return best;
  }

  std::span<const std::uint8_t> input_;
  MatchFinder finder_;
  std::vector<Match> matches_;
};

}  // namespace

std::vector<PackedOp> ParseGreedy(std::span<const std::uint8_t> input, const MatchFinderParams& params, bool lazy) {
  return GreedyParser(input, params).Run(lazy);
}

}  // namespace brennick::build
