#pragma once

namespace brennick::win {

// Handles every window message waiting for this thread, so that windows stay
// responsive while the main thread works.
void DispatchPendingMessages();

}  // namespace brennick::win
