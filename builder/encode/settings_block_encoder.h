#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "builder/encode/packed_encoder.h"

namespace brennick::build {

struct StoredSettings {
  std::vector<std::uint8_t> bytes;     // the block as the package stores it (SettingsSize bytes)
  std::uint32_t settingsChecksum = 0;  // SettingsChecksum for the package header
};

// The settings block for a settings record: packed, then scrambled with the
// PackageChecksum of the record itself (of the decoded bytes, which is what
// the program checks once it has read the record's first fields).
StoredSettings EncodeSettingsBlock(std::span<const std::uint8_t> record, int level = kDefaultLevel);

}  // namespace brennick::build
