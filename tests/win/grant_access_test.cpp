#include "foundation/win/grant_access.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace brennick::win {
namespace {

// The flags of the DACL's allow entry for everyone; nothing when it has none.
std::optional<std::pair<ACCESS_MASK, BYTE>> EveryoneEntry(const std::string& path) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  std::optional<std::pair<ACCESS_MASK, BYTE>> found;
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(dacl, i, &ace)) continue;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
        ::EqualSid(const_cast<DWORD*>(&allowed->SidStart), everyone)) {
      found = std::make_pair(allowed->Mask, allowed->Header.AceFlags);
    }
  }
  ::FreeSid(everyone);
  ::LocalFree(descriptor);
  return found;
}

// Reading, writing, running and deleting. (Wine keeps a file's security as
// its Unix mode and reports no right to change the security itself.)
constexpr ACCESS_MASK kUseAndDelete = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;

TEST(GrantFullAccessToEveryone, FolderEntryIsInheritedByWhatItHolds) {
  const testing::ScratchFolder folder("grant access");
  ASSERT_EQ(GrantFullAccessToEveryone(folder.path()), 0u);
  const auto entry = EveryoneEntry(folder.path());
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->first & kUseAndDelete, kUseAndDelete);
  EXPECT_EQ(entry->second & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE), OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
}

TEST(GrantFullAccessToEveryone, FileEntryAndMissingPath) {
  const testing::ScratchFolder folder("grant access");
  const std::string file = folder.Write("data.bin", "x");
  ASSERT_EQ(GrantFullAccessToEveryone(file), 0u);
  const auto entry = EveryoneEntry(file);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->first & kUseAndDelete, kUseAndDelete);
  EXPECT_EQ(GrantFullAccessToEveryone(folder.path() + "\\missing.bin"),
            static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace brennick::win
