#include "foundation/win/hidden_batch.h"

#include "foundation/win/win.h"

#include <shellapi.h>

#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/short_path.h"
#include "foundation/win/system_programs.h"

namespace brennick::win {

std::string TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return "c:\\temp\\";
  std::string path = PathFromWide(folder);
  if (!path.ends_with('\\')) path += '\\';
  return path;
}

namespace {

// "C:\\..." or "\\\\server\\...".
bool IsFullPath(std::wstring_view path) {
  return (path.size() > 2 && path[1] == L':' && path[2] == L'\\') || path.starts_with(L"\\\\");
}

}  // namespace

std::wstring CommandInterpreter() {
  const DWORD needed = ::GetEnvironmentVariableW(L"ComSpec", nullptr, 0);
  if (needed > 1) {
    std::wstring path(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"ComSpec", path.data(), needed);
    // Only a full path: a bare name would be searched for, in folders
    // other users may be able to write.
    if (length > 0 && length < needed && IsFullPath(std::wstring_view(path.data(), length))) {
      path.resize(length);
      return path;
    }
  }
  return SystemProgram(L"cmd.exe");
}

std::string AnsiPathForBatch(const std::string& path) { return IsUtf8Path(path) ? ShortPathOf(path) : path; }

bool StartHiddenBatch(const std::string& batchPath) {
  const std::wstring shortBatch = WidePath(ShortPathOf(batchPath));
  // Quoted: a short path may still hold blanks (a volume without short names).
  std::wstring command = L"\"" + CommandInterpreter() + L"\" /c \"" + shortBatch + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                       &process)) {
    const ScopedKernelHandle thread(process.hThread);
    const ScopedKernelHandle child(process.hProcess);
    return true;
  }
  return reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", shortBatch.c_str(), nullptr, nullptr, SW_HIDE)) >
         32;
}

}  // namespace brennick::win
