// The licence and readme pages: one text in a read-only view, black on white.

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "startup/installer_settings.h"
#include "ui/page_text.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

class TextPage final : public ModalPage {
 public:
  TextPage(Program& program, PageKind kind, PageLook look, const std::string& text)
      : ModalPage(program), kind_(kind), look_(look), text_(text) {}

 private:
  bool IsLicense() const { return kind_ == PageKind::kLicense; }

  void OnInit() override {
    InitPage(program_, dialog_);
    SetWizardPageTitles(program_, dialog_, look_, IsLicense() ? MessageId::kLicenseTitle : MessageId::kReadmeTitle);
    SetItemText(dialog_, IDC_PAGE_TEXT,
                Message(program_.state, IsLicense() ? MessageId::kLicensePrompt : MessageId::kReadmePrompt));
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, IsLicense() ? MessageId::kLicenseAccept : MessageId::kNextButton,
                   IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE,
                   IsLicense() ? MessageId::kLicenseDecline : MessageId::kCancelButton, IDB_CANCEL);
    white_ = ScopedBrush(::CreateSolidBrush(RGB(255, 255, 255)));
    ShowText();
    // The view takes the focus first, for the arrow keys; unselected, as a
    // text to read, not to copy.
    ::PostMessageW(Item(IDC_TEXT_VIEW), EM_SETSEL, 0, 0);
  }

  void ShowText() {
    const HWND view = Item(IDC_TEXT_VIEW);
    const PageText text = DecodePageText(text_);
    if (text.unicode) {
      const std::wstring wide(text.wide.begin(), text.wide.end());
      if (::SetWindowTextW(view, wide.c_str())) return;
      // A system without Unicode edits gets the text in the code page.
      ::SetWindowTextA(view, FromWide(wide, kLanguageCodePage).c_str());
      return;
    }
    const std::wstring wide = ToWide(text.narrow, kLanguageCodePage);
    if (wide.empty() || !::SetWindowTextW(view, wide.c_str())) ::SetWindowTextA(view, text.narrow.c_str());
  }

  bool OnCommand(int id, int) override { return EndOnAcceptOrCancel(id); }

  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if ((message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT) || !white_.valid()) return std::nullopt;
    if (reinterpret_cast<HWND>(lParam) != Item(IDC_TEXT_VIEW)) return std::nullopt;
    const auto dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<INT_PTR>(white_.get());
  }

  PageKind kind_;
  PageLook look_;
  const std::string& text_;
  ScopedBrush white_;  // the text view's background while the page is open
};

PageResult ShowTextPage(Program& program, PageKind kind, const std::string& text) {
  const std::uint32_t style = program.state.Settings.PageStyles[static_cast<int>(kind)];
  TextPage page(program, kind, TemplateLook(kind, style), text);
  return page.Run(PageTemplateName(kind, style)) == IDC_ACCEPT ? PageResult::Continue : PageResult::Cancel;
}

}  // namespace

PageResult ShowLicensePage(Program& program, const std::string& text) {
  return ShowTextPage(program, PageKind::kLicense, text);
}

PageResult ShowReadmePage(Program& program, const std::string& text) {
  return ShowTextPage(program, PageKind::kReadme, text);
}

}  // namespace brennick::win
