// The password page: the product's password, compared exactly; every wrong
// entry costs half a second.

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

constexpr int kMaxPasswordLength = 64;
constexpr DWORD kWrongEntryDelayMs = 500;

class PasswordPage final : public ModalPage {
 public:
  using ModalPage::ModalPage;

 private:
  void OnInit() override {
    InstallerState& state = program_.state;
    InitPage(program_, dialog_);
    SetWindowTextInLanguage(dialog_, Message(state, MessageId::kPasswordCaption));
    SetItemText(dialog_, IDC_PAGE_TEXT, Message(state, MessageId::kPasswordPrompt));
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, "OK", IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
    ::SendMessageW(Item(IDC_PASSWORD), EM_LIMITTEXT, kMaxPasswordLength, 0);
  }

  void Check() {
    const HWND edit = Item(IDC_PASSWORD);
    const std::string entry = FromWide(ItemTextWide(edit), kLanguageCodePage);
    if (entry == program_.state.Settings.Password) {
      End(IDC_ACCEPT);
      return;
    }
    ::Sleep(kWrongEntryDelayMs);
    const std::string text = Message(program_.state, MessageId::kWrongPassword);
    const std::string title = Message(program_.state, MessageId::kErrorTitle);
    ShowMessageBoxOver(program_, dialog_, text, title, MB_OK | MB_ICONERROR);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
  }

  bool OnCommand(int id, int) override {
    if (id != IDC_ACCEPT) return EndOnAcceptOrCancel(id);
    Check();
    return true;
  }
};

}  // namespace

bool AskPassword(Program& program) {
  if (program.state.Settings.Password.empty()) return true;
  PasswordPage page(program);
  return page.Run("EnterPassword") == IDC_ACCEPT;
}

}  // namespace brennick::win
