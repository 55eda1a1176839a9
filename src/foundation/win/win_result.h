#pragma once

#include <cstdint>

namespace brennick::win {

// Our outcome together with the Windows error that caused it, carried
// unchanged to where it is reported or logged. `windowsError` is 0 when the
// outcome did not come from a failed Windows call.
template <class Outcome>
struct WinResult {
  Outcome outcome{};
  std::uint32_t windowsError = 0;

  bool ok() const { return outcome == Outcome{}; }
};

}  // namespace brennick::win
