#include "foundation/win/grant_access.h"

#include <aclapi.h>

#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

namespace {

// Memory that the security calls hand out with LocalAlloc.
struct LocalMemoryTraits {
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle p) { return p != nullptr; }
  static void Close(Handle p) { ::LocalFree(p); }
};

struct SidTraits {
  using Handle = PSID;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle p) { return p != nullptr; }
  static void Close(Handle p) { ::FreeSid(p); }
};

}  // namespace

std::uint32_t GrantFullAccessToEveryone(const std::string& path) {
  if (PathBody(path).empty()) return ERROR_INVALID_NAME;
  std::wstring widePath = WidePath(path);

  const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;

  PACL oldDacl = nullptr;
  PSECURITY_DESCRIPTOR descriptorMemory = nullptr;
  DWORD error = ::GetNamedSecurityInfoW(widePath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                        nullptr, &oldDacl, nullptr, &descriptorMemory);
  const ScopedHandle<LocalMemoryTraits> descriptor(descriptorMemory);
  if (error != ERROR_SUCCESS) return error;

  SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyoneSid = nullptr;
  if (!::AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyoneSid)) {
    return ::GetLastError();
  }
  const ScopedHandle<SidTraits> everyone(everyoneSid);

  EXPLICIT_ACCESSW access = {};
  access.grfAccessPermissions = FILE_ALL_ACCESS;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = folder ? SUB_CONTAINERS_AND_OBJECTS_INHERIT : NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(everyone.get());

  PACL newDaclMemory = nullptr;
  error = ::SetEntriesInAclW(1, &access, oldDacl, &newDaclMemory);
  const ScopedHandle<LocalMemoryTraits> newDacl(newDaclMemory);
  if (error != ERROR_SUCCESS) return error;

  return ::SetNamedSecurityInfoW(widePath.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 newDaclMemory, nullptr);
}

}  // namespace brennick::win
