#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "foundation/fatal.h"
#include "package/corrupt_installer.h"
#include "package/package_cursor.h"
#include "res/version.h"

namespace brennick {

// The part walker (package_header_fields.h) that reads the header or a file
// item through a cursor: a read past the end is code 50, a bound that does
// not hold ends with its code.
class PartReader {
 public:
  explicit PartReader(PackageCursor& cursor) : cursor_(cursor) {}

  void U32(std::uint32_t& v, const char*) { v = cursor_.ReadU32(); }
  void I32(std::int32_t& v, const char*) { v = cursor_.ReadI32(); }
  void Flags(std::int32_t& v, const char*) { v = cursor_.ReadI32(); }
  void Str(std::string& text, const char*) { text = cursor_.ReadString(); }
  void Data(std::span<const std::uint8_t>& bytes, std::size_t size, const char*) { bytes = cursor_.ReadBytes(size); }
  void Limit(bool ok, int code, const char*) {
    if (!ok) CorruptInstaller(code);
  }
  void VersionLimit(bool ok, const std::string& version) {
    if (ok) return;
    FatalError("The installer version (" BRENNICK_VERSION_TEXT
               ") does not match the version of %s (%s).  Close all "
               "applications and reinstall %s.",
               BRENNICK_FAMILY_NAME, version.c_str(), BRENNICK_FAMILY_NAME);
  }
  void Entries(std::vector<std::int32_t>& list, std::int32_t count, const char*) {
    if (static_cast<std::size_t>(count) > cursor_.Left() / 4) CorruptInstaller(corrupt::kPackageTruncated);
    list.resize(static_cast<std::size_t>(count));
  }
  void BeginList(const char*) {}
  void Item() {}
  void EndList() {}

 private:
  PackageCursor& cursor_;
};

}  // namespace brennick
