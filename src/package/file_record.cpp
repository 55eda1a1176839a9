#include "package/file_record.h"

#include "package/file_record_fields.h"
#include "package/package_cursor.h"
#include "package/part_reader.h"

namespace brennick {

FileItem ReadFileItem(std::span<const std::uint8_t> body, std::int32_t dataSize) {
  PackageCursor cursor(body);
  FileItem item;
  PartReader reader(cursor);
  VisitFileItem(reader, item, dataSize);
  return item;
}

}  // namespace brennick
