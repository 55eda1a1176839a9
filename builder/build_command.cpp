#include "build_command.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "build_error.h"
#include "package_writer.h"

namespace brennick::build {

namespace {

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BuildError("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program the package goes into: given, or the one that was built or
// installed with this builder (beside it, or in the Windows build tree
// beside it).
std::filesystem::path StubPath(const std::filesystem::path& given) {
  if (!given.empty()) return given;
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (const auto& candidate : {self.parent_path() / "brennick.exe", self.parent_path() / "windows" / "brennick.exe"}) {
      if (std::filesystem::exists(candidate)) return candidate;
    }
  }
  throw BuildError("cannot find the setup program brennick.exe; name it with --stub");
}

// Writes beside the target first, so a failure leaves no half-written file
// and an existing one untouched.
void WriteAtomically(const std::filesystem::path& target, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path temporary = target.string() + ".partial-" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(temporary);
      throw BuildError("cannot write " + target.string());
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::filesystem::remove(temporary);
    throw BuildError("cannot write " + target.string() + ": " + error.message());
  }
}

}  // namespace

int RunBuild(const Project& project, const BuildArguments& arguments) {
  std::vector<PackagedFile> files;
  files.reserve(project.files.size());
  for (const FileSpec& entry : project.files) files.push_back({entry.record, ReadWholeFile(entry.source)});

  PackageOptions options;
  options.level = project.options.level;
  options.chunkSize = project.options.chunkSize;
  const std::vector<std::uint8_t> setup =
      WriteSetupProgram(ReadWholeFile(StubPath(arguments.stub)), project.settings, files, options);
  WriteAtomically(arguments.output, setup);
  return 0;
}

}  // namespace brennick::build
