#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "package/message_ids.h"
#include "startup/installer_state.h"
#include "startup/installer_variables.h"

namespace brennick {

// What applying the settings needs to know of the machine.
class SettingsEnvironment {
 public:
  virtual ~SettingsEnvironment() = default;
  virtual std::string WindowsFolder() = 0;
  virtual std::string ProgramFilesFolder() = 0;
  virtual std::string CommonFilesFolder() = 0;
  virtual std::string CommonAppDataFolder() = 0;
  // Installer variables ("%InstallDir%" ...) and then environment variables.
  virtual std::string ExpandVariables(const std::string& text, const RunValues& run) = 0;
  // Pictures on the OK and Cancel buttons need Windows NT 6 or later, or a
  // server edition of NT 5.2.
  virtual bool ButtonPicturesSupported() = 0;
  // For a 64-bit product: 32-bit file-system redirection off for this thread.
  // False when that failed.
  virtual bool TurnOffFileSystemRedirection() = 0;
};

// Reads the settings record from the decoded settings block into `state`:
// the stored values, then the defaults and derived values, in the order the
// fields are stored (so a product name from the command line reaches every
// default built from it). `afterField7` runs after the first seven fields,
// which are in `state` by then.
void ReadInstallerSettings(std::span<const std::uint8_t> block, InstallerState& state, SettingsEnvironment& env,
                           const std::function<void()>& afterField7);

// The defaults and derived values alone, for a record already read.
void ApplyInstallerSettings(SettingsRecord record, InstallerState& state, SettingsEnvironment& env);

// The run's values of the installer variables, as they stand now.
RunValues RunValuesOf(const InstallerState& state);

// The product-text values in force.
ProductText ProductTextOf(const InstallerState& state);

// Message `number` in the current language, markers replaced.
const std::string& Message(InstallerState& state, MessageId id);

}  // namespace brennick
