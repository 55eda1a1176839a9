#include "foundation/win/scoped_handle.h"

#include <gtest/gtest.h>

namespace brennick::win {
namespace {

bool IsOpenHandle(HANDLE handle) {
  DWORD flags = 0;
  return ::GetHandleInformation(handle, &flags) != 0;
}

TEST(ScopedHandle, ClosesOnceAndMovesOwnership) {
  HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    ScopedKernelHandle first(raw);
    ScopedKernelHandle second(std::move(first));
    EXPECT_FALSE(first.valid());
    EXPECT_EQ(second.get(), raw);
    ScopedKernelHandle third;
    third = std::move(second);
    EXPECT_TRUE(IsOpenHandle(raw));
  }
  EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(ScopedHandle, ReleaseGivesUpOwnership) {
  HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  { ScopedKernelHandle owner(raw); EXPECT_EQ(owner.release(), raw); }
  EXPECT_TRUE(IsOpenHandle(raw));
  ::CloseHandle(raw);
}

TEST(ScopedHandle, FailedCreateFileIsNotValid) {
  ScopedKernelHandle file(::CreateFileA("C:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(file.valid());
  EXPECT_FALSE(static_cast<bool>(file));
}

TEST(ScopedHandle, PredefinedRegistryRootsAreNeverClosed) {
  ScopedRegistryKey root(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(root.valid());
  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &raw), ERROR_SUCCESS);
  ScopedRegistryKey key(raw);
  EXPECT_TRUE(key.valid());
}

}  // namespace
}  // namespace brennick::win
