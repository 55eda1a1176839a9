#pragma once

#include "foundation/win/win.h"

namespace brennick::win {

// Handles every window message waiting for this thread, so that windows stay
// responsive while the main thread works. True when a window was destroyed
// or the thread was asked to quit meanwhile: the program is ending.
bool DispatchPendingMessages();

// The modeless dialog whose keyboard the pump handles (Tab, Enter, Esc and
// the mnemonics), or nullptr for none.
void SetPumpDialog(HWND dialog);

}  // namespace brennick::win
