#include "foundation/win/file_system_redirection.h"

#include "foundation/win/dynamic_function.h"

namespace brennick::win {

bool TurnOffFileSystemRedirection() {
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  const auto disable = LookUpFunction<DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  PVOID old = nullptr;
  return disable != nullptr && disable(&old);
}

void RestoreFileSystemRedirection() {
  using RevertFn = BOOL(WINAPI*)(PVOID);
  // The value saved by the disabling call is null for a thread that had
  // redirection on, which is the only state this program turns it off from.
  if (const auto revert = LookUpFunction<RevertFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection")) revert(nullptr);
}

}  // namespace brennick::win
