#include "ui/win/background_window.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "foundation/fatal.h"
#include "foundation/win/system_error_text.h"
#include "ui/win/background_drawing.h"

namespace brennick::win {

namespace {

constexpr char kAnsiClassName[] = "SEA Window Class";

// What the window keeps: how to learn its look, and the bitmap made ready
// from it. The window owns it once it exists; until then its creator does.
struct WindowData {
  explicit WindowData(std::function<BackgroundLook()> lookOf) : look(std::move(lookOf)) {}
  std::function<BackgroundLook()> look;
  PreparedBitmap bitmap;
  bool ownedByWindow = false;
};

WindowData* DataOf(HWND window) { return reinterpret_cast<WindowData*>(::GetWindowLongPtrW(window, GWLP_USERDATA)); }

Rect ClientOf(HWND window) {
  RECT client = {};
  ::GetClientRect(window, &client);
  return {client.left, client.top, client.right, client.bottom};
}

LRESULT CALLBACK BackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      // The creation parameter lies at the same place in the 8-bit and the wide structure.
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      if (WindowData* data = DataOf(window)) {
        EraseBackground(reinterpret_cast<HDC>(wParam), ClientOf(window), data->look(), data->bitmap);
        return 1;
      }
      break;
    case WM_PAINT:
      if (WindowData* data = DataOf(window)) {
        PAINTSTRUCT paint = {};
        if (const HDC dc = ::BeginPaint(window, &paint)) PaintTexts(dc, ClientOf(window), data->look());
        ::EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      // The texts into another device context; its background comes with WM_ERASEBKGND.
      if (WindowData* data = DataOf(window)) {
        PaintTexts(reinterpret_cast<HDC>(wParam), ClientOf(window), data->look());
        return 0;
      }
      break;
    case WM_NCDESTROY:
      if (WindowData* data = DataOf(window)) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const std::unique_ptr<WindowData> owned(data->ownedByWindow ? data : nullptr);
      }
      break;
    default:
      break;
  }
  return ::IsWindowUnicode(window) ? ::DefWindowProcW(window, message, wParam, lParam)
                                   : ::DefWindowProcA(window, message, wParam, lParam);
}

// Each class is registered once per process; a class of that name that
// already exists (the other form's) serves as well.
bool RegisterWideClass(HINSTANCE instance) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW type = {};
    type.style = CS_HREDRAW | CS_VREDRAW;
    type.lpfnWndProc = BackgroundProc;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    type.lpszClassName = kBackgroundWindowClass;
    registered = ::RegisterClassW(&type) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return registered;
}

bool RegisterAnsiClass(HINSTANCE instance) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA type = {};
    type.style = CS_HREDRAW | CS_VREDRAW;
    type.lpfnWndProc = BackgroundProc;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    type.lpszClassName = kAnsiClassName;
    registered = ::RegisterClassA(&type) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return registered;
}

[[noreturn]] void CreationFailed(DWORD error) {
  FatalError(
      "Failed to create the installer's window.  Please reboot your machine and try again.\r\n\r\nError code %d: %s",
      static_cast<int>(error), SystemErrorText(error).c_str());
}

}  // namespace

HWND CreateBackgroundWindow(Program& program, std::function<BackgroundLook()> look) {
  // A failed work-area query turns to the maximised window for the rest of the run.
  static bool workAreaFailed = false;
  const BackgroundLook first = look();
  const HINSTANCE instance = program.instance != nullptr ? program.instance : ::GetModuleHandleW(nullptr);
  const bool minimized = program.state.StartMinimized;

  RECT area = {};
  bool maximized = first.maximize || workAreaFailed;
  if (!maximized && !::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    workAreaFailed = true;
    maximized = true;
  }
  if (maximized) area = {0, 0, 1, 1};
  const DWORD style = WS_POPUP | (minimized ? WS_MINIMIZE : 0);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;

  auto data = std::make_unique<WindowData>(std::move(look));
  HWND window = nullptr;
  const std::optional<std::wstring> wideTitle = WideInCodePage(first.taskbarText, first.codePage);
  if (wideTitle && RegisterWideClass(instance)) {
    window = ::CreateWindowExW(0, kBackgroundWindowClass, wideTitle->c_str(), style, area.left, area.top, width, height,
                               nullptr, nullptr, instance, data.get());
  }
  if (window == nullptr) {
    if (!RegisterAnsiClass(instance)) CreationFailed(::GetLastError());
    window = ::CreateWindowExA(0, kAnsiClassName, first.taskbarText.c_str(), style, area.left, area.top, width, height,
                               nullptr, nullptr, instance, data.get());
    if (window == nullptr) CreationFailed(::GetLastError());
  }
  data->ownedByWindow = true;
  static_cast<void>(data.release());  // the window deletes it when it is destroyed

  ::ShowWindow(window, SW_HIDE);
  ::ShowWindow(window, maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  if (minimized) ::ShowWindow(window, SW_MINIMIZE);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  ::UpdateWindow(window);
  if (program.largeIcon.valid()) {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(program.largeIcon.get()));
  }
  if (program.smallIcon.valid()) {
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(program.smallIcon.get()));
  }
  return window;
}

}  // namespace brennick::win
