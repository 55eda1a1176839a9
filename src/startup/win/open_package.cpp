#include "startup/win/open_package.h"

#include <algorithm>

#include "foundation/fatal.h"
#include "foundation/win/path_text_win.h"
#include "package/corrupt_installer.h"
#include "package/message_lookup.h"
#include "package/pe_layout.h"
#include "package/uninstaller_image.h"
#include "startup/own_file_name.h"
#include "startup/package_reader.h"
#include "startup/win/machine_settings.h"

namespace brennick::win {

namespace {

// ProductFlags2 bit 5: the uninstaller is this program without its package.

void OpenOwnFile(Program& program) {
  program.ownFilePath = OwnFileNameFromCommandLine(::GetCommandLineA());
  if (program.ownFilePath.empty()) program.ownFilePath = ModuleFileName();
  if (program.ownFile.Open(program.ownFilePath, FileAccess::Read).ok()) return;

  // The command line may name the file in a way that cannot be opened (a
  // relative name after a change of folder, a name that the code page cannot
  // spell): the module file name is the second chance.
  program.ownFilePath = ModuleFileName();
  const WinResult<FileResult> opened = program.ownFile.Open(program.ownFilePath, FileAccess::Read);
  if (!opened.ok()) {
    const std::string_view message = FileResultMessage(opened.outcome);
    FatalError("Error code 1: The installer could not open itself.\r\nFilename: %s\r\nError #%d: %.*s",
               program.ownFilePath.c_str(), static_cast<int>(opened.outcome), static_cast<int>(message.size()),
               message.data());
  }
}

// The package section as Windows mapped it with the program. The section
// entry comes from the file the command line names, which need not be the
// file that runs: the section must lie inside the mapped image, or it is no
// package of this program.
std::span<const std::uint8_t> MappedSection(const Program& program, const SectionEntry& setup) {
  const auto* base = reinterpret_cast<const std::uint8_t*>(program.instance);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const std::uint64_t end = std::uint64_t{setup.virtualAddress} + setup.rawSize;
  if (end > nt->OptionalHeader.SizeOfImage) CorruptInstaller(corrupt::kPackageTruncated);
  return {base + setup.virtualAddress, setup.rawSize};
}

}  // namespace

void OpenPackage(Program& program, const std::function<void()>& atBackgroundPoint) {
  OpenOwnFile(program);
  InstallerState& state = program.state;
  state.OwnFileSize = program.ownFile.Size();

  const std::size_t headSize = static_cast<std::size_t>(std::clamp<std::int64_t>(state.OwnFileSize, 0, kPeHeadBytes));
  const std::vector<std::uint8_t> head = program.ownFile.ReadAt(0, headSize).bytes;
  const SectionEntry setup = LocateSetupSection(head);
  const PeLayout layout = ReadPeLayout(head);
  state.SetupFileOffset = setup.fileOffset;
  state.SetupRawSize = setup.rawSize;
  if (!program.ownFile.Seek(setup.fileOffset)) CorruptInstaller(corrupt::kSetupSeekFailed);

  MachineSettings machine;
  program.packageSection = MappedSection(program, setup);
  const PackageHeader& header = program.packageHeader =
      ReadPackage(program.packageSection, state, machine, atBackgroundPoint);
  SetMessageLookup([&state](int number) { return Message(state, MessageId{number}); });

  // The stub: the file's bytes in front of the package.
  std::vector<std::uint8_t> stub = program.ownFile.ReadAt(0, setup.fileOffset).bytes;
  if (stub.size() != setup.fileOffset) CorruptInstaller(corrupt::kStubRead);
  CheckStub(stub, layout, header, state.Settings.ProductFlags);

  if (!HasFlag(state.Settings.ProductFlags2, flags::kStrippedUninstaller)) {
    state.UninstallerImageSize = state.OwnFileSize;  // the uninstaller is a plain copy of this file
    return;
  }
  const std::int64_t trailingSize =
      state.OwnFileSize - static_cast<std::int64_t>(setup.fileOffset) - static_cast<std::int64_t>(setup.rawSize);
  std::vector<std::uint8_t> trailing;
  if (trailingSize > 0) {
    trailing =
        program.ownFile.ReadAt(std::uint64_t{setup.fileOffset} + setup.rawSize, static_cast<std::size_t>(trailingSize))
            .bytes;
    if (trailing.size() != static_cast<std::size_t>(trailingSize)) CorruptInstaller(corrupt::kTrailingRead);
  }
  state.UninstallerImage = BuildUninstallerImage(std::move(stub), layout, setup, trailing);
  state.UninstallerImageSize = static_cast<std::int64_t>(state.UninstallerImage.size());
}

}  // namespace brennick::win

namespace brennick::win {

ArchiveInfo ArchiveInfoOf(const Program& program) {
  const PackageHeader& header = program.packageHeader;
  return {header.ArchiveSize, header.ArchiveChecksum, header.FileCount, program.state.Settings.ProductFlags};
}

StoredArchive ReadStoredArchive(Program& program) {
  const InstallerState& state = program.state;
  const PackageHeader& header = program.packageHeader;
  if (state.Settings.ArchiveFromFile == 0) {
    const std::span<const std::uint8_t> section = program.packageSection;
    if (header.ArchiveEnd > static_cast<std::int64_t>(section.size())) CorruptInstaller(corrupt::kPackageTruncated);
    const std::int64_t length = header.ArchiveEnd - static_cast<std::int64_t>(state.ArchiveStart);
    if (length != header.ArchiveSize) CorruptInstaller(corrupt::kArchiveSize);
    return {{}, section.subspan(state.ArchiveStart, static_cast<std::size_t>(length))};
  }
  // The archive runs from its start in the package to the end of the file.
  const std::int64_t position = std::int64_t{state.SetupFileOffset} + static_cast<std::int64_t>(state.ArchiveStart);
  const std::int64_t length = state.OwnFileSize - position;
  if (length != header.ArchiveSize) CorruptInstaller(corrupt::kArchiveSize);
  StoredArchive stored;
  stored.read = program.ownFile.ReadAt(static_cast<std::uint64_t>(position), static_cast<std::size_t>(length)).bytes;
  stored.bytes = stored.read;
  if (static_cast<std::int64_t>(stored.read.size()) != length) {
    FatalError("Error code 2: failed to read archive data\r\nsize=%d pos=%d", static_cast<int>(length),
               static_cast<int>(position));
  }
  return stored;
}

}  // namespace brennick::win
