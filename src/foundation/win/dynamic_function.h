#pragma once

#include "foundation/win/win.h"

namespace brennick::win {

// Looks up a function that older Windows versions may lack; nullptr when the
// module or the function is absent. The module must already be loaded.
template <class Function>
Function LookUpFunction(const wchar_t* moduleName, const char* functionName) {
  const HMODULE module = ::GetModuleHandleW(moduleName);
  if (module == nullptr) return nullptr;
  // Through void*: FARPROC has no parameters, so a direct cast draws a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, functionName)));
}

}  // namespace brennick::win
