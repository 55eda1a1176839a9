#include "ui/win/modal_page.h"

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"

namespace brennick::win {

INT_PTR ModalPage::Run(const std::string& templateName) {
  const std::wstring name = ToWide(templateName, CP_ACP);
  ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  INT_PTR result = ::DialogBoxParamW(program_.instance, name.c_str(), program_.backgroundWindow,
                                     RouteDialogMessages<ModalPage>, reinterpret_cast<LPARAM>(this));
  if (result == -1 && ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    result = ::DialogBoxParamA(program_.instance, templateName.c_str(), program_.backgroundWindow,
                               RouteDialogMessages<ModalPage>, reinterpret_cast<LPARAM>(this));
  }
  return result;
}

void ModalPage::Attach(HWND dialog) {
  dialog_ = dialog;
  OnInit();
}

INT_PTR ModalPage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto handled = OnMessage(message, wParam, lParam)) return *handled;
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
      if (const auto brush = ColourBannerText(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return *brush;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

bool ModalPage::EndOnAcceptOrCancel(int id) {
  if (id == IDC_ACCEPT) {
    End(IDC_ACCEPT);
    return true;
  }
  if (id == IDC_CANCEL_PAGE || id == IDCANCEL) {
    End(IDC_CANCEL_PAGE);
    return true;
  }
  return false;
}

std::optional<INT_PTR> ColourBannerText(HWND control, HDC dc) {
  const int id = ::GetDlgCtrlID(control);
  if (id != IDC_BANNER_HEADING && id != IDC_BANNER_TITLE) return std::nullopt;
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
}

}  // namespace brennick::win
