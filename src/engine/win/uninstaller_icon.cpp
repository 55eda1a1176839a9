#include "engine/win/uninstaller_icon.h"

#include "engine/icon_group.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "run/win/install_log.h"

namespace brennick::win {

namespace {

constexpr WORD kUnitedStatesEnglish = 1033;
constexpr WORD kIconGroupNumber = 1;
// RT_ICON and RT_GROUP_ICON in their wide form (the headers give the ANSI one).
const LPCWSTR kIconType = MAKEINTRESOURCEW(3);
const LPCWSTR kIconGroupType = MAKEINTRESOURCEW(14);

// A resource update that is discarded unless it is committed.
struct ResourceUpdateTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::EndUpdateResourceW(h, TRUE); }
};
using ScopedResourceUpdate = ScopedHandle<ResourceUpdateTraits>;

bool WriteResource(HANDLE update, LPCWSTR type, WORD number, std::span<const std::uint8_t> data) {
  return ::UpdateResourceW(update, type, MAKEINTRESOURCEW(number), kUnitedStatesEnglish,
                           const_cast<std::uint8_t*>(data.data()), static_cast<DWORD>(data.size())) != FALSE;
}

bool WriteIconGroup(HANDLE update, const IconGroup& group) {
  for (std::size_t i = 0; i < group.images.size(); ++i) {
    if (!WriteResource(update, kIconType, static_cast<WORD>(i + 1), group.images[i])) return false;
  }
  return WriteResource(update, kIconGroupType, kIconGroupNumber, group.directory);
}

}  // namespace

bool ReplaceUninstallerIcon(Program& program, const std::string& path, std::string_view iconFile) {
  ScopedResourceUpdate update(::BeginUpdateResourceW(WidePath(path).c_str(), FALSE));
  if (!update) {
    LogText(program, "Failed to open uninstaller for icon replacement.\r\n");
    return false;
  }
  const auto group = IconGroupOf({reinterpret_cast<const std::uint8_t*>(iconFile.data()), iconFile.size()});
  if (!group || !WriteIconGroup(update.get(), *group) || !::EndUpdateResourceW(update.release(), FALSE)) {
    LogText(program, "Failed to replace uninstaller icon.\r\n");
    return false;
  }
  return true;
}

}  // namespace brennick::win
