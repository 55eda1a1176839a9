#include "ui/win/page_setup.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "run/win/button_pictures.h"
#include "startup/installer_settings.h"
#include "ui/win/gdi_scope.h"

namespace brennick::win {

namespace {

// A page picture as loaded from the resources, once per process.
HBITMAP SourcePicture(HINSTANCE instance, int id) {
  static std::map<int, ScopedBitmap> loaded;
  auto found = loaded.find(id);
  if (found == loaded.end()) {
    found = loaded
                .emplace(id, ScopedBitmap(static_cast<HBITMAP>(
                                 ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR))))
                .first;
  }
  return found->second.get();
}

// The picture scaled to a control's size with smoothing: the control's own
// stretching mixes palette entries into false edges. 24 bits per pixel, so
// that no alpha channel makes it transparent. Kept for the process: every
// page of one look has controls of the same size.
HBITMAP ScaledPicture(HINSTANCE instance, int id, int width, int height) {
  static std::map<std::tuple<int, int, int>, ScopedBitmap> scaled;
  const auto key = std::make_tuple(id, width, height);
  if (const auto found = scaled.find(key); found != scaled.end()) return found->second.get();
  const HBITMAP source = SourcePicture(instance, id);
  BITMAP size = {};
  if (source == nullptr || ::GetObjectW(source, sizeof size, &size) == 0 || width <= 0 || height <= 0) return source;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ScopedBitmap picture(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const ScopedMemoryDc from(::CreateCompatibleDC(nullptr));
  const ScopedMemoryDc to(::CreateCompatibleDC(nullptr));
  if (!picture.valid() || !from.valid() || !to.valid()) return source;
  {
    const SelectedObject fromPicture(from.get(), source);
    const SelectedObject toPicture(to.get(), picture.get());
    ::SetStretchBltMode(to.get(), HALFTONE);
    ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
    ::StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  }
  return scaled.emplace(key, std::move(picture)).first->second.get();
}

void ShowPicture(Program& program, HWND dialog, int controlId, int pictureId) {
  const HWND control = ::GetDlgItem(dialog, controlId);
  if (control == nullptr) return;
  RECT client = {};
  ::GetClientRect(control, &client);
  const HBITMAP picture = ScaledPicture(program.instance, pictureId, client.right, client.bottom);
  if (picture != nullptr) ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void FrameSidePicture(Program& program, HWND dialog) {
  const HWND control = ::GetDlgItem(dialog, IDC_SIDE_PICTURE);
  if (control == nullptr) return;
  const std::uint8_t frame = program.state.Settings.SidePictureFrame;
  if (frame == 0) return;
  LONG_PTR exStyle = ::GetWindowLongPtrW(control, GWL_EXSTYLE);
  LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
  if (frame == 1) exStyle |= WS_EX_CLIENTEDGE;
  if (frame == 2) style |= WS_BORDER;
  ::SetWindowLongPtrW(control, GWL_EXSTYLE, exStyle);
  ::SetWindowLongPtrW(control, GWL_STYLE, style);
  ::SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

void SetWindowTextInLanguage(HWND window, const std::string& text) {
  const std::wstring wide = ToWide(text, kLanguageCodePage);
  if (!wide.empty() || text.empty()) {
    ::SetWindowTextW(window, wide.c_str());
  } else {
    ::SetWindowTextA(window, text.c_str());
  }
}

void SetItemText(HWND dialog, int id, const std::string& text) {
  if (const HWND control = ::GetDlgItem(dialog, id)) SetWindowTextInLanguage(control, text);
}

std::wstring ItemTextWide(HWND control) {
  const int length = ::GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int read = ::GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(read, 0)));
  return text;
}

void InitPage(Program& program, HWND dialog) {
  if (const HMENU menu = ::GetSystemMenu(dialog, FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  PlacePage(program, dialog);
}

void PlacePage(Program& program, HWND dialog) {
  if (HasFlag(program.state.Settings.ProductFlags, flags::kPageIcons)) {
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(program.largeIcon.get()));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(program.smallIcon.get()));
  }
  RECT frame = {};
  ::GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  const int x = std::max(0, (screenWidth - width) / 2);
  const int y = std::max(0, (screenHeight - height) / 2);
  ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetPageTitles(Program& program, HWND dialog, PageLook look, const std::string& title,
                   const std::string& bannerCaption, const std::string& heading) {
  if (look == PageLook::kBanner) {
    SetWindowTextInLanguage(dialog, bannerCaption);
    SetItemText(dialog, IDC_BANNER_HEADING, heading);
    SetItemText(dialog, IDC_BANNER_TITLE, title);
    ShowPicture(program, dialog, IDC_BANNER, IDB_BANNER);
  } else {
    SetWindowTextInLanguage(dialog, title);
    if (look == PageLook::kPicture) {
      FrameSidePicture(program, dialog);
      ShowPicture(program, dialog, IDC_SIDE_PICTURE, IDB_SIDE_PICTURE);
    }
  }
  ::InvalidateRect(dialog, nullptr, TRUE);
}

void SetWizardPageTitles(Program& program, HWND dialog, PageLook look, MessageId title) {
  InstallerState& state = program.state;
  // Copies: a later lookup may change the table the references point into.
  const std::string titleText = Message(state, title);
  const std::string caption = Message(state, MessageId::kInstallerCaption);
  const std::string heading = ReplaceProductText(state.Settings.WindowTitle, ProductTextOf(state));
  SetPageTitles(program, dialog, look, titleText, caption, heading);
}

void SetButtonLabel(Program& program, HWND dialog, int id, const std::string& label, int pictureId) {
  const HWND button = ::GetDlgItem(dialog, id);
  if (button == nullptr) return;
  if (HasFlag(program.state.Settings.ProductFlags2, flags::kButtonPictures) && pictureId != 0) {
    SetWindowTextInLanguage(button, " " + label);
    AddButtonPicture(button, pictureId);
  } else {
    SetWindowTextInLanguage(button, label);
  }
}

void SetButtonLabel(Program& program, HWND dialog, int id, MessageId label, int pictureId) {
  const std::string text = Message(program.state, label);
  SetButtonLabel(program, dialog, id, text, pictureId);
}

}  // namespace brennick::win
