#include "uninstall/win/uninstall_batches.h"

#include "foundation/win/registry.h"
#include "run/win/install_batch.h"

namespace brennick::win {

void RunUninstallBatch(UninstallRun& run, const char* valueName, bool hidden) {
  const std::string commands = ReadKeyString(run.productKey, valueName);
  if (commands.empty()) return;
  RunInstallBatch(run.program, run.program.state.InstallDir, hidden, commands, nullptr);
  ::RegDeleteValueA(run.productKey, valueName);
}

}  // namespace brennick::win
