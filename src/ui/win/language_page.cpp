#include "ui/win/language_page.h"

#include <algorithm>

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "startup/installer_settings.h"
#include "startup/win/exit_installer.h"
#include "ui/language_choice.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"

namespace brennick::win {

namespace {

// The user's own language as Windows names it in that language.
std::string NativeLanguageName() {
  wchar_t name[128] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVELANGNAME, name, 128) == 0) return {};
  return FromWide(name, kLanguageCodePage);
}

class LanguagePage final : public ModalPage {
 public:
  LanguagePage(Program& program, PageLook look) : ModalPage(program), look_(look) {}

 private:
  const std::vector<std::string>& Names() const { return program_.state.Messages.LanguageNames(); }

  void OnInit() override {
    InitPage(program_, dialog_);
    const HWND list = Item(IDC_LANGUAGES);
    for (const std::string& name : Names()) {
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name, kLanguageCodePage).c_str()));
    }
    const std::size_t first = PreselectLanguage(Names(), NativeLanguageName());
    ::SendMessageW(list, LB_SETCURSEL, first, 0);
    program_.state.LanguageIndex = first;
    SetTexts();
  }

  void SetTexts() {
    SetWizardPageTitles(program_, dialog_, look_, MessageId::kLanguageCaption);
    SetItemText(dialog_, IDC_PAGE_TEXT, Message(program_.state, MessageId::kLanguagePrompt));
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, MessageId::kNextButton, IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
  }

  LRESULT Selection() const { return ::SendMessageW(Item(IDC_LANGUAGES), LB_GETCURSEL, 0, 0); }

  void TakeSelection() {
    const LRESULT last = static_cast<LRESULT>(Names().size()) - 1;
    program_.state.LanguageIndex =
        static_cast<std::size_t>(std::clamp<LRESULT>(Selection(), 0, std::max<LRESULT>(last, 0)));
    End(IDC_ACCEPT);
  }

  bool OnCommand(int id, int code) override {
    if (id == IDC_LANGUAGES) {
      if (code == LBN_SELCHANGE) {
        const LRESULT selected = Selection();
        if (selected >= 0 && static_cast<std::size_t>(selected) < Names().size()) {
          program_.state.LanguageIndex = static_cast<std::size_t>(selected);
          SetTexts();
        }
      }
      if (code == LBN_DBLCLK) TakeSelection();
      return true;
    }
    if (id == IDC_ACCEPT) {
      TakeSelection();
      return true;
    }
    return EndOnAcceptOrCancel(id);
  }

  PageLook look_;
};

}  // namespace

void ChooseLanguage(Program& program) {
  InstallerState& state = program.state;
  if (state.Messages.LanguageNames().size() > 1 && !state.AutomaticMode) {
    const std::uint32_t style = state.Settings.PageStyles[static_cast<int>(PageKind::kLanguage)];
    LanguagePage page(program, TemplateLook(PageKind::kLanguage, style));
    if (page.Run(PageTemplateName(PageKind::kLanguage, style)) != IDC_ACCEPT) ExitInstaller(program, 1);
  }
  if (program.backgroundWindow != nullptr) ::InvalidateRect(program.backgroundWindow, nullptr, TRUE);
}

}  // namespace brennick::win
