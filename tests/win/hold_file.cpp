#include "hold_file.h"

#include <gtest/gtest.h>

namespace brennick::testing {

int HoldFile(const char* path, const char* eventName) {
  const win::ScopedKernelHandle file(
      ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return 1;
  const win::ScopedKernelHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
  if (!ready.valid()) return 1;
  ::SetEvent(ready.get());
  ::Sleep(60000);
  return 0;
}

FileHolder::FileHolder(const std::string& path) {
  const std::string eventName = "brennick-hold-" + std::to_string(::GetCurrentProcessId());
  const win::ScopedKernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = std::string("\"") + self + "\" --hold \"" + path + "\" " + eventName;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "cannot start the holding process: " << ::GetLastError();
    return;
  }
  process_.reset(info.hProcess);
  ::CloseHandle(info.hThread);
  const HANDLE waitFor[] = {ready.get(), process_.get()};
  EXPECT_EQ(::WaitForMultipleObjects(2, waitFor, FALSE, 20000), WAIT_OBJECT_0) << "the file was not held";
}

FileHolder::~FileHolder() {
  if (!process_.valid()) return;
  ::TerminateProcess(process_.get(), 0);
  ::WaitForSingleObject(process_.get(), 10000);
}

}  // namespace brennick::testing
