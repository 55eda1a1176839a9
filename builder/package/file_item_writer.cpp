#include "builder/package/file_item_writer.h"

#include "builder/package/part_writer.h"
#include "package/file_record_fields.h"

namespace brennick::build {

std::vector<std::uint8_t> WriteFileItem(const FileRecord& record, std::span<const std::uint8_t> data) {
  FileItem item{record, data};  // the walk takes the item by reference
  PartWriter writer("the file \"" + record.Name + "\"");
  VisitFileItem(writer, item, static_cast<std::int64_t>(data.size()));
  return std::move(writer.bytes);
}

}  // namespace brennick::build
