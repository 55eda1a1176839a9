#include "foundation/win/private_folder.h"

#include "foundation/win/hidden_batch.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

PrivateFolder::PrivateFolder() {
  const std::string temporary = TemporaryFolder();
  for (DWORD attempt = 0; attempt < 100; ++attempt) {
    // A name nobody made before: CreateDirectory fails on anything there.
    const std::string candidate =
        temporary + "brn" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount() + attempt);
    if (::CreateDirectoryW(WidePath(candidate).c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return;
  }
}

PrivateFolder::~PrivateFolder() {
  if (path_.empty()) return;
  WIN32_FIND_DATAW found;
  const ScopedFind search(::FindFirstFileW(WidePath(path_ + "\\*").c_str(), &found));
  if (search.valid()) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW((WidePath(path_) + L"\\" + found.cFileName).c_str());
      }
    } while (::FindNextFileW(search.get(), &found));
  }
  ::RemoveDirectoryW(WidePath(path_).c_str());
}

}  // namespace brennick::win
