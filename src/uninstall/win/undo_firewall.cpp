#include "foundation/win/win.h"

#include <netfw.h>

#include "foundation/win/com_object.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/machine_settings.h"
#include "uninstall/undo_lists.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

namespace {

// The firewall's current profile, or nothing when the firewall service
// cannot be reached.
ComPtr<INetFwProfile> OpenCurrentProfile() {
  const CreatedObject<INetFwMgr> manager = CreateComObject<INetFwMgr>(__uuidof(NetFwMgr));
  if (!manager.ok()) return {};
  INetFwPolicy* rawPolicy = nullptr;
  if (FAILED(manager.object.get()->get_LocalPolicy(&rawPolicy)) || rawPolicy == nullptr) return {};
  const ComPtr<INetFwPolicy> policy(rawPolicy);
  INetFwProfile* rawProfile = nullptr;
  if (FAILED(policy.get()->get_CurrentProfile(&rawProfile))) return {};
  return ComPtr<INetFwProfile>(rawProfile);
}

// A BSTR for the call's duration.
class BString {
 public:
  explicit BString(const std::wstring& text) : text_(::SysAllocString(text.c_str())) {}
  ~BString() { ::SysFreeString(text_); }
  BString(const BString&) = delete;
  BString& operator=(const BString&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

void RemovePort(INetFwProfile* profile, long port, NET_FW_IP_PROTOCOL protocol) {
  INetFwOpenPorts* raw = nullptr;
  if (FAILED(profile->get_GloballyOpenPorts(&raw)) || raw == nullptr) return;
  const ComPtr<INetFwOpenPorts> ports(raw);
  ports.get()->Remove(port, protocol);
}

void RemoveProgram(INetFwProfile* profile, const std::string& path) {
  INetFwAuthorizedApplications* raw = nullptr;
  if (FAILED(profile->get_AuthorizedApplications(&raw)) || raw == nullptr) return;
  const ComPtr<INetFwAuthorizedApplications> applications(raw);
  const BString image(WidePathText(path));
  applications.get()->Remove(image.get());
}

}  // namespace

void UndoFirewall(UninstallRun& run) {
  if (run.data.FirewallLines.empty()) return;
  const ComPtr<INetFwProfile> profile = OpenCurrentProfile();
  if (!profile) return;
  const InstallerState& state = run.program.state;
  MachineSettings machine;
  for (const std::string& line : run.data.FirewallLines) {
    const std::optional<FirewallUndo> undo = ParseFirewallLine(line);
    if (!undo) continue;
    if (undo->IsPort) {
      const long port = static_cast<long>(undo->Port);
      if ((undo->Protocols & 1) != 0) RemovePort(profile.get(), port, NET_FW_IP_PROTOCOL_TCP);
      if ((undo->Protocols & 2) != 0) RemovePort(profile.get(), port, NET_FW_IP_PROTOCOL_UDP);
    } else {
      RemoveProgram(profile.get(),
                    ResolvePath(machine.ExpandVariables(undo->Program, RunValuesOf(state)), state.InstallDir));
    }
  }
}

}  // namespace brennick::win
