// brennick-damage: a test tool that writes a copy of a built setup program
// with one named part of its package damaged, the rest kept consistent (so
// that the program meets exactly that damage first).
//
//   brennick-damage <in.exe> <out.exe> <what> [value] [width]
//
//   magic | version <text> | settings-size <n> | file-size <n>
//                                   header fields, patched in place
//   setting <Name> <value> <width>  a settings field (by name, little-endian
//                                   number of 1, 2 or 4 bytes), the block
//                                   re-packed with a matching checksum
//   settings-checksum               the settings changed behind the checksum
//   archive-byte                    a byte of the stored archive flipped
//   chunk-size <n>                  the first chunk's size field, the archive
//                                   checksum made to match
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "builder/encode/packed_encoder.h"
#include "builder/encode/settings_block_encoder.h"
#include "builder/package/package_writer.h"
#include "builder/package/settings_writer.h"
#include "package/package_checksum.h"
#include "package/package_header.h"
#include "package/package_layout.h"
#include "package/pe_layout.h"
#include "package/scramble.h"
#include "package/settings_reader.h"
#include "package/settings_unpack.h"
#include "package/uninstaller_image.h"

using namespace brennick;

namespace {

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "brennick-damage: %s\n", why.c_str());
  std::exit(2);
}

// A little-endian number of `width` bytes (1, 2 or 4) at `at`.
void PutNumber(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int width = 4) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Number(const std::string& text) { return static_cast<std::uint32_t>(std::stoll(text, nullptr, 0)); }

struct Package {
  std::vector<std::uint8_t> program;  // the setup program without its package
  PackageParts parts;
  std::vector<std::uint8_t> section;
};

Package Open(const std::vector<std::uint8_t>& exe) {
  const SectionEntry setup = LocateSetupSection(exe);
  const PeLayout layout = ReadPeLayout(exe);
  Package p;
  p.section.assign(exe.begin() + setup.fileOffset, exe.begin() + setup.fileOffset + setup.rawSize);
  p.parts = ReadPackageHeader(p.section);
  const std::vector<std::uint8_t> stub(exe.begin(), exe.begin() + setup.fileOffset);
  const std::span<const std::uint8_t> trailing(exe.data() + setup.fileOffset + setup.rawSize,
                                               exe.size() - setup.fileOffset - setup.rawSize);
  p.program = BuildUninstallerImage(stub, layout, setup, trailing);
  return p;
}

std::span<const std::uint8_t> Archive(const Package& p) {
  return std::span<const std::uint8_t>(p.section).subspan(p.parts.archiveStart,
                                                          static_cast<std::size_t>(p.parts.header.ArchiveSize));
}

// The package again with a new settings block (and header fields to match).
std::vector<std::uint8_t> Rebuild(const Package& p, const std::vector<std::uint8_t>& block, std::uint32_t key) {
  PackageHeader h = p.parts.header;
  const auto archive = Archive(p);
  h.SettingsSize = static_cast<std::int32_t>(block.size());
  h.SettingsChecksum = key;
  std::vector<std::uint8_t> section = build::WritePackageHeader(h);
  h.ArchiveEnd = static_cast<std::int32_t>(section.size() + block.size() + archive.size());
  section = build::WritePackageHeader(h);
  section.insert(section.end(), block.begin(), block.end());
  section.insert(section.end(), archive.begin(), archive.end());
  return build::PlacePackage(p.program, std::move(section));
}

std::vector<std::uint8_t> Damage(const std::vector<std::uint8_t>& exe, const std::vector<std::string>& args) {
  const std::string& what = args.at(0);
  const SectionEntry setup = LocateSetupSection(exe);
  std::vector<std::uint8_t> out = exe;
  const std::size_t base = setup.fileOffset;
  // Where the header's fields lie, as the builder's walk of the header puts them.
  const auto field = [&](const char* name) {
    return base + build::WritePackageHeaderWithOffsets(Open(exe).parts.header).offsets.at(name);
  };
  if (what == "magic") {
    out[base] ^= 0xFF;
  } else if (what == "version") {
    const std::string& text = args.at(1);
    if (text.size() != package::kPackageVersion.size()) Fail("the version must keep its length");
    std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(base + 4));
  } else if (what == "settings-size") {
    PutNumber(out, field("SettingsSize"), Number(args.at(1)));
  } else if (what == "file-size") {
    PutNumber(out, field("FileDataSizes"), Number(args.at(1)));
  } else if (what == "archive-byte") {
    const Package p = Open(exe);
    out[base + p.parts.archiveStart + static_cast<std::size_t>(p.parts.header.ArchiveSize) / 2] ^= 0x5A;
  } else if (what == "chunk-size") {
    const Package p = Open(exe);
    std::vector<std::uint8_t> archive(Archive(p).begin(), Archive(p).end());
    PutNumber(archive, 0, Number(args.at(1)));
    std::copy(archive.begin(), archive.end(), out.begin() + static_cast<std::ptrdiff_t>(base + p.parts.archiveStart));
    PutNumber(out, field("ArchiveChecksum"), PackageChecksum(archive));
  } else if (what == "setting" || what == "settings-checksum") {
    const Package p = Open(exe);
    const std::vector<std::uint8_t> decoded = DecodeSettingsBlock(p.parts.settingsBlock, p.parts.header.SettingsChecksum);
    build::WrittenSettings written = build::WriteSettingsRecordWithOffsets(ReadSettingsRecord(decoded, {}));
    if (written.bytes != decoded) Fail("the settings record does not read back to its bytes");
    if (what == "setting") {
      const auto field = written.offsets.find(args.at(1));
      if (field == written.offsets.end()) Fail("no settings field " + args.at(1));
      PutNumber(written.bytes, field->second, Number(args.at(2)), static_cast<int>(Number(args.at(3))));
      const build::StoredSettings block = build::EncodeSettingsBlock(written.bytes);
      return Rebuild(p, block.bytes, block.settingsChecksum);
    }
    // Repack changed content under the old key: it unpacks, but its checksum differs.
    written.bytes[written.offsets.at("TaskbarText")] ^= 0x20;
    std::vector<std::uint8_t> block = build::EncodePackedBlock(written.bytes, build::kDefaultLevel);
    Unscramble(block, p.parts.header.SettingsChecksum);
    return Rebuild(p, block, p.parts.header.SettingsChecksum);
  } else {
    Fail("unknown damage: " + what);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) Fail("usage: brennick-damage <in.exe> <out.exe> <what> [value] [width]");
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> exe((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (exe.empty()) Fail(std::string("cannot read ") + argv[1]);
  const std::vector<std::uint8_t> damaged = Damage(exe, std::vector<std::string>(argv + 3, argv + argc));
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(damaged.data()), static_cast<std::streamsize>(damaged.size()));
  return out ? 0 : 2;
}
