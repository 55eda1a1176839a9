#pragma once

#include <optional>
#include <string>

#include "startup/win/program.h"

namespace brennick::win {

// One modal wizard page over the background window. A page class fills its
// controls in OnInit and answers its commands; Run shows the template from
// the program's resources and returns what the page ended with.
class ModalPage {
 public:
  explicit ModalPage(Program& program) : program_(program) {}
  virtual ~ModalPage() = default;
  ModalPage(const ModalPage&) = delete;
  ModalPage& operator=(const ModalPage&) = delete;

  INT_PTR Run(const std::string& templateName);

  // The dialog's messages, routed here (RouteDialogMessages).
  void Attach(HWND dialog);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void OnInit() = 0;
  // True when the page handled the command.
  virtual bool OnCommand(int id, int code) = 0;
  // Any other message; a value ends the dialog procedure's handling.
  virtual std::optional<INT_PTR> OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

  void End(INT_PTR result) { ::EndDialog(dialog_, result); }
  // The accept button ends the page with IDC_ACCEPT; its Cancel button, Esc
  // and the Close command with IDC_CANCEL_PAGE. True when `id` was one of them.
  bool EndOnAcceptOrCancel(int id);
  HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }

  Program& program_;
  HWND dialog_ = nullptr;

};

// The dialog procedure of a page object: the object given as the dialog's
// creation parameter gets the dialog at its start and every message after.
template <class Page>
INT_PTR CALLBACK RouteDialogMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<Page*>(lParam)->Attach(dialog);
    return TRUE;
  }
  auto* page = reinterpret_cast<Page*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  return page != nullptr ? page->Handle(message, wParam, lParam) : FALSE;
}

// The banner's two text lines: black on the banner picture.
std::optional<INT_PTR> ColourBannerText(HWND control, HDC dc);

}  // namespace brennick::win
