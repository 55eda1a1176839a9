#include "foundation/win/file_system.h"

#include "foundation/path_text.h"
#include "foundation/text.h"
#include "foundation/win/no_links.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"

namespace brennick::win {

namespace {

DWORD AttributesOf(const std::string& path) { return ::GetFileAttributesW(WidePath(path).c_str()); }

// The length of the part that names a drive or a share ("C:\\", "\\\\server\\share\\"),
// which is never created.
std::size_t RootLength(std::string_view body) {
  if (body.starts_with("\\\\")) {
    const std::size_t server = body.find('\\', 2);
    if (server == std::string_view::npos) return body.size();
    const std::size_t share = body.find('\\', server + 1);
    return share == std::string_view::npos ? body.size() : share + 1;
  }
  if (body.size() >= 3 && body[1] == ':' && body[2] == '\\') return 3;
  return 0;
}

}  // namespace

bool PathExists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DriveExists(char letter) { return (::GetLogicalDrives() & (1u << (letter - 'A'))) != 0; }

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::uint32_t CreateFolderWithParents(const std::string& folder) {
  const std::size_t prefix = IsUtf8Path(folder) ? 1 : 0;
  const std::size_t root = prefix + RootLength(PathBody(folder));
  // Every folder from the top down: the ones that exist are passed over.
  std::size_t end = root;
  while (end < folder.size()) {
    std::size_t next = folder.find('\\', end);
    if (next == std::string::npos) next = folder.size();
    if (next > end) {
      const std::string part = folder.substr(0, next);
      if (!::CreateDirectoryW(WidePath(part).c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS || !IsFolder(part)) return error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : error;
      }
    }
    end = next + 1;
  }
  return IsFolder(folder) ? 0 : ERROR_PATH_NOT_FOUND;
}

namespace {

bool DeleteTree(const std::wstring& folder) {
  bool complete = true;
  WIN32_FIND_DATAW found;
  {
    const ScopedFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find.valid()) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
          // A link the system does not show as one is left alone.
          if (LeadsToItself(path)) {
            complete &= DeleteTree(path);
          } else {
            complete = false;
          }
          continue;
        }
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
          ::SetFileAttributesW(path.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        }
        // A linked folder is only unlinked, never followed.
        const bool deleted = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                 ? ::RemoveDirectoryW(path.c_str())
                                 : ::DeleteFileW(path.c_str());
        complete &= deleted != FALSE;
      } while (::FindNextFileW(find.get(), &found));
    }
  }
  return ::RemoveDirectoryW(folder.c_str()) && complete;
}

}  // namespace

bool DeleteFolderTree(const std::string& folder, const std::string& windowsFolder) {
  std::string trimmed = folder;
  while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
  std::string windows = windowsFolder;
  while (!windows.empty() && windows.back() == '\\') windows.pop_back();
  if (PathBody(trimmed).size() <= 3 || EqualsNoCase(trimmed, windows)) return false;
  const std::wstring wide = WidePath(trimmed);
  return LeadsToItself(wide) && DeleteTree(wide);
}

}  // namespace brennick::win
