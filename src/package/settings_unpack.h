#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brennick {

// The settings block as stored in the package: unscrambled with the key
// `settingsChecksum`, then decoded as a packed block. A block that does not
// decode ends through CorruptInstaller (code 47). The decoded bytes are not
// checked here: the settings reader compares their PackageChecksum with
// `settingsChecksum` part-way through the record (code 25).
std::vector<std::uint8_t> DecodeSettingsBlock(std::span<const std::uint8_t> stored, std::uint32_t settingsChecksum);

}  // namespace brennick
