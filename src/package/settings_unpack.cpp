#include "startup/settings_unpack.h"

#include "startup/corrupt_installer.h"
#include "startup/packed_block.h"
#include "startup/scramble.h"

namespace brennick {

std::vector<std::uint8_t> DecodeSettingsBlock(std::span<const std::uint8_t> stored, std::uint32_t settingsChecksum) {
  std::vector<std::uint8_t> block(stored.begin(), stored.end());
  Unscramble(block, settingsChecksum);
  if (!DecodePackedBlockInPlace(block)) CorruptInstaller(corrupt::kSettingsUnpack);
  return block;
}

}  // namespace brennick
