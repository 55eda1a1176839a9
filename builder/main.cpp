// brennick-build: turns a project file and the product's files into one
// setup program, and shows what a setup holds.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "builder/basics/build_error.h"
#include "builder/build_command.h"
#include "builder/project/project.h"
#include "builder/report/describe.h"
#include "builder/report/package_report.h"

namespace {

using namespace brennick::build;

int Check(const std::filesystem::path& projectFile, bool json) {
  const Project project = LoadProject(projectFile);
  if (json) {
    std::cout << DescribeSettingsJson(project.settings);
  } else {
    std::cout << projectFile.string() << ": " << project.files.size() << " files, "
              << project.settings.Languages.Names.size() << " languages\n";
  }
  return 0;
}

int Run(int argc, char** argv) {
  CLI::App app{"Makes setup programs from a project file and the product's files."};
  app.name("brennick-build");
  app.require_subcommand(1);

  std::string projectFile;
  BuildArguments buildArguments;
  std::string output;
  std::string stub;
  CLI::App* build = app.add_subcommand("build", "Build a setup program from a project file.");
  build->add_option("project", projectFile, "The project file (TOML)")->required();
  build->add_option("-o,--output", output, "The setup program to write")->required();
  build->add_option("--stub", stub, "The installer program to put the package into");

  std::string setupFile;
  CLI::App* inspect = app.add_subcommand("inspect", "Show what a setup program holds, as JSON.");
  inspect->add_option("setup", setupFile, "The setup program")->required();

  std::string checkFile;
  bool json = false;
  CLI::App* check = app.add_subcommand("check", "Read and check a project file without building.");
  check->add_option("project", checkFile, "The project file (TOML)")->required();
  check->add_flag("--json", json, "Print the settings the project makes, as JSON");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "brennick-build: " << e.what() << "\n";
    return 1;
  }

  if (*build) {
    const Project project = LoadProject(projectFile);
    buildArguments.output = output;
    buildArguments.stub = stub;
    return RunBuild(project, buildArguments);
  }
  if (*inspect) return RunInspect(setupFile);
  return Check(checkFile, json);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "brennick-build: " << e.what() << "\n";
    return 1;
  }
}
