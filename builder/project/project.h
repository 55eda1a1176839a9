#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "builder/encode/packed_encoder.h"
#include "builder/pe/pe_headers.h"
#include "package/file_record.h"
#include "package/settings_record.h"

namespace brennick::build {

// One file to package: where its bytes come from and the record the archive
// stores for it (name, kind, flags, attributes, stamp, label, shortcut icon,
// arguments, target override, working folder, MSI user-interface level).
struct FileSpec {
  std::filesystem::path source;  // absolute
  FileRecord record;
  std::string origin;  // "project.toml:31", for messages about this file
};

// How the package is made, beyond what the settings record says.
struct BuildOptions {
  bool compress = true;                   // archive chunks packed; always equal to ProductFlags bit 5
  int level = kDefaultLevel;              // packed-block effort, kFastestLevel to kSmallestLevel
  std::uint32_t chunkSize = 1024 * 1024;  // record stream bytes per archive chunk, before packing
  std::optional<PeKind> program;          // the program the package goes into, when the project names it
};

struct Project {
  std::filesystem::path file;   // the project file as given
  SettingsRecord settings;      // complete, end marker included
  std::vector<FileSpec> files;  // in archive order
  BuildOptions options;
};

// Reads and checks a project file (docs/project-file.md) and every file it
// names. Only reads: a project that is wrong in any way throws BuildError
// with "<file>:<line>: <where> <key>: <what>".
Project LoadProject(const std::filesystem::path& tomlFile);

}  // namespace brennick::build
