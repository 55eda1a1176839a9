#pragma once

#include "foundation/fatal.h"
#include "startup/win/program.h"

namespace brennick::win {

// The program's fatal path: one message box with the error icon, then the
// orderly exit with code 1.
class FatalMessageBox final : public OnceOnlyFatalHandler {
 public:
  explicit FatalMessageBox(Program& program) : program_(program) {}

 protected:
  void Show(const std::string& message) override;
  [[noreturn]] void EndInOrder(int exitCode) override;
  [[noreturn]] void EndAtOnce(int exitCode) override;

 private:
  Program& program_;
};

}  // namespace brennick::win
