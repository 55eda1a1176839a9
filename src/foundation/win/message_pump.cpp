#include "foundation/win/message_pump.h"

#include "foundation/win/win.h"

namespace brennick::win {

void DispatchPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace brennick::win
