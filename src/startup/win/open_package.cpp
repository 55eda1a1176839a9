#include "startup/win/open_package.h"

#include <algorithm>

#include "foundation/fatal.h"
#include "foundation/win/path_text_win.h"
#include "startup/corrupt_installer.h"
#include "startup/own_file_name.h"
#include "startup/pe_layout.h"

namespace brennick::win {

namespace {

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

}  // namespace

void OpenPackage(Program& program) {
  OpenOwnFile(program);
  program.state.OwnFileSize = program.ownFile.Size();

  const std::size_t headSize =
      static_cast<std::size_t>(std::clamp<std::int64_t>(program.state.OwnFileSize, 0, kPeHeadBytes));
  const std::vector<std::uint8_t> head = program.ownFile.ReadAt(0, headSize);
  const SectionEntry setup = LocateSetupSection(head);
  program.state.SetupFileOffset = setup.fileOffset;
  program.state.SetupRawSize = setup.rawSize;
  if (!program.ownFile.Seek(setup.fileOffset)) CorruptInstaller(corrupt::kSetupSeekFailed);

  // Reading the package itself (header, settings, archive) is not part of
  // this build yet; say so plainly instead of pretending to install.
  FatalError("%s found a setup package in\r\n%s\r\nbut this build cannot read setup packages yet.",
             program.state.FamilyName.c_str(), program.ownFilePath.c_str());
}

}  // namespace brennick::win
