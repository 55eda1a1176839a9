#pragma once

#include <cstdint>
#include <vector>

namespace brennick::bench {

// The benchmark corpus: 32 MiB made the same way on every Debian machine
// that has the build's packages, from three sources, a third each (machine
// code, import and static libraries, C headers), each filled with whole
// files in sorted path order and the last one cut. Built once per process.
const std::vector<std::uint8_t>& Corpus();

// A line that names the sources, for the report.
const char* CorpusDescription();

}  // namespace brennick::bench
