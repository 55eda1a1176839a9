#pragma once

#include <string>

#include "foundation/win/scoped_handle.h"

namespace brennick::testing {

// The child side: holds `path` open with no sharing until killed.
int HoldFile(const char* path, const char* eventName);

// The parent side: a second process that holds a file open exclusively for
// as long as this object lives.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path);
  ~FileHolder();

 private:
  win::ScopedKernelHandle process_;
};

}  // namespace brennick::testing
