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
#include "package/package_checksum.h"
#include "package/package_header.h"
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

JsonValue DescribeHeader(const PackageParts& parts) {
  const PackageHeader& h = parts.header;
  JsonValue header = JsonValue::Object();
  header.Set("PackageMagic", Hex(h.Magic));
  header.Set("PackageVersion", JsonValue::String(h.Version));
  header.Set("SettingsSize", JsonValue::Number(std::int64_t{h.SettingsSize}));
  header.Set("SettingsChecksum", Hex(h.SettingsChecksum));
  header.Set("StubChecksum", Hex(h.StubChecksum));
  header.Set("ArchiveStart", JsonValue::Number(static_cast<std::uint64_t>(parts.archiveStart)));
  header.Set("ArchiveEnd", JsonValue::Number(std::int64_t{h.ArchiveEnd}));
  header.Set("FileCount", JsonValue::Number(std::int64_t{h.FileCount}));
  header.Set("ArchiveSize", JsonValue::Number(std::int64_t{h.ArchiveSize}));
  header.Set("ArchiveChecksum", Hex(h.ArchiveChecksum));
  return header;
}

JsonValue DescribeFile(const FileItem& item) {
  const FileRecord& r = item.record;
  JsonValue file = JsonValue::Object();
  file.Set("Name", JsonValue::String(r.Name));
  file.Set("FileKind", JsonValue::Number(std::int64_t{r.FileKind}));
  file.Set("FileFlags", Hex(static_cast<std::uint32_t>(r.FileFlags)));
  file.Set("Attributes", JsonValue::Number(std::int64_t{r.Attributes}));
  JsonValue stamp = JsonValue::Array();
  for (const std::int32_t part : r.Stamp) stamp.Add(JsonValue::Number(std::int64_t{part}));
  file.Set("FileStamp", std::move(stamp));
  file.Set("Label", JsonValue::String(r.Label));
  if (HasShortcutIcon(r)) file.Set("ShortcutIcon", JsonValue::String(r.ShortcutIcon));
  file.Set("Arguments", JsonValue::String(r.Arguments));
  file.Set("TargetOverride", JsonValue::String(r.TargetOverride));
  file.Set("WorkingDir", JsonValue::String(r.WorkingDir));
  if (r.FileKind == file_kind::kMsiPackage) file.Set("MsiUiLevel", JsonValue::Number(std::int64_t{r.MsiUiLevel}));
  file.Set("Size", JsonValue::Number(static_cast<std::uint64_t>(item.data.size())));
  file.Set("Checksum", Hex(PackageChecksum(item.data)));
  return file;
}

// Which program the package is in, by its optional header's magic; the
// walk to the package section has read the PE offset already.
std::string ProgramKind(std::span<const std::uint8_t> exe) {
  const PeLayout layout = ReadPeLayout(exe);
  const auto magic = ReadU16(exe, layout.peOffset + 24u);
  const std::optional<PeKind> kind = magic ? PeKindOfMagic(*magic) : std::nullopt;
  return kind ? PeKindName(*kind) : "unknown";
}

}  // namespace

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
  report.Set("header", DescribeHeader(parts));
  report.Set("settings", DescribeSettings(settings));

  JsonValue files = JsonValue::Array();
  const auto archive = section.subspan(parts.archiveStart,
                                       std::min<std::size_t>(section.size() - parts.archiveStart,
                                                             static_cast<std::size_t>(std::max(0, parts.header.ArchiveSize))));
  std::size_t index = 0;
  ReadArchiveRecords(archive, {parts.header.ArchiveSize, parts.header.ArchiveChecksum, parts.header.FileCount,
                               settings.ProductFlags},
                     [&](std::span<const std::uint8_t> body) {
                       files.Add(DescribeFile(ReadFileItem(body, parts.header.FileDataSizes.at(index++))));
                     });
  report.Set("files", std::move(files));
  std::fputs(WriteJson(report).c_str(), stdout);
  return 0;
}

}  // namespace brennick::build
