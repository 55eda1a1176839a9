#include "startup/win/windows_facts.h"

#include <shlobj.h>

#include "foundation/win/dynamic_function.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/x86_view.h"

namespace brennick::win {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr DWORD kEnvironmentBuffer = 31999;  // characters, as the expansion has always had

std::string StringValue(HKEY root, const std::string& key, const std::string& name) {
  return ReadRegistryString(root, key, name).value_or(std::string());
}

template <class Call>
std::string FolderFrom(Call call) {
  char path[MAX_PATH + 1] = {};
  const UINT length = call(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

}  // namespace

std::string WindowsFacts::ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, X86ShellFolder(csidl), nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::string WindowsFacts::ShellFolderValue(bool allUsers, std::string_view name) {
  return StringValue(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFolders, std::string(name));
}

std::string WindowsFacts::MachineValue(std::string_view key, std::string_view name) {
  return StringValue(HKEY_LOCAL_MACHINE, std::string(key), std::string(name));
}

std::string WindowsFacts::Environment(std::string_view name) {
  const std::string variable(name);
  const DWORD needed = ::GetEnvironmentVariableA(variable.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::string value(needed, '\0');
  const DWORD length = ::GetEnvironmentVariableA(variable.c_str(), value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}

bool WindowsFacts::ExpandEnvironment(std::string_view text, std::string& expanded) {
  std::string buffer(kEnvironmentBuffer + 1, '\0');
  const DWORD length = ::ExpandEnvironmentStringsA(std::string(text).c_str(), buffer.data(), kEnvironmentBuffer);
  if (length == 0 || length > kEnvironmentBuffer) return false;
  buffer.resize(length - 1);
  expanded = std::move(buffer);
  return true;
}

std::string WindowsFacts::WindowsFolder() {
  return FolderFrom([](char* path, UINT size) { return ::GetWindowsDirectoryA(path, size); });
}

std::string WindowsFacts::SystemFolder() {
  return FolderFrom([](char* path, UINT size) { return ::GetSystemDirectoryA(path, size); });
}

std::string WindowsFacts::TempFolder() {
  return FolderFrom([](char* path, UINT size) { return ::GetTempPathA(size, path); });
}

bool WindowsFacts::Is64BitWindows() {
  // The program for 64-bit Windows runs on nothing else.
  if constexpr (kEmulatesX86View) return true;
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64 = LookUpFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

bool WindowsFacts::IsNtBased() { return (::GetVersion() & 0x80000000u) == 0; }

std::string WindowsFacts::InstallerPath() { return ModuleFileName(); }

}  // namespace brennick::win
