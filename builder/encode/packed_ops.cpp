#include "builder/encode/packed_ops.h"

#include "builder/encode/bit_writer.h"
#include "builder/encode/packed_costs.h"
#include "package/package_layout.h"

namespace brennick::build {

namespace {

void WriteNumber(BitWriter& bits, std::uint32_t value, unsigned width, unsigned step) {
  const NumberCode code = CodeFor(value, width, step);
  bits.WriteOnes(code.prefix);
  bits.Write(0, 1);
  bits.Write(value, code.raw);
}

void WriteU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> WritePackedBlock(std::span<const std::uint8_t> input, std::span<const PackedOp> ops) {
  std::vector<std::uint8_t> out;
  out.reserve(package::kPackedBlockHeaderSize + input.size() / 2 + 64);
  WriteU32(out, package::kPackedBlockMagic);
  WriteU32(out, static_cast<std::uint32_t>(input.size()));

  BitWriter bits(out);
  std::size_t pos = 0;
  for (const PackedOp& op : ops) {
    switch (op.kind) {
      case PackedOp::Kind::Literals:
        bits.Write(0, 1);
        WriteNumber(bits, op.length - 1, 2, 2);
        for (std::uint32_t i = 0; i < op.length; ++i) bits.Write(input[pos + i], 8);
        break;
      case PackedOp::Kind::Fill:
        bits.Write(0b11, 2);
        bits.Write(input[pos], 8);
        WriteNumber(bits, op.length - kMinFill, 1, 1);
        break;
      case PackedOp::Kind::Copy:
        bits.Write(0b01, 2);
        WriteNumber(bits, op.length - kMinCopy, 2, 1);
        WriteNumber(bits, op.distance - kMinDistance, 12, 2);
        break;
    }
    pos += op.length;
  }
  bits.Flush();
  return out;
}

void AddLiterals(std::vector<PackedOp>& ops, std::uint32_t count) {
  if (count == 0) return;
  if (!ops.empty() && ops.back().kind == PackedOp::Kind::Literals) {
    ops.back().length += count;
  } else {
    ops.push_back(PackedOp{PackedOp::Kind::Literals, count, 0});
  }
}

}  // namespace brennick::build
