#include "startup/archive_check.h"

#include "foundation/checked_array.h"
#include "startup/archive_reader.h"
#include "startup/file_record.h"

namespace brennick {

std::size_t VerifyArchive(std::span<const std::uint8_t> stored, const PackageHeader& header,
                          const InstallerState& state) {
  std::size_t index = 0;
  ReadArchiveRecords(stored, {header.ArchiveSize, header.ArchiveChecksum, header.FileCount, state.Settings.ProductFlags},
                     [&](std::span<const std::uint8_t> body) {
                       ReadFileItem(body, CheckedAt(state.FileDataSizes, static_cast<long long>(index), "int"));
                       ++index;
                     });
  return index;
}

}  // namespace brennick
