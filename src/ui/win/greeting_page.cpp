#include "res/resource_ids.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

class GreetingPage final : public ModalPage {
 public:
  GreetingPage(Program& program, PageLook look) : ModalPage(program), look_(look) {}

 private:
  void OnInit() override {
    InitPage(program_, dialog_);
    const bool banner = look_ == PageLook::kBanner;
    SetWizardPageTitles(program_, dialog_, look_,
                        banner ? MessageId::kGreetingBannerTitle : MessageId::kInstallerCaption);
    const std::string text = Message(program_.state, MessageId::kGreetingText);
    SetItemText(dialog_, IDC_PAGE_TEXT, banner ? "\r\n\r\n" + text : text);
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, MessageId::kNextButton, IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
  }

  bool OnCommand(int id, int) override { return EndOnAcceptOrCancel(id); }

  PageLook look_;
};

}  // namespace

PageResult ShowGreeting(Program& program) {
  InstallerState& state = program.state;
  const std::uint32_t style = state.Settings.PageStyles[static_cast<int>(PageKind::kGreeting)];
  if (LookOfStyle(style) == PageLook::kPlain) {
    const std::string text = Message(state, MessageId::kGreetingText);
    const std::string caption = Message(state, MessageId::kInstallerCaption);
    const int answer = ShowMessageBox(program, text, caption, MB_OKCANCEL | MB_ICONINFORMATION);
    return answer == IDCANCEL ? PageResult::Cancel : PageResult::Continue;
  }
  GreetingPage page(program, TemplateLook(PageKind::kGreeting, style));
  return page.Run(PageTemplateName(PageKind::kGreeting, style)) == IDC_ACCEPT ? PageResult::Continue
                                                                              : PageResult::Cancel;
}

}  // namespace brennick::win
