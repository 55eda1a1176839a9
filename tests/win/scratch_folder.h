#pragma once

// A folder of one test's own under the temporary folder, removed with the
// files in it at the end. Its name is longer than 8.3, so its short form
// differs from it.

#include <string>

#include "foundation/win/win.h"

namespace brennick::testing {

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "brennick " + name + " " + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAA found;
    const HANDLE find = ::FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string file = path_ + "\\" + found.cFileName;
        ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(file.c_str());
      } while (::FindNextFileA(find, &found));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }

  // Writes a file in the folder and gives its full path.
  std::string Write(const std::string& name, const std::string& content) const {
    const std::string file = path_ + "\\" + name;
    const HANDLE handle =
        ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(handle);
    return file;
  }

  // The whole content of a file; empty when it cannot be read.
  static std::string Read(const std::string& file) {
    const HANDLE handle = ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    std::string content(::GetFileSize(handle, nullptr), '\0');
    DWORD count = 0;
    ::ReadFile(handle, content.data(), static_cast<DWORD>(content.size()), &count, nullptr);
    ::CloseHandle(handle);
    content.resize(count);
    return content;
  }

 private:
  std::string path_;
};

}  // namespace brennick::testing
