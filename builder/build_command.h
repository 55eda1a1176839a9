#pragma once

#include <filesystem>

#include "builder/project/project.h"

namespace brennick::build {

struct BuildArguments {
  std::filesystem::path output;  // the setup.exe to write
  std::filesystem::path stub;    // the program to append the package to; empty: the default
};

// Writes the setup for a loaded project. Returns the exit code; throws
// BuildError for what cannot be built.
int RunBuild(const Project& project, const BuildArguments& arguments);

}  // namespace brennick::build
