#pragma once

#include <cstdint>
#include <span>

#include "startup/installer_state.h"
#include "startup/package_header.h"

namespace brennick {

// Reads the whole stored archive and every file item in it, with all their
// checks (the archive's size and checksum, its chunks, each item's fields,
// size and data checksum): a damaged archive ends through CorruptInstaller.
// Returns the number of items read.
std::size_t VerifyArchive(std::span<const std::uint8_t> stored, const PackageHeader& header,
                          const InstallerState& state);

}  // namespace brennick
