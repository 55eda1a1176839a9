#pragma once

#include <string>
#include <string_view>

#include "foundation/win/scoped_handle.h"

namespace brennick::win {

// The temporary install log: a new file in the user's temporary folder to
// which the steps of a run append, until the end of the run turns it into a
// record of "Install.LOG". Its one owner keeps both its name and its handle,
// so that every way out deletes it. Without a log (its creation failed, or it
// was discarded) appends do nothing.
class TemporaryLog {
 public:
  TemporaryLog() = default;
  TemporaryLog(const TemporaryLog&) = delete;
  TemporaryLog& operator=(const TemporaryLog&) = delete;
  ~TemporaryLog() { Discard(); }

  // Discards an earlier log and creates a new one; false when none could be made.
  bool Open();

  bool IsOpen() const { return file_.valid(); }
  const std::string& Path() const { return path_; }
  HANDLE Handle() const { return file_.get(); }

  // Appends as given; the caller supplies the "\r\n".
  void Append(std::string_view text);

  // The whole log, from its start; the position stays at its end.
  std::string ReadAll();

  // Closes the log and deletes its file.
  void Discard();

 private:
  std::string path_;
  ScopedKernelHandle file_;
};

}  // namespace brennick::win
