#pragma once

#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"

namespace brennick::win {

// A memory device context, deleted at the end of its scope.
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteDC(h); }
};
using ScopedMemoryDc = ScopedHandle<MemoryDcTraits>;

// An object selected into a device context for a scope; the one it replaced
// is selected again at the end (so the object can be deleted afterwards).
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace brennick::win
