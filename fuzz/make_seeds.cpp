// Writes the seed inputs of the fuzz targets, made with the builder so that
// the fuzzers start from well-formed blocks and archives:
//   make_seeds <folder>   ->  <folder>/{packed_block,archive_reader,packed_roundtrip}/seed_N
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "builder/encode/package_chunker.h"
#include "builder/encode/packed_encoder.h"
#include "builder/package/package_writer.h"
#include "builder/package/settings_writer.h"
#include "package/package_layout.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> Samples() {
  const std::string text =
      "The setup installs files into the folder you choose, then creates shortcuts. "
      "The setup removes files from the folder when you uninstall.";
  Bytes periodic;
  for (int i = 0; i < 300; ++i) periodic.push_back(static_cast<std::uint8_t>("abcdefg"[i % 7]));
  Bytes runs(40, 'x');
  runs.insert(runs.end(), 9, 0);
  runs.insert(runs.end(), {1, 2, 3});
  Bytes mixed;
  for (int i = 0; i < 200; ++i) mixed.push_back(static_cast<std::uint8_t>(i * i * 31 + (i >> 3)));
  return {Bytes(text.begin(), text.end()), periodic, runs, mixed, Bytes{7}, Bytes{}};
}

void Write(const fs::path& folder, int& number, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream((folder / ("seed_" + std::to_string(number++))).string(), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <folder>\n");
    return 2;
  }
  const fs::path root = argv[1];
  const std::vector<Bytes> samples = Samples();
  int number = 0;

  for (const Bytes& sample : samples) {
    for (int level : {1, 6, 9}) Write(root / "packed_block", number, brennick::build::EncodePackedBlock(sample, level));
    Bytes roundTrip = {static_cast<std::uint8_t>(number)};
    roundTrip.insert(roundTrip.end(), sample.begin(), sample.end());
    Write(root / "packed_roundtrip", number, roundTrip);
  }

  // Archive inputs: flags byte, file count byte, stored archive.
  struct Shape {
    std::size_t chunkSize;
    bool packed;
  };
  for (const Shape shape : {Shape{16, false}, Shape{64, true}, Shape{4096, true}, Shape{100, false}}) {
    const brennick::build::StoredArchive archive =
        brennick::build::BuildArchive(samples, {shape.chunkSize, shape.packed, brennick::build::kDefaultLevel});
    for (std::uint8_t checks : {0, 2, 6}) {
      Bytes input = {static_cast<std::uint8_t>((shape.packed ? 1 : 0) | checks),
                     static_cast<std::uint8_t>(samples.size())};
      input.insert(input.end(), archive.bytes.begin(), archive.bytes.end());
      Write(root / "archive_reader", number, input);
    }
  }

  // Package reader inputs: mode byte (even: header, odd: settings record), bytes.
  brennick::SettingsRecord record;
  record.ProductName = "Seed";
  record.ProductFlags = (1u << 2) | (1u << 16);
  record.LicenseTexts = {"licence"};
  record.FileDeletions = {{"old.dll", 1, "1.0", 0}};
  record.ProgramsToClose = {{"Class", "Title", "Name", 1, 2}};
  record.Languages = {{"English", "Deutsch"}, {{"a\r\nb", "c"}, {"d", "e"}}};
  record.EndMarker = brennick::package::kSettingsEndMarker;
  Bytes settings = {1};
  const Bytes recordBytes = brennick::build::WriteSettingsRecord(record);
  settings.insert(settings.end(), recordBytes.begin(), recordBytes.end());
  Write(root / "package_reader", number, settings);
  brennick::PackageHeader header;
  header.Magic = brennick::package::kPackageMagic;
  header.Version = std::string(brennick::package::kPackageVersion);
  header.SettingsSize = 4;
  header.FileCount = 2;
  header.FileDataSizes = {10, 0};
  Bytes headerInput = {0};
  const Bytes headerBytes = brennick::build::WritePackageHeader(header);
  headerInput.insert(headerInput.end(), headerBytes.begin(), headerBytes.end());
  headerInput.insert(headerInput.end(), 4, 0xAB);
  Write(root / "package_reader", number, headerInput);
  return 0;
}
