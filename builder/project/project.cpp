#include "builder/project/project.h"

#include "builder/basics/build_error.h"
#include "builder/package/settings_writer.h"
#include "builder/project/project_parts.h"
#include "package/package_layout.h"

namespace brennick::build {

Project LoadProject(const std::filesystem::path& tomlFile) {
  const std::filesystem::path folder = tomlFile.parent_path().empty() ? "." : tomlFile.parent_path();
  const SourceFile source(tomlFile.string(), folder);
  const toml::table table = source.Parse(tomlFile);
  TableReader root(source, table, "");

  Project project;
  project.file = tomlFile;
  SettingsRecord& settings = project.settings;
  StampRule stamps;
  project.options = ReadBuildOptions(root, settings, stamps);
  ReadFlags(root, settings);
  settings.Languages = ReadLanguages(root);
  ReadSettingsTables(root, settings);
  ReadSettingsLists(root, settings);
  project.files = ReadFiles(root, stamps);
  root.Finish();

  settings.EndMarker = package::kSettingsEndMarker;
  project.options.compress = HasFlag(settings.ProductFlags, flags::kCompressedChunks);
  try {
    WriteSettingsRecord(settings);  // the record as a whole must be one the program reads
  } catch (const BuildError& e) {
    throw BuildError(source.label() + ": " + e.what());
  }
  return project;
}

}  // namespace brennick::build
