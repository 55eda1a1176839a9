#include "builder/build_command.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "builder/basics/build_error.h"
#include "builder/package/package_writer.h"
#include "builder/pe/pe_headers.h"

namespace brennick::build {

namespace {

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BuildError("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program the package goes into: given, or the one of the wanted kind
// that was built or installed with this builder (beside it, or in the
// Windows build tree beside it).
std::filesystem::path StubPath(const std::filesystem::path& given, PeKind kind) {
  if (!given.empty()) return given;
  const bool x64 = kind == PeKind::Pe32Plus;
  const std::string name = x64 ? "brennick64.exe" : "brennick.exe";
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (const auto& candidate : {self.parent_path() / name, self.parent_path() / (x64 ? "windows64" : "windows") / name}) {
      if (std::filesystem::exists(candidate)) return candidate;
    }
  }
  throw BuildError("cannot find the setup program " + name + "; name it with --stub");
}

// A project that names its program gets that one or an error, never the other.
void CheckProgramKind(const Project& project, const std::filesystem::path& stubPath,
                      std::span<const std::uint8_t> stub) {
  if (!project.options.program) return;
  const PeKind kind = ReadPeHeaders(stub).kind;
  if (kind == *project.options.program) return;
  throw BuildError(project.file.string() + ": [build] program is \"" + PeKindName(*project.options.program) +
                   "\", but " + stubPath.string() + " is the " + PeKindName(kind) + " program");
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
  const std::filesystem::path stubPath = StubPath(arguments.stub, project.options.program.value_or(PeKind::Pe32));
  const std::vector<std::uint8_t> stub = ReadWholeFile(stubPath);
  CheckProgramKind(project, stubPath, stub);
  const std::vector<std::uint8_t> setup = WriteSetupProgram(stub, project.settings, files, options);
  WriteAtomically(arguments.output, setup);
  return 0;
}

}  // namespace brennick::build
