#include "foundation/win/local_time.h"

namespace brennick::win {

namespace {

DateTime DateTimeOf(const SYSTEMTIME& time) {
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

DateTime LocalTimeNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return DateTimeOf(now);
}

DateTime LocalTimeOf(const FILETIME& time) {
  FILETIME local;
  SYSTEMTIME parts = {};
  if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &parts)) return {};
  return DateTimeOf(parts);
}

}  // namespace brennick::win
