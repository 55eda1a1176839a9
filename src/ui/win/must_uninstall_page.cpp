#include "res/resource_ids.h"
#include "startup/installer_settings.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

// An earlier version must be removed before this one installs. Unlike the
// wizard pages it keeps the system menu as its template has it.
class MustUninstallPage final : public ModalPage {
 public:
  using ModalPage::ModalPage;

 private:
  void OnInit() override {
    InstallerState& state = program_.state;
    PlacePage(program_, dialog_);
    SetWindowTextInLanguage(dialog_, Message(state, MessageId::kErrorTitle));
    SetItemText(dialog_, IDC_PAGE_TEXT, Message(state, MessageId::kMustUninstallFirst));
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, MessageId::kMustUninstallButton, IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
  }

  bool OnCommand(int id, int) override { return EndOnAcceptOrCancel(id); }
};

}  // namespace

PageResult ShowMustUninstall(Program& program) {
  MustUninstallPage page(program);
  return page.Run("MustUninstall") == IDC_ACCEPT ? PageResult::Continue : PageResult::Cancel;
}

}  // namespace brennick::win
