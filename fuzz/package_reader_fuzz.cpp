// The package header and the settings record readers on any bytes. Input: a
// mode byte, then the bytes. Mode even: the package header; a damaged header
// may only end with its corrupt-installer codes or the version message.
// Mode odd: a settings record; one that reads must write back to bytes that
// read and write again to the same bytes.
#include <cstdlib>
#include <set>
#include <span>
#include <string>

#include "builder/basics/build_error.h"
#include "builder/package/settings_writer.h"
#include "foundation/fatal.h"
#include "fuzz_corrupt.h"
#include "package/package_header.h"
#include "package/settings_reader.h"

namespace {

struct VersionMessage {};

class ThrowingFatal final : public brennick::FatalHandler {
 public:
  [[noreturn]] void Fatal(const std::string& message) override {
    if (message.rfind("The installer version (27.0.5)", 0) != 0) std::abort();
    throw VersionMessage{};
  }
};

void Header(std::span<const std::uint8_t> bytes) {
  static const std::set<int> kHeaderCodes = {20, 22, 27, 28, 29, 45, 50};
  try {
    const brennick::PackageParts parts = brennick::ReadPackageHeader(bytes);
    if (parts.archiveStart > bytes.size() ||
        parts.settingsBlock.size() != static_cast<std::size_t>(parts.header.SettingsSize)) {
      std::abort();
    }
  } catch (const brennick::fuzz::Corrupt& corrupt) {
    if (kHeaderCodes.count(corrupt.code) == 0) std::abort();
  } catch (const VersionMessage&) {
  }
}

void Record(std::span<const std::uint8_t> bytes) {
  static const std::set<int> kRecordCodes = {19, 24, 26, 30, 31, 32, 36, 37, 38, 39, 41, 48};
  brennick::SettingsRecord record;
  try {
    record = brennick::ReadSettingsRecord(bytes, {});
  } catch (const brennick::fuzz::Corrupt& corrupt) {
    if (kRecordCodes.count(corrupt.code) == 0) std::abort();
    return;
  }
  try {
    // Compared as bytes: a NaN in a double field is never equal to itself.
    const auto written = brennick::build::WriteSettingsRecord(record);
    if (brennick::build::WriteSettingsRecord(brennick::ReadSettingsRecord(written, {})) != written) std::abort();
  } catch (...) {
    std::abort();  // what the program accepts, the builder must be able to write back
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static ThrowingFatal handler;
  brennick::SetFatalHandler(&handler);
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  if ((data[0] & 1) == 0) {
    Header(bytes);
  } else {
    Record(bytes);
  }
  return 0;
}
