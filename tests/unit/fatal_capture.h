#pragma once

#include <stdexcept>
#include <string>

#include "foundation/fatal.h"

namespace brennick::testing {

// What the fatal path would have shown.
struct FatalMessage : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Registers a handler that throws the message instead of ending the process,
// for as long as it lives.
class CaptureFatal final : public FatalHandler {
 public:
  CaptureFatal() : previous_(SetFatalHandler(this)) {}
  ~CaptureFatal() override { SetFatalHandler(previous_); }
  [[noreturn]] void Fatal(const std::string& message) override { throw FatalMessage(message); }

 private:
  FatalHandler* previous_;
};

// The fatal message that `action` ends with, or "(no fatal message)".
template <class Action>
std::string FatalMessageOf(Action&& action) {
  CaptureFatal capture;
  try {
    action();
  } catch (const FatalMessage& fatal) {
    return fatal.what();
  }
  return "(no fatal message)";
}

}  // namespace brennick::testing
