#include "ui/win/folder_text_page.h"

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "ui/win/page_setup.h"

namespace brennick::win {

namespace {

constexpr int kMaxFolderLength = 259;

}  // namespace

void FolderTextPage::FillFolderEdit() {
  ::SendMessageW(Item(IDC_FOLDER), EM_LIMITTEXT, kMaxFolderLength, 0);
  ::SetWindowTextW(Item(IDC_FOLDER), WidePathText(folder_).c_str());
}

std::string FolderTextPage::FolderText() const { return PathFromWide(ItemTextWide(Item(IDC_FOLDER))); }

bool FolderTextPage::OnCommand(int id, int code) {
  switch (id) {
    case IDC_FOLDER:
      if (code == EN_CHANGE) TextChanged();
      return true;
    case IDC_BROWSE:
      Browse();
      ::SetFocus(Item(IDC_FOLDER));
      return true;
    case IDC_ACCEPT: {
      const std::string text = FolderText();
      if (!Acceptable(text)) return true;
      folder_ = text;
      End(IDC_ACCEPT);
      return true;
    }
    default:
      return EndOnAcceptOrCancel(id);
  }
}

}  // namespace brennick::win
