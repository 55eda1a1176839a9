#pragma once

#include <string>

namespace brennick {

// The fatal path. Core code reports an impossible state or a damaged package
// through FatalError; what happens then belongs to the handler that the
// program registered (a message box and the orderly exit). The host tests
// register a handler that throws, so every fatal message is testable.
class FatalHandler {
 public:
  virtual ~FatalHandler() = default;
  // Receives the formatted message. Must not return.
  [[noreturn]] virtual void Fatal(const std::string& message) = 0;
};

// Registers the handler for the whole process (nullptr: the built-in one,
// which writes to stderr and ends with exit code 1). Returns the previous one.
FatalHandler* SetFatalHandler(FatalHandler* handler);

// The largest message the fatal path shows, in bytes; longer text is cut.
constexpr std::size_t kFatalMessageCapacity = 4096;

// Formats printf-style into at most 4096 bytes (including the terminating
// zero) and hands the text to the registered handler. Never returns.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A handler that shows its message once and then ends in order. A second
// entry (say, the orderly exit itself failing) skips the message and ends at
// once, so a failing handler can never loop.
class OnceOnlyFatalHandler : public FatalHandler {
 public:
  [[noreturn]] void Fatal(const std::string& message) final;

 protected:
  virtual void Show(const std::string& message) = 0;
  [[noreturn]] virtual void EndInOrder(int exitCode) = 0;
  [[noreturn]] virtual void EndAtOnce(int exitCode) = 0;

 private:
  bool entered_ = false;  // a plain flag: the path runs once per process
};

}  // namespace brennick
