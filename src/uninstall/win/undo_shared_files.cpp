#include "foundation/win/win.h"

#include <oleauto.h>

#include "foundation/message_format.h"
#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/run_and_wait.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/system_programs.h"
#include "foundation/win/x86_view.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "startup/win/machine_settings.h"
#include "uninstall/undo_lists.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

namespace {

constexpr const char* kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The count of a shared file, named by its path: a "|" path through the
// wide registry calls, others through the 8-bit ones.
std::optional<DWORD> ReadCount(HKEY key, const std::string& path) {
  if (!IsUtf8Path(path)) return ReadKeyNumber(key, path);
  DWORD type = 0;
  DWORD count = 0;
  DWORD size = sizeof count;
  if (::RegQueryValueExW(key, WidePathText(path).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return count;
}

void WriteCount(HKEY key, const std::string& path, DWORD count) {
  const BYTE* data = reinterpret_cast<const BYTE*>(&count);
  if (IsUtf8Path(path)) {
    ::RegSetValueExW(key, WidePathText(path).c_str(), 0, REG_DWORD, data, sizeof count);
  } else {
    ::RegSetValueExA(key, path.c_str(), 0, REG_DWORD, data, sizeof count);
  }
}

// A COM server of the other kind than this process cannot be loaded into
// it: the regsvr32 of its own kind does the work, the system's (the 64-bit
// one, redirection being off) for a 64-bit product, the one in the 32-bit
// system folder for the others when this is the program for 64-bit Windows.
void UnregisterComServer(const std::string& path, bool is64Bit) {
  if (is64Bit || kEmulatesX86View) {
    MachineSettings machine;
    const std::wstring regsvr32 = is64Bit ? SystemProgram(L"regsvr32.exe") : X86SystemFolder() + L"\\regsvr32.exe";
    RunAndWait(L"\"" + regsvr32 + L"\" /s /u \"" + WidePathText(path) + L"\"", machine.Folders().SystemDir(), true);
    return;
  }
  const ScopedModule module(::LoadLibraryExW(WidePath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!module) return;
  using UnregisterFn = HRESULT(STDAPICALLTYPE*)();
  const auto unregister =
      reinterpret_cast<UnregisterFn>(reinterpret_cast<void*>(::GetProcAddress(module.get(), "DllUnregisterServer")));
  if (unregister != nullptr) unregister();
}

void UnregisterTypeLibrary(const std::string& path) {
  ITypeLib* raw = nullptr;
  if (FAILED(::LoadTypeLibEx(WidePath(path).c_str(), REGKIND_NONE, &raw))) return;
  const ComPtr<ITypeLib> library(raw);
  TLIBATTR* attributes = nullptr;
  if (FAILED(library.get()->GetLibAttr(&attributes))) return;
  ::UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                      attributes->syskind);
  library.get()->ReleaseTLibAttr(attributes);
}

void DeleteUnusedFile(UninstallRun& run, const std::string& path) {
  InstallerState& state = run.program.state;
  const std::wstring wide = WidePath(path);
  if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  if (!state.AutomaticMode && HasFlag(state.Settings.ProductFlags, flags::kAskBeforeSharedRemoval) &&
      !AskYesNo(run.program, FormatLanguageString(Message(state, MessageId::kRemoveSharedFileQuestion), {path}),
                Message(state, MessageId::kSharedFileTitle))) {
    return;
  }
  ::DeleteFileW(wide.c_str());
}

}  // namespace

void UndoSharedFiles(UninstallRun& run) {
  InstallerState& state = run.program.state;
  const std::string sharedFiles = ReadKeyString(run.productKey, "SharedFiles");
  if (sharedFiles.empty()) return;
  const OpenedKey counts = OpenKey(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_READ | KEY_WRITE);
  if (!counts.ok()) {
    state.FailureText += "REGISTRY ERROR:  Unable to adjust shared file reference counts.\r\n\r\n";
    return;
  }
  for (const SharedFileEntry& entry : ParseSharedFiles(sharedFiles)) {
    const std::optional<DWORD> count = ReadCount(counts.get(), entry.Path);
    if (!count) continue;
    if (*count >= 1) {
      WriteCount(counts.get(), entry.Path, *count - 1);
      if (*count - 1 >= 1) continue;
    }
    if (entry.Permanent) continue;
    if (entry.ComServer) UnregisterComServer(entry.Path, state.Settings.Bitness == 1);
    if (entry.TypeLibrary) UnregisterTypeLibrary(entry.Path);
    DeleteUnusedFile(run, entry.Path);
  }
  ::RegDeleteValueA(run.productKey, "SharedFiles");
}

}  // namespace brennick::win
