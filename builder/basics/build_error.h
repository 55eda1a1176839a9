#pragma once

#include <stdexcept>
#include <string>

namespace brennick::build {

// A setup the builder refuses to write: the message names what is wrong (and,
// for project files, the file, line and key). Nothing is written after one.
class BuildError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace brennick::build
