#include "builder/package/package_writer.h"

#include "builder/basics/build_error.h"
#include "builder/encode/package_chunker.h"
#include "builder/encode/settings_block_encoder.h"
#include "builder/package/file_item_writer.h"
#include "builder/package/part_writer.h"
#include "builder/package/settings_writer.h"
#include "builder/pe/pe_headers.h"
#include "builder/pe/pe_section.h"
#include "foundation/byte_store.h"
#include "package/package_checksum.h"
#include "package/package_header_fields.h"
#include "package/package_layout.h"
#include "package/pe_layout.h"
#include "package/uninstaller_image.h"

namespace brennick::build {

WrittenHeader WritePackageHeaderWithOffsets(const PackageHeader& header) {
  PackageHeader copy = header;  // the walk takes the header by reference
  PartWriter writer("the package header");
  VisitPackageHeader(writer, copy);
  return {std::move(writer.bytes), std::move(writer.offsets)};
}

std::vector<std::uint8_t> WritePackageHeader(const PackageHeader& header) {
  return WritePackageHeaderWithOffsets(header).bytes;
}

PackageSection WritePackageSection(const SettingsRecord& settings, const std::vector<PackagedFile>& files,
                                   const PackageOptions& options) {
  if (files.size() > 0x7FFFFFFFu) throw BuildError("too many files");
  std::vector<std::vector<std::uint8_t>> items;
  items.reserve(files.size());
  PackageHeader h;
  h.Magic = package::kPackageMagic;
  h.Version = std::string(package::kPackageVersion);
  for (const PackagedFile& file : files) {
    if (file.data.size() > static_cast<std::size_t>(package::kMaxFileDataSize)) {
      throw BuildError("the file " + file.record.Name + " is larger than 1 GiB");
    }
    h.FileDataSizes.push_back(static_cast<std::int32_t>(file.data.size()));
    items.push_back(WriteFileItem(file.record, file.data));
  }
  h.FileCount = static_cast<std::int32_t>(files.size());

  StoredSettings block = EncodeSettingsBlock(WriteSettingsRecord(settings), options.level);
  if (block.bytes.empty() || block.bytes.size() > static_cast<std::size_t>(package::kMaxSettingsSize)) {
    throw BuildError("the settings block is too large");
  }
  h.SettingsSize = static_cast<std::int32_t>(block.bytes.size());
  h.SettingsChecksum = block.settingsChecksum;

  ArchiveOptions archiveOptions;
  archiveOptions.chunkSize = options.chunkSize;
  archiveOptions.packChunks = HasFlag(settings.ProductFlags, flags::kCompressedChunks);
  archiveOptions.level = options.level;
  const StoredArchive archive = BuildArchive(items, archiveOptions);
  h.ArchiveSize = archive.archiveSize;
  h.ArchiveChecksum = archive.archiveChecksum;

  const std::size_t headerSize = WritePackageHeader(h).size();
  if (options.sectionMultiple != 0) {
    const std::size_t used = headerSize + block.bytes.size() + archive.bytes.size();
    block.bytes.resize(block.bytes.size() + (options.sectionMultiple - used % options.sectionMultiple) %
                                                options.sectionMultiple);
    if (block.bytes.size() > static_cast<std::size_t>(package::kMaxSettingsSize)) {
      throw BuildError("the settings block is too large");
    }
    h.SettingsSize = static_cast<std::int32_t>(block.bytes.size());
  }
  const std::size_t end = headerSize + block.bytes.size() + archive.bytes.size();
  if (end > 0x7FFFFFFFu) throw BuildError("the package is larger than 2 GiB");
  h.ArchiveEnd = static_cast<std::int32_t>(end);

  PackageSection section{WritePackageHeader(h), h};
  section.bytes.insert(section.bytes.end(), block.bytes.begin(), block.bytes.end());
  section.bytes.insert(section.bytes.end(), archive.bytes.begin(), archive.bytes.end());
  return section;
}

std::vector<std::uint8_t> PlacePackage(std::vector<std::uint8_t> program, std::vector<std::uint8_t> section) {
  // The stub's bytes do not depend on what the section holds, only on its
  // size: place it once to learn them, then again with the checksum in.
  const std::vector<std::uint8_t> placed = AppendSection(program, package::kSectionName, section);
  const auto setup = FindSectionData(placed, package::kSectionName);
  if (!setup) throw BuildError("the package section went missing");
  const std::span<const std::uint8_t> stub(placed.data(), setup->fileOffset);
  const std::uint32_t stubChecksum = PackageChecksum(StubChecksumRange(stub, ReadPeLayout(stub)));
  // Where the program reads StubChecksum in this section's header.
  const PackageHeader header = ReadPackageHeader(section).header;
  StoreU32(section, WritePackageHeaderWithOffsets(header).offsets.at("StubChecksum"), stubChecksum);
  return AppendSection(std::move(program), package::kSectionName, section);
}

std::vector<std::uint8_t> WriteSetupProgram(std::vector<std::uint8_t> stub, const SettingsRecord& settings,
                                            const std::vector<PackagedFile>& files, const PackageOptions& options) {
  PackageOptions placed = options;
  if (settings.ArchiveFromFile != 0) {
    // The archive is then read from the file up to its end: the section must
    // need no padding, and nothing may follow it.
    const PeHeaders headers = ReadPeHeaders(stub);
    if (headers.rawEnd != stub.size()) throw BuildError("the program carries data after its last section");
    placed.sectionMultiple = headers.sectionAlignment;
  }
  return PlacePackage(std::move(stub), WritePackageSection(settings, files, placed).bytes);
}

}  // namespace brennick::build
