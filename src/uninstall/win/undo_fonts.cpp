#include "foundation/message_format.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/windows_version.h"
#include "foundation/win/x86_view.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/machine_settings.h"
#include "uninstall/undo_lists.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

bool UndoFonts(UninstallRun& run) {
  InstallerState& state = run.program.state;
  const std::vector<ProductFont> fonts = ParseProductFonts(run.productFonts);
  MachineSettings machine;
  const std::string fontsFolder = machine.Folders().FontDir();
  const bool ask = !state.AutomaticMode && HasFlag(state.Settings.ProductFlags, flags::kAskBeforeFontRemoval);
  bool removed = false;
  for (const ProductFont& font : fonts) {
    if (ask && !AskYesNo(run.program,
                         FormatLanguageString(Message(state, MessageId::kRemoveFontQuestion), {font.RegistryName}),
                         Message(state, MessageId::kFontQuestionTitle))) {
      continue;
    }
    if (const OpenedKey key = OpenKey(HKEY_LOCAL_MACHINE, FontsRegistryKey(), KEY_SET_VALUE); key.ok()) {
      ::RegDeleteValueA(key.get(), font.RegistryName.c_str());
    }
    const std::wstring file = WidePath(JoinPath(fontsFolder, font.FileName));
    // The installer added the resource by its full path; a bare name is tried
    // too, for fonts Windows itself loaded from the Fonts folder.
    if (!::RemoveFontResourceW(file.c_str())) ::RemoveFontResourceW(WidePath(font.FileName).c_str());
    ::DeleteFileW(file.c_str());
    removed = true;
  }
  // Declined fonts are not kept in the value: it is deleted either way.
  ::RegDeleteValueA(run.productKey, "ProductFonts");
  if (removed) ::SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
  return !fonts.empty();
}

}  // namespace brennick::win
