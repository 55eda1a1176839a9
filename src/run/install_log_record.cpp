#include "run/install_log_record.h"

#include "res/version.h"
#include "startup/resolve_path.h"

namespace brennick {

namespace {

constexpr std::string_view kInstallerVersion = BRENNICK_VERSION_TEXT;
constexpr std::string_view kSeparator = "\r\n\r\n**********************************************\r\n";

void AddLine(std::string& text, std::string_view label, std::string_view value) {
  text.append(label).append(value).append("\r\n");
}

}  // namespace

std::string BuildInstallLogRecord(const InstallLogRecord& r) {
  std::string text;
  text.reserve(r.body.size() + r.failures.size() + 512);
  if (!r.fileWasEmpty) text.append(kSeparator);
  AddLine(text, "Installation log for: ", r.productName);
  AddLine(text, "Install date: ", FormatDateTime("d-M-yy h:ii:ssap", r.installDate));
  if (r.hasUninstaller) AddLine(text, "Install type: ", r.isReinstall ? "Reinstall" : "New");
  AddLine(text, "Install location: ", r.installDir);
  AddLine(text, "Installer version: ", kInstallerVersion);
  if (!r.displayVersion.empty()) AddLine(text, "Product version: ", r.displayVersion);
  if (!r.overwritingVersion.empty()) AddLine(text, "Overwriting version: ", r.overwritingVersion);
  AddLine(text, "Operating system: ", r.operatingSystem);
  text.append("\r\n");
  text.append(r.body);
  text.append("\r\n");
  if (!r.failures.empty()) {
    text.append("*** FAILURE SUMMARY ***\r\n").append(r.failures);
  } else {
    AddLine(text, "", r.successLine);
  }
  return text;
}

std::string InstallLogPath(std::string_view uninstallDataDir, std::string_view installDir) {
  return JoinPath(uninstallDataDir.empty() ? installDir : uninstallDataDir, "Install.LOG");
}

}  // namespace brennick
