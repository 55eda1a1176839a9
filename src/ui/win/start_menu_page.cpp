// The Start-menu folder page: the folder the product's shortcuts go into,
// below the Start menu's Programs folder.

#include <shlobj.h>

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "startup/installer_settings.h"
#include "ui/start_menu_rule.h"
#include "ui/win/folder_browser.h"
#include "ui/win/folder_text_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

class StartMenuPage final : public FolderTextPage {
 public:
  using FolderTextPage::FolderTextPage;

 private:
  int ProgramsFolder() const {
    return program_.state.Settings.ShortcutMode == 1 ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
  }

  void OnInit() override {
    InitPage(program_, dialog_);
    SetWizardPageTitles(program_, dialog_, look_, MessageId::kStartMenuTitle);
    SetItemText(dialog_, IDC_PAGE_TEXT, Message(program_.state, MessageId::kStartMenuPrompt));
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, MessageId::kInstallButton, IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
    SetButtonLabel(program_, dialog_, IDC_BROWSE, MessageId::kBrowseButton, IDB_BROWSE);
    FillFolderEdit();
    TextChanged();  // also when filling the edit sent no change notice
  }

  // Next is enabled exactly while the text can be a Start-menu folder.
  void TextChanged() override {
    ::EnableWindow(Item(IDC_ACCEPT), IsAcceptableStartMenuFolder(FolderText()) ? TRUE : FALSE);
  }

  bool Acceptable(const std::string& text) const override { return IsAcceptableStartMenuFolder(text); }

  // A folder chosen below Programs becomes its path relative to Programs.
  void Browse() override {
    const HWND edit = Item(IDC_FOLDER);
    wchar_t programs[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(dialog_, programs, ProgramsFolder(), FALSE);
    const std::wstring prompt = ToWide(Message(program_.state, MessageId::kStartMenuPrompt), kLanguageCodePage);
    const std::wstring current = ItemTextWide(edit);
    const std::wstring start = current.empty() ? std::wstring(programs) : std::wstring(programs) + L"\\" + current;
    if (const auto chosen = BrowseForFolder(dialog_, prompt, start, ProgramsFolder())) {
      const std::wstring base = std::wstring(programs) + L"\\";
      std::wstring text = *chosen;
      if (::lstrcmpiW(text.c_str(), programs) == 0) {
        text.clear();
      } else if (text.size() > base.size() &&
                 ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), static_cast<int>(base.size()),
                                  base.c_str(), static_cast<int>(base.size())) == CSTR_EQUAL) {
        text.erase(0, base.size());
      }
      ::SetWindowTextW(edit, text.c_str());
    }
  }
};

}  // namespace

PageResult ShowStartMenuPage(Program& program, std::string& folder) {
  const std::uint32_t style = program.state.Settings.PageStyles[static_cast<int>(PageKind::kStartMenu)];
  StartMenuPage page(program, TemplateLook(PageKind::kStartMenu, style), folder);
  return page.Run(PageTemplateName(PageKind::kStartMenu, style)) == IDC_ACCEPT ? PageResult::Continue
                                                                               : PageResult::Cancel;
}

}  // namespace brennick::win
