#include "uninstall/win/uninstall_batches.h"

#include "engine/win/install_batch.h"
#include "foundation/win/registry.h"

namespace brennick::win {

void RunUninstallBatch(UninstallRun& run, const char* valueName, bool hidden) {
  const std::string commands = ReadKeyString(run.productKey, valueName);
  if (commands.empty()) return;
  RunInstallBatch(run.program, run.program.state.InstallDir, hidden, commands, nullptr);
  ::RegDeleteValueA(run.productKey, valueName);
}

}  // namespace brennick::win
