// The package codec and checksum next to zlib and memcpy on one corpus, in
// one run, with the ratios that matter printed at the end.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "builder/encode/packed_encoder.h"
#include "corpus.h"
#include "package/package_checksum.h"
#include "package/packed_block.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using brennick::bench::Corpus;

const Bytes& Packed(int level) {
  static std::map<int, Bytes> blocks;
  auto found = blocks.find(level);
  if (found == blocks.end()) found = blocks.emplace(level, brennick::build::EncodePackedBlock(Corpus(), level)).first;
  return found->second;
}

Bytes Deflated(int level) {
  uLongf size = compressBound(Corpus().size());
  Bytes out(size);
  if (compress2(out.data(), &size, Corpus().data(), Corpus().size(), level) != Z_OK)
    throw std::runtime_error("compress2");
  out.resize(size);
  return out;
}

const Bytes& Deflated6() {
  static const Bytes block = Deflated(6);
  return block;
}

// 64 MiB: the corpus twice.
const Bytes& Big() {
  static const Bytes big = [] {
    Bytes bytes(Corpus());
    bytes.insert(bytes.end(), Corpus().begin(), Corpus().end());
    return bytes;
  }();
  return big;
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void Decode(benchmark::State& state) {
  const Bytes& block = Packed(static_cast<int>(state.range(0)));
  Bytes out;
  for (auto _ : state) {
    if (!brennick::DecodePackedBlock(block, out)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(out.data());
  }
  if (out != Corpus()) state.SkipWithError("decoded bytes differ");
  SetBytes(state, Corpus().size());
}

// The same with a new vector each time: what a single decode of a block
// costs, allocation and first touch of the output included.
void DecodeFresh(benchmark::State& state) {
  const Bytes& block = Packed(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Bytes out;
    if (!brennick::DecodePackedBlock(block, out)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(out.data());
  }
  SetBytes(state, Corpus().size());
}

void Inflate(benchmark::State& state) {
  const Bytes& block = Deflated6();
  Bytes out(Corpus().size());
  for (auto _ : state) {
    uLongf size = out.size();
    if (uncompress(out.data(), &size, block.data(), block.size()) != Z_OK) state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  if (out != Corpus()) state.SkipWithError("inflated bytes differ");
  SetBytes(state, Corpus().size());
}

void InflateFresh(benchmark::State& state) {
  const Bytes& block = Deflated6();
  for (auto _ : state) {
    Bytes out(Corpus().size());
    uLongf size = out.size();
    if (uncompress(out.data(), &size, block.data(), block.size()) != Z_OK) state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  SetBytes(state, Corpus().size());
}

void Checksum(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(brennick::PackageChecksum(Big()));
  SetBytes(state, Big().size());
}

void Memcpy(benchmark::State& state) {
  Bytes copy(Big().size());
  for (auto _ : state) {
    std::memcpy(copy.data(), Big().data(), Big().size());
    benchmark::ClobberMemory();
  }
  SetBytes(state, Big().size());
}

void Encode(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  std::size_t size = 0;
  for (auto _ : state) size = brennick::build::EncodePackedBlock(Corpus(), level).size();
  state.counters["size"] = static_cast<double>(size);
  SetBytes(state, Corpus().size());
}

void ZlibCompress(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) size = Deflated(static_cast<int>(state.range(0))).size();
  state.counters["size"] = static_cast<double>(size);
  SetBytes(state, Corpus().size());
}

BENCHMARK(Decode)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeFresh)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(Inflate)->Unit(benchmark::kMillisecond);
BENCHMARK(InflateFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(Checksum)->Unit(benchmark::kMillisecond);
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(Encode)->DenseRange(1, 9)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ZlibCompress)->Arg(6)->Arg(9)->Iterations(1)->Unit(benchmark::kMillisecond);

// Keeps each run's throughput and counters for the summary.
class Recorder : public benchmark::ConsoleReporter {
 public:
  struct Result {
    double bytesPerSecond = 0;
    double size = 0;
  };
  std::map<std::string, Result> results;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      Result& result = results[run.benchmark_name()];
      if (auto rate = run.counters.find("bytes_per_second"); rate != run.counters.end())
        result.bytesPerSecond = rate->second;
      if (auto size = run.counters.find("size"); size != run.counters.end()) result.size = size->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double Rate(const std::string& name) const {
    const auto found = results.find(name);
    return found == results.end() ? 0 : found->second.bytesPerSecond / 1e6;
  }
  double Size(const std::string& name) const {
    const auto found = results.find(name);
    return found == results.end() ? 0 : found->second.size;
  }
};

void PrintSummary(const Recorder& r) {
  const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
  std::printf("\nCorpus: %s\n", brennick::bench::CorpusDescription());
  // Into an output buffer that is reused (as the archive reader does from
  // chunk to chunk), and into a new one each time, for both decoders.
  struct Pair {
    const char* ours;
    const char* zlib;
  };
  for (const Pair pair :
       {Pair{"Decode/6", "Inflate"}, Pair{"Decode/9", "Inflate"}, Pair{"DecodeFresh/6", "InflateFresh"}}) {
    std::printf("%-13s %6.0f MB/s  vs zlib %-12s (level 6) %6.0f MB/s: %.2fx (need >= 1.5)\n", pair.ours,
                r.Rate(pair.ours), pair.zlib, r.Rate(pair.zlib), ratio(r.Rate(pair.ours), r.Rate(pair.zlib)));
  }
  std::printf("PackageChecksum %8.0f MB/s  vs memcpy %6.0f MB/s over 64 MiB: %.2fx (need >= 0.5)\n", r.Rate("Checksum"),
              r.Rate("Memcpy"), ratio(r.Rate("Checksum"), r.Rate("Memcpy")));

  std::printf("\n%-12s %12s %8s %10s\n", "encoder", "bytes", "of input", "MB/s");
  const double input = static_cast<double>(Corpus().size());
  for (int level = 1; level <= 9; ++level) {
    const std::string name = "Encode/" + std::to_string(level) + "/iterations:1";
    std::printf("level %-6d %12.0f %7.1f%% %10.1f\n", level, r.Size(name), 100 * r.Size(name) / input, r.Rate(name));
  }
  for (int level : {6, 9}) {
    const std::string name = "ZlibCompress/" + std::to_string(level) + "/iterations:1";
    std::printf("zlib -%-6d %12.0f %7.1f%% %10.1f\n", level, r.Size(name), 100 * r.Size(name) / input, r.Rate(name));
  }
  const double fastest = r.Size("Encode/1/iterations:1");
  const double smallest = r.Size("Encode/9/iterations:1");
  if (fastest > 0 && smallest > 0) {
    std::printf("level 9 %s level 1 (%.0f vs %.0f bytes)\n", smallest < fastest ? "smaller than" : "NOT smaller than",
                smallest, fastest);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("Corpus: %zu bytes\n", Corpus().size());
  Recorder recorder;
  benchmark::RunSpecifiedBenchmarks(&recorder);
  benchmark::Shutdown();
  PrintSummary(recorder);
  return 0;
}
