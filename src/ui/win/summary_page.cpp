// The summary page: the installation is done; the user picks what happens
// as the installer ends.

#include "res/resource_ids.h"
#include "startup/installer_settings.h"
#include "ui/summary_layout.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

struct ChoiceBox {
  int id;
  MessageId label;
};

// In the order of EndChoice.
constexpr ChoiceBox kBoxes[] = {
    {IDC_LAUNCH, MessageId::kSummaryLaunch},
    {IDC_RUN_PROGRAM, MessageId::kSummaryRun},
    {IDC_OPEN_DOCUMENT, MessageId::kSummaryDocument},
    {IDC_VIEW_LOG, MessageId::kSummaryViewLog},
};

class SummaryPage final : public ModalPage {
 public:
  SummaryPage(Program& program, PageLook look) : ModalPage(program), look_(look) {}

 private:
  void OnInit() override {
    InstallerState& state = program_.state;
    const SettingsRecord& s = state.Settings;
    InitPage(program_, dialog_);
    SetWizardPageTitles(program_, dialog_, look_, MessageId::kSuccessTitle);
    SetItemText(dialog_, IDC_PAGE_TEXT, Message(state, MessageId::kInstallSucceeded));
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, MessageId::kSummaryButton, IDB_ACCEPT);

    const std::array<bool, 4> offered = {!s.LaunchAfterInstall.empty(), !s.RunAfterInstall.empty(),
                                         !s.DocumentAfterInstall.empty(),
                                         HasFlag(s.ProductFlags, flags::kOfferViewLog)};
    const std::array<bool, 4> ticked = {HasFlag(s.ProductFlags2, flags::kLaunchChecked),
                                        HasFlag(s.ProductFlags2, flags::kRunChecked),
                                        HasFlag(s.ProductFlags2, flags::kDocumentChecked), false};
    const std::array<SummaryBox, 4> boxes = LayOutSummaryBoxes(look_, offered);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const HWND box = Item(kBoxes[i].id);
      if (box == nullptr) continue;
      if (!boxes[i].shown) {
        ::ShowWindow(box, SW_HIDE);
        ::SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
        continue;
      }
      // Place and size are converted each on its own, as the dialog manager
      // converts a template's numbers.
      RECT place = {boxes[i].x, boxes[i].y, boxes[i].width, boxes[i].height};
      ::MapDialogRect(dialog_, &place);
      ::SetWindowPos(box, nullptr, place.left, place.top, place.right, place.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
      SetWindowTextInLanguage(box, Message(state, kBoxes[i].label));
      ::SendMessageW(box, BM_SETCHECK, ticked[i] ? BST_CHECKED : BST_UNCHECKED, 0);
      ::ShowWindow(box, SW_SHOW);
    }
  }

  bool Ticked(int id) const { return ::IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

  bool OnCommand(int id, int) override {
    EndChoices& chosen = program_.state.Chosen;
    if (id == IDC_ACCEPT) {
      chosen.launchApplication = Ticked(IDC_LAUNCH);
      chosen.runProgram = Ticked(IDC_RUN_PROGRAM);
      chosen.openDocument = Ticked(IDC_OPEN_DOCUMENT);
      chosen.viewLog = Ticked(IDC_VIEW_LOG);
      End(IDC_ACCEPT);
      return true;
    }
    if (id == IDCANCEL) {  // the Close command (or Esc): nothing happens at the end
      chosen = EndChoices{};
      End(IDCANCEL);
      return true;
    }
    return false;
  }

  PageLook look_;
};

}  // namespace

void ShowSummary(Program& program) {
  program.state.Chosen = EndChoices{};
  const std::uint32_t style = program.state.Settings.PageStyles[static_cast<int>(PageKind::kSummary)];
  SummaryPage page(program, TemplateLook(PageKind::kSummary, style));
  page.Run(PageTemplateName(PageKind::kSummary, style));
}

}  // namespace brennick::win
