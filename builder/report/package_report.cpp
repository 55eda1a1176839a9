#include "builder/report/package_report.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

#include "builder/basics/build_error.h"
#include "builder/pe/pe_headers.h"
#include "builder/report/describe.h"
#include "foundation/byte_view.h"
#include "foundation/fatal.h"
#include "package/archive_reader.h"
#include "package/corrupt_installer.h"
#include "package/file_record.h"
#include "package/file_record_fields.h"
#include "package/package_checksum.h"
#include "package/package_header.h"
#include "package/package_header_fields.h"
#include "package/pe_layout.h"
#include "package/settings_reader.h"
#include "package/settings_unpack.h"

namespace brennick::build {

namespace {

// Damage found while reading ends as the program would end: with its
// message, which names the corrupt-installer code.
class ThrowingFatalHandler final : public FatalHandler {
 public:
  [[noreturn]] void Fatal(const std::string& message) override { throw BuildError(message); }
};

JsonValue Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return JsonValue::String(text);
}

// The part walker (package/package_header_fields.h) that describes the header
// or a file item as a JSON object, field by field under the field names:
// u32 numbers and flag words in hexadecimal, texts as they are stored, the
// data by its size, lists as arrays. Bounds are not shown: what is described
// was read, and the reader checked them.
class PartDescriber {
 public:
  JsonValue object = JsonValue::Object();

  void U32(std::uint32_t& v, const char* name) { Put(name, Hex(v)); }
  void I32(std::int32_t& v, const char* name) { Put(name, JsonValue::Number(std::int64_t{v})); }
  void Flags(std::int32_t& v, const char* name) { Put(name, Hex(static_cast<std::uint32_t>(v))); }
  void Str(std::string& text, const char* name) { Put(name, JsonValue::String(text)); }
  void Data(std::span<const std::uint8_t>& data, std::size_t, const char* name) {
    Put(name, JsonValue::Number(static_cast<std::uint64_t>(data.size())));
  }
  void Limit(bool, int, const char*) {}
  void VersionLimit(bool, const std::string&) {}
  void Entries(std::vector<std::int32_t>&, std::int32_t, const char*) {}
  void BeginList(const char* name) { list_ = &object.Set(name, JsonValue::Array()); }
  void Item() {}
  void EndList() { list_ = nullptr; }

 private:
  void Put(const char* name, JsonValue value) {
    if (list_ != nullptr) {
      list_->Add(std::move(value));
    } else {
      object.Set(name, std::move(value));
    }
  }

  JsonValue* list_ = nullptr;
};

// Which program the package is in, by its optional header's magic; the
// walk to the package section has read the PE offset already.
std::string ProgramKind(std::span<const std::uint8_t> exe) {
  const PeLayout layout = ReadPeLayout(exe);
  const auto magic = ReadU16(exe, layout.peOffset + 24u);
  const std::optional<PeKind> kind = magic ? PeKindOfMagic(*magic) : std::nullopt;
  return kind ? PeKindName(*kind) : "unknown";
}

}  // namespace

// ArchiveStart: where the settings block ends.
JsonValue DescribePackageHeader(const PackageParts& parts) {
  PackageHeader h = parts.header;  // the walk takes the header by reference
  PartDescriber describer;
  VisitPackageHeader(describer, h);
  const JsonValue& fields = describer.object;
  JsonValue header = JsonValue::Object();
  for (std::size_t i = 0; i < fields.keys().size(); ++i) {
    const std::string& name = fields.keys()[i];
    if (name == "FileDataSizes") continue;
    header.Set(name, fields.items()[i]);
    if (name == "StubChecksum") {
      header.Set("ArchiveStart", JsonValue::Number(static_cast<std::uint64_t>(parts.archiveStart)));
    }
  }
  return header;
}

JsonValue DescribeFileItem(const FileItem& item) {
  FileItem copy = item;  // the walk takes the item by reference
  PartDescriber describer;
  VisitFileItem(describer, copy, static_cast<std::int64_t>(item.data.size()));
  return std::move(describer.object);
}

int RunInspect(const std::filesystem::path& setup) {
  std::ifstream in(setup, std::ios::binary);
  if (!in) throw BuildError("cannot read " + setup.string());
  const std::vector<std::uint8_t> exe((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  ThrowingFatalHandler handler;
  FatalHandler* previous = SetFatalHandler(&handler);
  struct Restore {
    FatalHandler* previous;
    ~Restore() { SetFatalHandler(previous); }
  } restore{previous};

  const SectionEntry setupSection = LocateSetupSection(exe);
  if (std::uint64_t{setupSection.fileOffset} + setupSection.rawSize > exe.size()) {
    throw BuildError("the package section runs past the end of the file");
  }
  const std::span<const std::uint8_t> section(exe.data() + setupSection.fileOffset, setupSection.rawSize);
  const PackageParts parts = ReadPackageHeader(section);
  const std::vector<std::uint8_t> block = DecodeSettingsBlock(parts.settingsBlock, parts.header.SettingsChecksum);
  // Checked where the program checks it: after the record's first fields.
  const SettingsRecord settings = ReadSettingsRecord(block, [&] {
    if (PackageChecksum(block) != parts.header.SettingsChecksum) CorruptInstaller(corrupt::kSettingsChecksum);
  });

  JsonValue report = JsonValue::Object();
  report.Set("program", JsonValue::String(ProgramKind(exe)));
  report.Set("header", DescribePackageHeader(parts));
  report.Set("settings", DescribeSettings(settings));

  JsonValue files = JsonValue::Array();
  const auto archive = section.subspan(parts.archiveStart,
                                       std::min<std::size_t>(section.size() - parts.archiveStart,
                                                             static_cast<std::size_t>(std::max(0, parts.header.ArchiveSize))));
  std::size_t index = 0;
  ReadArchiveRecords(archive, {parts.header.ArchiveSize, parts.header.ArchiveChecksum, parts.header.FileCount,
                               settings.ProductFlags},
                     [&](std::span<const std::uint8_t> body) {
                       files.Add(DescribeFileItem(ReadFileItem(body, parts.header.FileDataSizes.at(index++))));
                     });
  report.Set("files", std::move(files));
  std::fputs(WriteJson(report).c_str(), stdout);
  return 0;
}

}  // namespace brennick::build
