#include "uninstall/win/remove_recorded.h"

#include "foundation/path_text.h"
#include "foundation/text.h"
#include "foundation/win/file_system.h"
#include "foundation/win/no_links.h"
#include "foundation/win/path_text_win.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "uninstall/undo_lists.h"

namespace brennick::win {

namespace {

// The progress line shows a "|" path as the text it stands for.
std::string DisplayPath(const std::string& path) { return IsUtf8Path(path) ? FromWide(WidePathText(path), CP_ACP) : path; }

void DeleteThumbnailCache(const std::string& folder) {
  DeleteFileWithoutLinks(JoinPath(folder, "thumbs.db"));
}

}  // namespace

RecordedRemoval DeleteRecordedFiles(Program& program, InstallUi& ui, const std::vector<RemovalEntry>& entries) {
  InstallerState& state = program.state;
  RecordedRemoval removal;
  const std::size_t count = entries.size();
  for (std::size_t index = 0; index < count; ++index) {
    const RemovalEntry& entry = entries[index];
    if (entry.path.empty()) continue;
    if (entry.kind == kRemoveFolder) {
      removal.folders.push_back(entry.path);
      continue;
    }
    ui.ShowProgressItem(DisplayPath(entry.path), std::nullopt, 0);
    ui.SetProgress(11 + static_cast<int>(81 * index / count));
    if (::GetFileAttributesW(WidePath(entry.path).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    // A path that a link planted in the folder turns into another file's is
    // not deleted, only named as a failure.
    if (DeleteFileWithoutLinks(entry.path) == 0) {
      removal.deleted.insert(LowerAscii(entry.path));
    } else {
      state.FailureText += Message(state, MessageId::kCouldNotDelete) + " " + entry.path + "\r\n";
      RecordRemoval(state.Lists, kRemoveFile, entry.path);
    }
  }
  return removal;
}

void RemoveRecordedFolders(Program& program, InstallUi& ui, const std::vector<std::string>& folders) {
  InstallerState& state = program.state;
  for (const std::string& recorded : FoldersLongestFirst(folders)) {
    std::string folder = recorded;
    ui.ShowProgressItem(DisplayPath(folder), std::nullopt, 0);
    // A drive root has no parent: the walk ends there at the latest.
    while (!folder.empty() && !EqualsNoCase(folder, state.InstallDir)) {
      DeleteThumbnailCache(folder);
      if (!::RemoveDirectoryW(WidePath(folder).c_str())) break;
      if (folder.back() == '\\') folder.pop_back();
      const std::size_t slash = folder.rfind('\\');
      if (slash == std::string::npos) break;
      folder.resize(slash);
    }
    // A folder that is still there (a file in it could not be deleted) stays
    // in the list, so that the run that retries the file removes it too.
    if (IsFolder(recorded)) RecordRemoval(state.Lists, kRemoveFolder, recorded);
  }
  DeleteThumbnailCache(state.InstallDir);
  DeleteThumbnailCache(state.UninstallDataDir);
}

}  // namespace brennick::win
