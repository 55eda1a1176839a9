#include "foundation/win/no_links.h"

#include <optional>

#include "foundation/win/dynamic_function.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"

namespace brennick::win {

namespace {

using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using SetInformationFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
constexpr int kFileDispositionInfo = 4;  // FILE_INFO_BY_HANDLE_CLASS
struct DispositionInfo {
  BOOLEAN deleteFile;
};

FinalPathFn FinalPathFunction() {
  static const FinalPathFn function = LookUpFunction<FinalPathFn>(L"kernel32.dll", "GetFinalPathNameByHandleW");
  return function;
}

// "\\?\C:\a" -> "C:\a", "\\?\UNC\server\share" -> "\\server\share".
std::wstring WithoutLongPrefix(std::wstring path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\" + path.substr(7);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

// The path as the system spells it out, without resolving links: full, long
// names, no trailing backslash.
std::wstring SpelledOut(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  full.resize(length < full.size() ? length : 0);
  std::wstring longForm(full.size() + MAX_PATH, L'\0');
  const DWORD longLength = ::GetLongPathNameW(full.c_str(), longForm.data(), static_cast<DWORD>(longForm.size()));
  if (longLength > 0 && longLength < longForm.size()) full.assign(longForm.data(), longLength);
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return WithoutLongPrefix(full);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

// Whether the open `handle` is the object `path` spells out; none when the
// system cannot tell where a handle leads.
std::optional<bool> HandleIsPath(HANDLE handle, const std::wstring& path) {
  const FinalPathFn finalPath = FinalPathFunction();
  if (finalPath == nullptr) return std::nullopt;
  std::wstring final(MAX_PATH, L'\0');
  DWORD length = finalPath(handle, final.data(), static_cast<DWORD>(final.size()), 0);
  if (length >= final.size()) {
    final.resize(length + 1);
    length = finalPath(handle, final.data(), static_cast<DWORD>(final.size()), 0);
  }
  if (length == 0 || length >= final.size()) return false;
  final.resize(length);
  return SameText(WithoutLongPrefix(final), SpelledOut(path));
}

// Before Windows Vista: no part of the path is a reparse point.
bool NoReparsePointOnTheWay(const std::wstring& path) {
  std::wstring part = SpelledOut(path);
  while (part.size() > 3) {
    const DWORD attributes = ::GetFileAttributesW(part.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
    const std::size_t slash = part.rfind(L'\\');
    if (slash == std::wstring::npos) break;
    part.resize(slash);
  }
  return true;
}

void ClearReadOnly(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
}

}  // namespace

bool LeadsToItself(const std::wstring& path) {
  // Opened through any link, the handle is the link's target.
  const ScopedKernelHandle object(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!object.valid()) return false;
  const std::optional<bool> same = HandleIsPath(object.get(), path);
  return same ? *same : NoReparsePointOnTheWay(path);
}

std::uint32_t DeleteFileWithoutLinks(const std::string& path) {
  const std::wstring wide = WidePath(path);
  static const auto setInformation = LookUpFunction<SetInformationFn>(L"kernel32.dll", "SetFileInformationByHandle");
  if (FinalPathFunction() == nullptr || setInformation == nullptr) {
    if (!NoReparsePointOnTheWay(wide)) return ERROR_CANT_RESOLVE_FILENAME;
    ClearReadOnly(wide);
    return ::DeleteFileW(wide.c_str()) ? 0 : ::GetLastError();
  }
  // The link itself, where the file is one, is what gets deleted.
  const ScopedKernelHandle file(::CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return ::GetLastError();
  if (!HandleIsPath(file.get(), wide).value_or(false)) return ERROR_CANT_RESOLVE_FILENAME;
  ClearReadOnly(wide);
  DispositionInfo disposition{TRUE};
  if (!setInformation(file.get(), kFileDispositionInfo, &disposition, sizeof disposition)) return ::GetLastError();
  return 0;
}

}  // namespace brennick::win
