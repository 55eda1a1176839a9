#pragma once

#include "foundation/win/scoped_handle.h"

namespace brennick::win {

// The background thread that requests the completion notification address.
// It shares nothing with the main thread but its own copy of the address.
struct Notification {
  ScopedKernelHandle thread;  // empty until a notification was started
};

// Waits for the notification thread when one was started, so the request
// is not cut off by the end of the process.
void EndNotification(Notification& notification);

}  // namespace brennick::win
