#include "foundation/win/local_time.h"

#include "foundation/win/win.h"

namespace brennick::win {

DateTime LocalTimeNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace brennick::win
