#include "foundation/win/x86_view.h"

#include <shlobj.h>

#include <array>
#include <cwchar>

#include "foundation/win/dynamic_function.h"

namespace brennick::win {

namespace {

// Off where this thread turned the redirector off (a 64-bit product).
thread_local bool redirectionOff = false;

struct SystemFolders {
  std::wstring system;     // the real system folder ("System32")
  std::wstring wow64;      // the 32-bit one; empty where the system has no 32-bit subsystem
  std::wstring sysnative;  // the name under which a 32-bit process reaches the real one
  std::wstring regedit;    // the Windows folder's regedit.exe, which a 32-bit process gets from `wow64`
};

template <class Call>
std::wstring FolderFrom(Call call) {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT length = call(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

const SystemFolders& Folders() {
  static const SystemFolders folders = [] {
    const std::wstring windows = FolderFrom([](wchar_t* path, UINT size) { return ::GetWindowsDirectoryW(path, size); });
    return SystemFolders{FolderFrom([](wchar_t* path, UINT size) { return ::GetSystemDirectoryW(path, size); }),
                         FolderFrom([](wchar_t* path, UINT size) { return ::GetSystemWow64DirectoryW(path, size); }),
                         windows + L"\\Sysnative", windows + L"\\regedit.exe"};
  }();
  return folders;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && ::_wcsnicmp(a.data(), b.data(), a.size()) == 0;
}

// Whether `path` is `folder` or lies below it; what follows the folder's
// name (empty, or starting with a backslash) goes to `rest`.
bool Below(std::wstring_view path, std::wstring_view folder, std::wstring_view& rest) {
  if (folder.empty() || path.size() < folder.size() || !SameText(path.substr(0, folder.size()), folder)) return false;
  rest = path.substr(folder.size());
  return rest.empty() || rest.front() == L'\\';
}

// The parts of the system folder that a 32-bit process sees as they are.
bool LeftAlone(std::wstring_view rest) {
  static constexpr std::array<std::wstring_view, 6> kShared = {L"\\catroot",    L"\\catroot2", L"\\driverstore",
                                                                L"\\drivers\\etc", L"\\logfiles", L"\\spool"};
  for (const std::wstring_view shared : kShared) {
    std::wstring_view below;
    if (Below(rest, shared, below)) return true;
  }
  return false;
}

// The path made absolute, its "." and ".." and forward slashes resolved, as
// the redirector sees it; empty when it cannot be.
std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);
  return full;
}

std::wstring Variable(const wchar_t* name) {
  const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}

}  // namespace

int X86ShellFolder(int csidl) {
  if (!kEmulatesX86View) return csidl;
  const int flags = csidl & CSIDL_FLAG_MASK;
  switch (csidl & ~CSIDL_FLAG_MASK) {
    case CSIDL_PROGRAM_FILES:
      return CSIDL_PROGRAM_FILESX86 | flags;
    case CSIDL_PROGRAM_FILES_COMMON:
      return CSIDL_PROGRAM_FILES_COMMONX86 | flags;
    default:
      return csidl;
  }
}

void EnterX86Environment() {
  if (!kEmulatesX86View) return;
  const std::wstring architecture = Variable(L"PROCESSOR_ARCHITECTURE");
  if (!architecture.empty()) {
    ::SetEnvironmentVariableW(L"PROCESSOR_ARCHITEW6432", architecture.c_str());
    ::SetEnvironmentVariableW(L"PROCESSOR_ARCHITECTURE", L"x86");
  }
  for (const auto& [name, x86Name] : {std::pair{L"ProgramFiles", L"ProgramFiles(x86)"},
                                      std::pair{L"CommonProgramFiles", L"CommonProgramFiles(x86)"}}) {
    const std::wstring value = Variable(x86Name);
    if (!value.empty()) ::SetEnvironmentVariableW(name, value.c_str());
  }
}

std::wstring X86SystemFolder() { return Folders().wow64; }

bool TurnOffFileSystemRedirection() {
  if constexpr (kEmulatesX86View) {
    redirectionOff = true;
    return true;
  } else {
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    const auto disable = LookUpFunction<DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
    PVOID old = nullptr;
    return disable != nullptr && disable(&old);
  }
}

void RestoreFileSystemRedirection() {
  if constexpr (kEmulatesX86View) {
    redirectionOff = false;
  } else {
    using RevertFn = BOOL(WINAPI*)(PVOID);
    // The value saved by the disabling call is null for a thread that had
    // redirection on, which is the only state this program turns it off from.
    if (const auto revert = LookUpFunction<RevertFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection")) revert(nullptr);
  }
}

std::wstring RedirectedPath(std::wstring path) {
  if (!kEmulatesX86View || redirectionOff || path.empty()) return path;
  const SystemFolders& folders = Folders();
  if (folders.wow64.empty()) return path;
  const std::wstring full = FullPath(path);
  std::wstring_view rest;
  if (Below(full, folders.system, rest)) return LeftAlone(rest) ? path : folders.wow64 + std::wstring(rest);
  if (Below(full, folders.sysnative, rest)) return folders.system + std::wstring(rest);
  if (SameText(full, folders.regedit)) return folders.wow64 + L"\\regedit.exe";
  return path;
}

}  // namespace brennick::win
