#include "startup/win/fatal_box.h"

#include "package/message_lookup.h"
#include "startup/win/exit_installer.h"

namespace brennick::win {

void FatalMessageBox::Show(const std::string& message) {
  // The language strings, once loaded, bring their own caption; until then
  // the box is titled "Error".
  std::string caption = LookUpMessage(21);
  if (caption.empty()) caption = "Error";
  ::MessageBoxA(program_.backgroundWindow, message.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void FatalMessageBox::EndInOrder(int exitCode) { ExitInstaller(program_, exitCode); }

void FatalMessageBox::EndAtOnce(int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace brennick::win
