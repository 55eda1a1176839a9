#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "package/package_header.h"
#include "package/pe_layout.h"
#include "startup/installer_settings.h"

namespace brennick {

// Reads the package section: the header (its file sizes and the archive's
// start go into `state`), then the settings block, unscrambled, decoded and
// read into `state`. `atBackgroundPoint` runs after the record's first seven
// fields (the program creates its background window there); right after it
// the decoded block is checked against SettingsChecksum (code 25).
// Returns the header for the checks that follow.
PackageHeader ReadPackage(std::span<const std::uint8_t> section, InstallerState& state, SettingsEnvironment& env,
                          const std::function<void()>& atBackgroundPoint);

// With ProductFlags bit 32, the stub (the file's bytes before the package
// section) must match StubChecksum (code 40).
void CheckStub(std::span<const std::uint8_t> stub, const PeLayout& layout, const PackageHeader& header,
               std::uint64_t productFlags);

}  // namespace brennick
