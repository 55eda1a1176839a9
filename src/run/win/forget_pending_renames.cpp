#include "run/win/forget_pending_renames.h"

#include <shellapi.h>

#include <vector>

#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/x86_view.h"
#include "run/pending_renames.h"
#include "run/win/install_log.h"

namespace brennick::win {

namespace {

constexpr const char* kSessionManagerKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingValue = "PendingFileRenameOperations";

std::vector<std::string> ReadMultiString(HKEY key, const char* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_MULTI_SZ) return {};
  std::vector<char> data(size + 2, '\0');
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return {};
  }
  // Every string ends with a NUL and the list with one more. Empty strings
  // are part of the list (the empty destination of a deletion), so the list
  // is split over all the stored bytes, not up to the first empty string.
  std::size_t end = size;
  if (end >= 2 && data[end - 1] == '\0' && data[end - 2] == '\0') --end;
  std::vector<std::string> list;
  std::size_t start = 0;
  for (std::size_t i = 0; i < end; ++i) {
    if (data[i] != '\0') continue;
    list.emplace_back(data.data() + start, i - start);
    start = i + 1;
  }
  if (start < end) list.emplace_back(data.data() + start, end - start);
  return list;
}

void WriteMultiString(HKEY key, const char* name, const std::vector<std::string>& list) {
  std::string data;
  for (const std::string& item : list) {
    data += item;
    data += '\0';
  }
  data += '\0';
  ::RegSetValueExA(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
}

// Into the recycle bin, without any window: the file was only the new copy
// waiting to replace one that is gone now.
void RecycleFile(const std::string& path) {
  std::wstring from = WidePath(path);
  from.push_back(L'\0');  // the list of names ends with an empty one
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ::SHFileOperationW(&operation);
}

}  // namespace

void ForgetPendingRenames(Program& program, const std::set<std::string>& deleted, bool withLog) {
  const OpenedKey key = OpenKey(HKEY_LOCAL_MACHINE, kSessionManagerKey, KEY_READ | KEY_WRITE);
  if (!key.ok()) return;
  std::vector<std::string> list = ReadMultiString(key.get(), kPendingValue);
  if (list.empty()) return;
  const PendingRenameCleanup cleanup = ForgetPendingRenamesIn(list, deleted, withLog);
  if (withLog) LogText(program, cleanup.log);
  for (const std::string& source : cleanup.sourcesToDelete) RecycleFile(source);
  if (cleanup.changed) WriteMultiString(key.get(), kPendingValue, list);
}

}  // namespace brennick::win
