#include "uninstall/win/write_self_delete_batch.h"

#include "foundation/win/hidden_batch.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/whole_file.h"
#include "startup/resolve_path.h"
#include "uninstall/self_delete_batch.h"

namespace brennick::win {

bool WriteSelfDeleteBatch(const InstallerState& state) {
  const std::string batch = JoinPath(TemporaryFolder(), kSelfDeleteBatchName);
  const std::string text = SelfDeleteBatchText(ModuleFileName(), state.InstallDir, state.Settings.UninstallSubdir,
                                               batch, AnsiPathForBatch);
  if (WriteWholeFile(batch, text) != 0) return false;
  return StartHiddenBatch(batch);
}

}  // namespace brennick::win
