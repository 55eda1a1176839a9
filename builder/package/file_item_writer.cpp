#include "builder/package/file_item_writer.h"

#include <string>

#include "builder/basics/build_error.h"
#include "package/package_checksum.h"

namespace brennick::build {

namespace {

class ItemBytes {
 public:
  std::vector<std::uint8_t> bytes;

  void I32(std::int32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
  }
  void Str(const std::string& text, const char* what) {
    if (text.find('\0') != std::string::npos) throw BuildError(std::string("the ") + what + " holds a zero byte");
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
  }
};

}  // namespace

std::vector<std::uint8_t> WriteFileItem(const FileRecord& r, std::span<const std::uint8_t> data) {
  if (r.Name.empty()) throw BuildError("a file needs a name");
  ItemBytes out;
  out.Str(r.Name, "file name");
  out.I32(r.FileKind);
  out.I32(r.FileFlags);
  out.I32(r.Attributes);
  for (const std::int32_t part : r.Stamp) out.I32(part);
  out.Str(r.Label, "file label");
  if (HasShortcutIcon(r)) out.Str(r.ShortcutIcon, "shortcut icon");
  out.Str(r.Arguments, "shortcut arguments");
  out.Str(r.TargetOverride, "target");
  out.Str(r.WorkingDir, "working folder");
  if (r.FileKind == file_kind::kMsiPackage) out.I32(r.MsiUiLevel);
  out.bytes.insert(out.bytes.end(), data.begin(), data.end());
  out.I32(static_cast<std::int32_t>(PackageChecksum(data)));
  return std::move(out.bytes);
}

}  // namespace brennick::build
