#include "foundation/fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace brennick {

namespace {

class StderrFatalHandler final : public FatalHandler {
 public:
  [[noreturn]] void Fatal(const std::string& message) override {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
  }
};

StderrFatalHandler g_stderrHandler;
FatalHandler* g_handler = &g_stderrHandler;

}  // namespace

FatalHandler* SetFatalHandler(FatalHandler* handler) {
  FatalHandler* previous = g_handler;
  g_handler = handler != nullptr ? handler : &g_stderrHandler;
  return previous;
}

void FatalError(const char* format, ...) {
  char buffer[kFatalMessageCapacity];
  va_list args;
  va_start(args, format);
  const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (written < 0) buffer[0] = '\0';
  g_handler->Fatal(buffer);
  std::abort();  // a handler that returns breaks its contract
}

void OnceOnlyFatalHandler::Fatal(const std::string& message) {
  if (entered_) EndAtOnce(1);
  entered_ = true;
  Show(message);
  EndInOrder(1);
  std::abort();  // EndInOrder must not return
}

}  // namespace brennick
