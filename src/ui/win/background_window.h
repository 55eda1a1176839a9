#pragma once

#include <functional>

#include "foundation/win/win.h"
#include "run/background_look.h"
#include "startup/win/program.h"

namespace brennick::win {

// The window class of the background window.
inline constexpr wchar_t kBackgroundWindowClass[] = L"SEA Window Class";

// Creates and shows the full-screen window behind the installer's dialogs:
// it covers the work area (or is shown maximised: with `look().maximize`,
// or once the work area could not be read), starts minimised with
// `program.state.StartMinimized`, and carries the program's icons. `look`
// is asked again at every erase and paint, so a changed look shows at the
// next repaint (InvalidateRect). A window that cannot be created ends the
// process through the fatal path. The caller keeps the handle
// (Program::backgroundWindow); ExitInstaller destroys the window.
HWND CreateBackgroundWindow(Program& program, std::function<BackgroundLook()> look);

}  // namespace brennick::win
