#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "package/message_ids.h"
#include "run/background_look.h"

namespace brennick {

// What a wizard page returns.
enum class PageResult {
  Continue = 1001,
  Cancel = 1003,
};

// The windows the install run talks to: the wizard pages and the progress
// page. The run decides what is shown and when; an implementation only shows
// it. Every page call happens only where the run needs that page.
class InstallUi {
 public:
  virtual ~InstallUi() = default;

  // Shows the full-screen window behind every other window; `look` is asked
  // at every repaint.
  virtual void ShowBackground(std::function<BackgroundLook()> look) = 0;

  // Wizard pages.
  virtual PageResult ShowGreeting() = 0;
  // False when the password was not given.
  virtual bool EnterPassword() = 0;
  // A licence or readme text (8-bit or UTF-16 with its byte-order mark),
  // product markers already replaced.
  virtual PageResult ShowLicense(const std::string& text) = 0;
  virtual PageResult ShowReadme(const std::string& text) = 0;
  // The destination folder page; edits `folder` in place.
  virtual PageResult ShowFolderPage(std::string& folder) = 0;
  // The Start-menu folder page; edits `folder` in place.
  virtual PageResult ShowStartMenuPage(std::string& folder) = 0;
  // The must-uninstall page; Continue when the user confirms.
  virtual PageResult ShowMustUninstall() = 0;
  // The summary page at the end of a successful run.
  virtual void ShowSummary() = 0;

  // Progress page. The calls keep window messages flowing.
  virtual void OpenProgressPage() = 0;
  // Shows language string `message` (none: no text) and restarts the stage clock.
  virtual void SetStatus(std::optional<MessageId> message) = 0;
  virtual void SetProgress(int percent) = 0;
  // Shows a path, or language string `message` in its place, without
  // restarting the stage clock. `bytes` is how much the item writes: a page
  // may skip the names of small items that follow each other quickly, never
  // that of a large one.
  virtual void ShowProgressItem(const std::string& path, std::optional<MessageId> message, std::uint64_t bytes) = 0;
  // Waits until the current stage has been on screen `milliseconds`.
  virtual void WaitStage(int milliseconds) = 0;
  virtual void CloseProgressPage() = 0;
};

}  // namespace brennick
