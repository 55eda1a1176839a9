#pragma once

#include <utility>

#include "foundation/win/win.h"

namespace brennick::win {

// One move-only owner for every kind of Windows handle. Traits give the
// handle type, its invalid value(s) and how to close it. There is no implicit
// conversion: callers write get() where Windows needs the raw value.
template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }

  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  bool valid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return valid(); }

  // Gives up ownership without closing.
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }

  void reset(Handle handle = Traits::Invalid()) {
    Handle old = std::exchange(handle_, handle);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// Kernel objects: CreateFile gives INVALID_HANDLE_VALUE on failure, most other
// calls give NULL; neither is ever closed.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  // Predefined roots (HKEY_LOCAL_MACHINE and the others) are never closed.
  static bool IsValid(Handle h) {
    return h != nullptr && !(reinterpret_cast<ULONG_PTR>(h) & 0x80000000u);
  }
  static void Close(Handle h) { ::RegCloseKey(h); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};

struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DestroyIcon(h); }
};

template <class Object>
struct GdiObjectTraits {
  using Handle = Object;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};

template <class Interface>
struct ComTraits {
  using Handle = Interface*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle p) { return p != nullptr; }
  static void Close(Handle p) { p->Release(); }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedFind = ScopedHandle<FindTraits>;
using ScopedIcon = ScopedHandle<IconTraits>;
using ScopedBrush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using ScopedFont = ScopedHandle<GdiObjectTraits<HFONT>>;
using ScopedBitmap = ScopedHandle<GdiObjectTraits<HBITMAP>>;
template <class Interface>
using ComPtr = ScopedHandle<ComTraits<Interface>>;

}  // namespace brennick::win
