#include "engine/win/restore_point.h"

#include <cstdio>

#include "foundation/win/path_text_win.h"
#include "foundation/win/system_error_text.h"
#include "run/win/install_log.h"

namespace brennick::win {

namespace {

constexpr DWORD kBeginSystemChange = 100;
constexpr DWORD kEndSystemChange = 101;
constexpr DWORD kApplicationInstall = 0;
constexpr DWORD kServiceDisabled = 1058;

// The restore point structures of srrestoreptapi.h, which mingw lacks.
#pragma pack(push, 1)
struct RestorePointInfo {
  DWORD eventType;
  DWORD restorePointType;
  INT64 sequenceNumber;
  wchar_t description[256];
};
#pragma pack(pop)
struct StateManagerStatus {
  DWORD status;
  INT64 sequenceNumber;
};
using SetRestorePointFn = BOOL(WINAPI*)(RestorePointInfo*, StateManagerStatus*);

struct Outcome {
  bool ok = false;
  std::string reason;
};

ScopedModule LoadRestoreLibrary() {
  wchar_t system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ScopedModule();
  return ScopedModule(::LoadLibraryW((std::wstring(system, length) + L"\\srclient.dll").c_str()));
}

Outcome CallRestorePoint(DWORD eventType, const std::wstring& description, INT64& sequence) {
  const ScopedModule library = LoadRestoreLibrary();
  if (!library.valid()) return {false, "System Restore is not present."};
  const auto setRestorePoint =
      reinterpret_cast<SetRestorePointFn>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "SRSetRestorePointW")));
  if (setRestorePoint == nullptr) return {false, "SRSetRestorePointW is not present."};
  RestorePointInfo info = {};
  info.eventType = eventType;
  info.restorePointType = kApplicationInstall;
  info.sequenceNumber = sequence;
  description.copy(info.description, 255);
  StateManagerStatus status = {};
  if (setRestorePoint(&info, &status)) {
    sequence = status.sequenceNumber;
    return {true, {}};
  }
  if (status.status == kServiceDisabled) return {false, "System Restore is turned off."};
  char text[64];
  std::snprintf(text, sizeof text, "Failed, code %u: ", static_cast<unsigned>(status.status));
  return {false, text + SystemErrorText(status.status)};
}

}  // namespace

void BeginRestorePoint(Program& program) {
  InstallerState& state = program.state;
  LogText(program, "Creating restore point...");
  std::string description = state.ProductName;
  if (!state.Settings.DisplayVersion.empty()) description += " " + state.Settings.DisplayVersion;
  std::wstring wide = ToWide(description, CP_ACP);
  if (wide.size() > 255) wide.resize(255);

  Outcome outcome;
  const HRESULT security = ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                                  RPC_C_IMP_LEVEL_IDENTIFY, nullptr, EOAC_NONE, nullptr);
  if (FAILED(security) && security != RPC_E_TOO_LATE) {
    outcome.reason = "Failed to initialize COM security: " + SystemErrorText(static_cast<DWORD>(security));
  } else {
    program.restorePointSequence = 0;
    outcome = CallRestorePoint(kBeginSystemChange, wide, program.restorePointSequence);
  }
  if (outcome.ok) {
    LogText(program, "OK\r\n");
    return;
  }
  LogTexts(program, {"FAILED\r\n", outcome.reason, "\r\n\r\n"});
  ClearFlag(state.Settings.ProductFlags2, flags::kRestorePoint);
}

bool CommitRestorePoint(Program& program) {
  return CallRestorePoint(kEndSystemChange, L"", program.restorePointSequence).ok;
}

}  // namespace brennick::win
