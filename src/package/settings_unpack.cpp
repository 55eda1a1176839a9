#include "package/settings_unpack.h"

#include "package/corrupt_installer.h"
#include "package/packed_block.h"
#include "package/scramble.h"

namespace brennick {

std::vector<std::uint8_t> DecodeSettingsBlock(std::span<const std::uint8_t> stored, std::uint32_t settingsChecksum) {
  std::vector<std::uint8_t> block(stored.begin(), stored.end());
  Unscramble(block, settingsChecksum);
  if (!DecodePackedBlockInPlace(block)) CorruptInstaller(corrupt::kSettingsUnpack);
  return block;
}

}  // namespace brennick
