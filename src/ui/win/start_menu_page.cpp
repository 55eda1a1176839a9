// The Start-menu folder page: the folder the product's shortcuts go into,
// below the Start menu's Programs folder.

#include <shlobj.h>

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "startup/installer_settings.h"
#include "ui/start_menu_rule.h"
#include "ui/win/folder_browser.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

constexpr int kMaxFolderLength = 259;

class StartMenuPage final : public ModalPage {
 public:
  StartMenuPage(Program& program, PageLook look, std::string& folder)
      : ModalPage(program), look_(look), folder_(folder) {}

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
    ::SendMessageW(Item(IDC_FOLDER), EM_LIMITTEXT, kMaxFolderLength, 0);
    ::SetWindowTextW(Item(IDC_FOLDER), WidePathText(folder_).c_str());
    CheckText();  // also when filling the edit sent no change notice
  }

  void CheckText() {
    const std::string text = PathFromWide(ItemTextWide(Item(IDC_FOLDER)));
    ::EnableWindow(Item(IDC_ACCEPT), IsAcceptableStartMenuFolder(text) ? TRUE : FALSE);
  }

  // A folder chosen below Programs becomes its path relative to Programs.
  void Browse() {
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
    ::SetFocus(edit);
  }

  bool OnCommand(int id, int code) override {
    switch (id) {
      case IDC_FOLDER:
        if (code == EN_CHANGE) CheckText();
        return true;
      case IDC_BROWSE:
        Browse();
        return true;
      case IDC_ACCEPT: {
        const std::string text = PathFromWide(ItemTextWide(Item(IDC_FOLDER)));
        // Enter reaches the default button even while it is disabled.
        if (!IsAcceptableStartMenuFolder(text)) return true;
        folder_ = text;
        End(IDC_ACCEPT);
        return true;
      }
      case IDC_CANCEL_PAGE:
      case IDCANCEL:
        End(IDC_CANCEL_PAGE);
        return true;
      default:
        return false;
    }
  }

  PageLook look_;
  std::string& folder_;
};

}  // namespace

PageResult ShowStartMenuPage(Program& program, std::string& folder) {
  const std::uint32_t style = program.state.Settings.PageStyles[static_cast<int>(PageKind::kStartMenu)];
  StartMenuPage page(program, TemplateLook(PageKind::kStartMenu, style), folder);
  return page.Run(PageTemplateName(PageKind::kStartMenu, style)) == IDC_ACCEPT ? PageResult::Continue
                                                                               : PageResult::Cancel;
}

}  // namespace brennick::win
