#include "run/collect_uninstall_data.h"

#include "foundation/text.h"
#include "startup/installer_settings.h"

namespace brennick {

UninstallData CollectUninstallData(InstallerState& state) {
  UninstallData data;
  data.Removals = state.Lists.Removals;
  for (int number : kUninstallStringNumbers) data.Strings[number] = Message(state, MessageId{number});
  data.Strings[kWindowTitleString] = state.Settings.WindowTitle;
  data.ProgramsToClose = state.Settings.ProgramsToClose;
  for (std::string& line : UninstallDataLines(state.Settings.RegistryEntries)) {
    if (!TrimWhiteSpace(line).empty()) data.RegistryEntries.push_back(std::move(line));
  }
  data.ConditionalDeletes = state.Settings.FileDeletions;
  return data;
}

}  // namespace brennick
