#pragma once

#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"

namespace brennick::win {

// A COM object made in this process, or the result of the call that failed.
template <class Interface>
struct CreatedObject {
  ComPtr<Interface> object;
  HRESULT result = E_FAIL;

  bool ok() const { return object.valid(); }
};

// Creates the in-process object of `clsid` and asks it for `Interface`.
template <class Interface>
CreatedObject<Interface> CreateComObject(REFCLSID clsid) {
  CreatedObject<Interface> created;
  Interface* raw = nullptr;
  created.result =
      ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Interface), reinterpret_cast<void**>(&raw));
  if (SUCCEEDED(created.result)) created.object.reset(raw);
  return created;
}

}  // namespace brennick::win
