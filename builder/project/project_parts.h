#pragma once

// The readers of the parts of a project file; LoadProject (project.cpp) calls
// them in this order. Each asks the root for its tables and checks them.

#include <optional>
#include <string>
#include <vector>

#include "builder/project/project.h"
#include "builder/project/project_reader.h"

namespace brennick::build {

// How files get their stamp when their entry does not say.
struct StampRule {
  enum class Kind { Source, None, Fixed } kind = Kind::Source;
  CivilTime fixed;
};

// [build]: options, ArchiveFromFile, BuildTime, and the default stamp rule.
BuildOptions ReadBuildOptions(TableReader& root, SettingsRecord& settings, StampRule& stamps);

// [flags]: ProductFlags and ProductFlags2.
void ReadFlags(TableReader& root, SettingsRecord& settings);

// [languages]: the message table.
LanguageStrings ReadLanguages(TableReader& root);

// [product], [folders], [shortcuts], [background], [wizard], [uninstall],
// [batches], [finish], [notify], [upgrade], [master]. Needs the flags, and
// refuses a named flag that needs one of these settings it lacks.
void ReadSettingsTables(TableReader& root, SettingsRecord& settings);

// [[shortcut]], [[association]], [[file_deletion]], [[uninstall_value]],
// [[close_program]], [[license]], [[readme]], [[registry]], [[firewall]].
// Needs the language names.
void ReadSettingsLists(TableReader& root, SettingsRecord& settings);

// [[files]].
std::vector<FileSpec> ReadFiles(TableReader& root, const StampRule& stamps);

// Helpers shared by the readers.
template <class T, class U>
void Assign(const std::optional<T>& value, U& field) {
  if (value) field = static_cast<U>(*value);
}

}  // namespace brennick::build
