#include "package/archive_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/encode/package_chunker.h"
#include "fatal_capture.h"
#include "package/corrupt_installer.h"
#include "package/package_checksum.h"

namespace brennick {
namespace {

using Bytes = std::vector<std::uint8_t>;
using build::ArchiveOptions;
using build::BuildArchive;

std::vector<Bytes> SomeRecords() {
  std::vector<Bytes> records;
  for (std::size_t size : {0u, 5u, 90u, 1u, 700u, 12u}) {
    Bytes record(size);
    for (std::size_t i = 0; i < size; ++i) record[i] = static_cast<std::uint8_t>(i * 13 + size);
    records.push_back(record);
  }
  return records;
}

// A stored archive with the header fields that describe it, which a test
// may damage and then re-seal so that only the damage it meant is found.
struct Fixture {
  Bytes stored;
  ArchiveInfo info;

  Fixture(const std::vector<Bytes>& records, const ArchiveOptions& options, std::uint64_t flags) {
    const build::StoredArchive archive = BuildArchive(records, options);
    stored = archive.bytes;
    info.archiveSize = archive.archiveSize;
    info.archiveChecksum = archive.archiveChecksum;
    info.fileCount = static_cast<std::int32_t>(records.size());
    info.productFlags = flags;
  }

  void Put32(std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) stored[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  std::uint32_t Get32(std::size_t at) const {
    return stored[at] | (stored[at + 1] << 8) | (stored[at + 2] << 16) |
           (static_cast<std::uint32_t>(stored[at + 3]) << 24);
  }
  // Fixes the first chunk's checksum after its data was changed.
  void ResealFirstChunk() { Put32(4, PackageChecksum(std::span(stored).subspan(8, Get32(0)))); }
  void Reseal() {
    info.archiveSize = static_cast<std::int32_t>(stored.size());
    info.archiveChecksum = PackageChecksum(stored);
  }

  std::vector<Bytes> Read() const {
    std::vector<Bytes> records;
    ReadArchiveRecords(stored, info,
                       [&](std::span<const std::uint8_t> body) { records.emplace_back(body.begin(), body.end()); });
    return records;
  }
};

std::string CorruptMessage(int code) {
  return testing::FatalMessageOf([code] { CorruptInstaller(code); });
}

constexpr std::uint64_t kPackedChecked = kChunksPackedFlag | kChunkChecksumsFlag;

TEST(ReadArchiveRecords, GivesBackEveryRecordInOrder) {
  const std::vector<Bytes> records = SomeRecords();
  struct Case {
    std::size_t chunkSize;
    bool packed;
  };
  // Chunks smaller than a record, several records per chunk, one chunk for all.
  for (const Case c : {Case{7, false}, Case{7, true}, Case{64, true}, Case{300, false}, Case{1 << 20, true}}) {
    const Fixture fixture(records, ArchiveOptions{c.chunkSize, c.packed, 6},
                          (c.packed ? kChunksPackedFlag : 0) | kChunkChecksumsFlag);
    EXPECT_EQ(fixture.Read(), records) << "chunks of " << c.chunkSize << (c.packed ? ", packed" : "");
  }
  const Fixture empty({}, ArchiveOptions{}, kPackedChecked);
  EXPECT_TRUE(empty.stored.empty());
  EXPECT_TRUE(empty.Read().empty());
}

TEST(ReadArchiveRecords, DamageEndsWithItsCode) {
  const std::vector<Bytes> records = SomeRecords();
  struct Case {
    const char* name;
    std::uint64_t flags;
    void (*damage)(Fixture&);
    int code;
  };
  const Case cases[] = {
      {"size differs from the header", kPackedChecked, [](Fixture& f) { f.info.archiveSize += 1; }, 46},
      {"stored bytes cut short", kPackedChecked, [](Fixture& f) { f.stored.pop_back(); }, 46},
      {"archive checksum", kPackedChecked, [](Fixture& f) { f.info.archiveChecksum ^= 1; }, 55},
      // Without bit 32 the chunk checksums are not checked, but the archive's is.
      {"damaged chunk, chunk checksums off", kChunksPackedFlag, [](Fixture& f) { f.stored[20] ^= 0x10; }, 55},
      {"damaged chunk", kPackedChecked, [](Fixture& f) { f.stored[20] ^= 0x10; f.Reseal(); }, 62},
      {"chunk that does not decode", kPackedChecked,
       [](Fixture& f) { f.stored[8] ^= 1; f.ResealFirstChunk(); f.Reseal(); }, 60},
      {"chunk size 0", kPackedChecked, [](Fixture& f) { f.Put32(0, 0); f.Reseal(); }, 61},
      {"negative chunk size", kPackedChecked, [](Fixture& f) { f.Put32(0, 0x80000000); f.Reseal(); }, 61},
      {"chunk larger than the archive left", kPackedChecked,
       [](Fixture& f) { f.Put32(0, static_cast<std::uint32_t>(f.stored.size() - 7)); f.Reseal(); }, 63},
      {"more files than records", kPackedChecked, [](Fixture& f) { f.info.fileCount += 1; }, 63},
      {"bytes after the last record", kPackedChecked,
       [](Fixture& f) { f.stored.insert(f.stored.end(), {1, 0, 0, 0, 0, 0, 0, 0, 0}); f.Reseal(); }, 80},
      {"record bytes after the last record", kPackedChecked, [](Fixture& f) { f.info.fileCount -= 1; }, 83},
  };
  for (const Case& c : cases) {
    Fixture fixture(records, ArchiveOptions{1 << 20, true, 6}, c.flags);
    c.damage(fixture);
    EXPECT_EQ(testing::FatalMessageOf([&] { fixture.Read(); }), CorruptMessage(c.code)) << c.name;
  }
}

// The codes of unpacked chunks, and a first chunk that is checked on its own.
TEST(ReadArchiveRecords, DamageInPlainChunks) {
  const std::vector<Bytes> records = SomeRecords();
  Fixture plain(records, ArchiveOptions{100, false, 6}, kChunkChecksumsFlag);
  plain.stored[8] ^= 0x40;  // the first record's length field
  plain.Reseal();
  EXPECT_EQ(testing::FatalMessageOf([&] { plain.Read(); }), CorruptMessage(62));

  Fixture negative({}, ArchiveOptions{}, 0);
  negative.stored = {4, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  negative.info.fileCount = 1;
  negative.Reseal();
  EXPECT_EQ(testing::FatalMessageOf([&] { negative.Read(); }), CorruptMessage(corrupt::kRecordLengthNegative));
}

}  // namespace
}  // namespace brennick
