#include "startup/win/notification.h"

namespace brennick::win {

void EndNotification(Notification& notification) {
  if (!notification.thread.valid()) return;
  ::WaitForSingleObject(notification.thread.get(), INFINITE);
  notification.thread.reset();
}

}  // namespace brennick::win
