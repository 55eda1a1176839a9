#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "package/message_ids.h"
#include "startup/win/program.h"

namespace brennick::win {

// The modeless page that shows how far the run is: a heading, a bar from 0
// to 100, one line for the stage or the item being worked on, and Cancel.
// The calls dispatch the waiting window messages (a run of quick calls at
// least every few hundredths of a second), so the program stays responsive
// on its one thread; without the page (ProductFlags bit 51 clear) the calls
// only do that, and the stage clock still runs.
class ProgressPage {
 public:
  enum class Mode { kInstall, kUninstall };

  ProgressPage(Program& program, Mode mode) : program_(program), mode_(mode) {}
  ProgressPage(const ProgressPage&) = delete;
  ProgressPage& operator=(const ProgressPage&) = delete;

  void Open();
  void SetStatus(std::optional<MessageId> message);
  // Names of small items that follow within a few hundredths of a second of
  // the last one shown are skipped.
  void ShowItem(const std::string& path, std::optional<MessageId> message, std::uint64_t bytes);
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
  void SetItemLine(const std::string& text);
  void SetItemPath(const std::string& path);
  bool Pump();  // DispatchPendingMessages's result
  void PumpWhenDue();

  Program& program_;
  Mode mode_;
  HWND dialog_ = nullptr;
  HWND bar_ = nullptr;                   // forgotten when the page goes: later positions are dropped
  DWORD stageStart_ = 0;                 // tick count at which the stage began; 0: not yet
  std::optional<MessageId> lastStatus_;  // the last stage's text
  int position_ = 0;                     // the bar's position as the run last set it
  int posted_ = 0;                       // the position last given to the bar
  DWORD lastItem_ = 0;                   // tick count at which the item line last changed
  DWORD lastPump_ = 0;                   // tick count of the last dispatch
  bool asking_ = false;                  // the cancel question is up
};

}  // namespace brennick::win
