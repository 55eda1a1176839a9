// brennick-pe-append: a copy of a 32-bit Windows program with one more
// section. The end-to-end tests use it to give the real program a package
// section before the builder can write whole packages.
//
//   brennick-pe-append <program.exe> <section name> <data file> <output.exe>
//
// Exit code 0 on success; 1 with the reason on stderr when the program cannot
// take the section or a file cannot be read or written; 2 for a wrong call.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "builder/basics/build_error.h"
#include "builder/pe/pe_section.h"

namespace {

std::vector<std::uint8_t> ReadWholeFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw brennick::build::BuildError(std::string("cannot open ") + path);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw brennick::build::BuildError(std::string("cannot write ") + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: brennick-pe-append <program.exe> <section name> <data file> <output.exe>\n");
    return 2;
  }
  try {
    std::vector<std::uint8_t> program = ReadWholeFile(argv[1]);
    const std::vector<std::uint8_t> data = ReadWholeFile(argv[3]);
    WriteWholeFile(argv[4], brennick::build::AppendSection(std::move(program), argv[2], data));
  } catch (const brennick::build::BuildError& error) {
    std::fprintf(stderr, "brennick-pe-append: %s\n", error.what());
    return 1;
  }
  return 0;
}
