#include "startup/package_reader.h"

#include "package/corrupt_installer.h"
#include "package/package_checksum.h"
#include "package/settings_unpack.h"
#include "package/uninstaller_image.h"

namespace brennick {

PackageHeader ReadPackage(std::span<const std::uint8_t> section, InstallerState& state, SettingsEnvironment& env,
                          const std::function<void()>& atBackgroundPoint) {
  PackageParts parts = ReadPackageHeader(section);
  state.FileDataSizes = parts.header.FileDataSizes;
  state.ArchiveStart = parts.archiveStart;

  const std::vector<std::uint8_t> block = DecodeSettingsBlock(parts.settingsBlock, parts.header.SettingsChecksum);
  const std::uint32_t expected = parts.header.SettingsChecksum;
  ReadInstallerSettings(block, state, env, [&] {
    if (atBackgroundPoint) atBackgroundPoint();
    // The whole block counts, not only the fields read so far.
    if (PackageChecksum(block) != expected) CorruptInstaller(corrupt::kSettingsChecksum);
  });
  return parts.header;
}

void CheckStub(std::span<const std::uint8_t> stub, const PeLayout& layout, const PackageHeader& header,
               std::uint64_t productFlags) {
  if (!HasFlag(productFlags, flags::kVerifyChecksums)) return;
  if (PackageChecksum(StubChecksumRange(stub, layout)) != header.StubChecksum) {
    CorruptInstaller(corrupt::kStubChecksum);
  }
}

}  // namespace brennick
