#pragma once

#include <string>

namespace brennick::win {

// A fresh folder of its own under the user's temporary folder, with the
// security it inherits there: only this user (and the system) can write it.
// Files the program writes and then runs with its rights go here, never
// into a folder other users may change while they run. The folder is
// removed, with the files left in it, when the object goes.
class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  // Empty when no folder could be made.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace brennick::win
