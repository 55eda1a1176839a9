#include "package/settings_unpack.h"

#include <gtest/gtest.h>

#include <vector>

#include "builder/encode/settings_block_encoder.h"
#include "fatal_capture.h"
#include "package/corrupt_installer.h"
#include "package/package_checksum.h"
#include "package/packed_block.h"

namespace brennick {
namespace {

TEST(SettingsBlock, BuilderAndProgramAgree) {
  std::vector<std::uint8_t> record;
  for (int i = 0; i < 5000; ++i) record.push_back(static_cast<std::uint8_t>("settings"[i % 8] + i / 600));
  const build::StoredSettings stored = build::EncodeSettingsBlock(record);

  EXPECT_EQ(stored.settingsChecksum, PackageChecksum(record));
  std::vector<std::uint8_t> unscrambled;
  EXPECT_FALSE(DecodePackedBlock(stored.bytes, unscrambled)) << "the stored block must be scrambled";
  EXPECT_EQ(DecodeSettingsBlock(stored.bytes, stored.settingsChecksum), record);
}

TEST(SettingsBlock, WrongKeyOrDamageIsCode47) {
  const std::vector<std::uint8_t> record(300, 'r');
  const build::StoredSettings stored = build::EncodeSettingsBlock(record);
  const std::string code47 = testing::FatalMessageOf([] { CorruptInstaller(47); });

  EXPECT_EQ(testing::FatalMessageOf([&] { DecodeSettingsBlock(stored.bytes, stored.settingsChecksum + 1); }), code47);
  const std::vector<std::uint8_t> cut(stored.bytes.begin(), stored.bytes.end() - 1);
  EXPECT_EQ(testing::FatalMessageOf([&] { DecodeSettingsBlock(cut, stored.settingsChecksum); }), code47);
}

}  // namespace
}  // namespace brennick
