#include "builder/encode/settings_block_encoder.h"

#include "package/package_checksum.h"
#include "package/scramble.h"

namespace brennick::build {

StoredSettings EncodeSettingsBlock(std::span<const std::uint8_t> record, int level) {
  StoredSettings settings;
  settings.settingsChecksum = PackageChecksum(record);
  settings.bytes = EncodePackedBlock(record, level);
  // Scrambling is its own inverse.
  Unscramble(settings.bytes, settings.settingsChecksum);
  return settings;
}

}  // namespace brennick::build
