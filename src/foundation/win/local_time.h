#pragma once

#include "foundation/date_time.h"

namespace brennick::win {

// The machine's local date and time now, to the second.
DateTime LocalTimeNow();

}  // namespace brennick::win
