#pragma once

#include "foundation/date_time.h"
#include "foundation/win/win.h"

namespace brennick::win {

// The machine's local date and time now, to the second.
DateTime LocalTimeNow();

// A file time (UTC) in the machine's local time, to the second.
DateTime LocalTimeOf(const FILETIME& time);

}  // namespace brennick::win
