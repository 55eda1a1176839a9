#include "foundation/win/message_pump.h"

namespace brennick::win {

namespace {

HWND pumpDialog = nullptr;

}  // namespace

void SetPumpDialog(HWND dialog) { pumpDialog = dialog; }

bool DispatchPendingMessages() {
  bool ending = false;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || message.message == WM_DESTROY) ending = true;
    if (pumpDialog != nullptr && ::IsDialogMessageW(pumpDialog, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return ending;
}

}  // namespace brennick::win
