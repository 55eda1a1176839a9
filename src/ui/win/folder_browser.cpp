#include "ui/win/folder_browser.h"

#include <shlobj.h>

#include <memory>

namespace brennick::win {

namespace {

int CALLBACK SelectStart(HWND browser, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start != 0) ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

struct ItemListFree {
  void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};

}  // namespace

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& prompt, const std::wstring& start,
                                            int rootFolder) {
  std::unique_ptr<ITEMIDLIST, ItemListFree> root;
  if (rootFolder != kWholeNamespace) {
    ITEMIDLIST* list = nullptr;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(owner, rootFolder, &list))) root.reset(list);
  }
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.pidlRoot = root.get();
  info.lpszTitle = prompt.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = SelectStart;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  const std::unique_ptr<ITEMIDLIST, ItemListFree> chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
  return std::wstring(path);
}

}  // namespace brennick::win
