#pragma once

#include <optional>
#include <string>

#include "package/message_ids.h"
#include "startup/win/program.h"

namespace brennick::win {

// The modeless page that shows how far the run is: a heading, a bar from 0
// to 100, one line for the stage or the item being worked on, and Cancel.
// Every call dispatches the waiting window messages, so the program stays
// responsive on its one thread; without the page (ProductFlags bit 51
// clear) the calls only do that, and the stage clock still runs.
class ProgressPage {
 public:
  enum class Mode { kInstall, kUninstall };

  ProgressPage(Program& program, Mode mode) : program_(program), mode_(mode) {}
  ProgressPage(const ProgressPage&) = delete;
  ProgressPage& operator=(const ProgressPage&) = delete;

  void Open();
  void SetStatus(std::optional<MessageId> message);
  void ShowItem(const std::string& path, std::optional<MessageId> message);
  void SetProgress(int percent);
  // Keeps the current stage on screen until `milliseconds` have passed since
  // it began; never waits in automatic mode.
  void WaitStage(int milliseconds);
  void Close();

  // The dialog's messages, routed here (RouteDialogMessages).
  void Attach(HWND dialog);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void AskToCancel();
  bool CancelAllowed() const;
  void SetItemLine(const std::wstring& text);

  Program& program_;
  Mode mode_;
  HWND dialog_ = nullptr;
  HWND bar_ = nullptr;    // forgotten when the page goes: later positions are dropped
  DWORD stageStart_ = 0;  // tick count at which the stage began; 0: not yet
  bool asking_ = false;   // the cancel question is up
};

}  // namespace brennick::win
