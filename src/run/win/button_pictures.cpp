#include "run/win/button_pictures.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

#include "foundation/win/scoped_handle.h"

namespace brennick::win {

namespace {

// A window's device context, given back when done.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The picture as an icon whose mask leaves out the colour of the picture's
// top left pixel (the grey around the drawing), so that the drawing sits on
// the button face however the theme paints it.
ScopedIcon PictureIcon(int bitmapId) {
  const ScopedBitmap picture(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP facts = {};
  if (!picture || ::GetObjectW(picture.get(), sizeof facts, &facts) == 0) return {};
  const int width = facts.bmWidth;
  const int height = std::abs(facts.bmHeight);

  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  {
    const WindowDc screen(nullptr);
    if (::GetDIBits(screen.get(), picture.get(), 0, height, pixels.data(), &format, DIB_RGB_COLORS) != height)
      return {};
  }

  // The mask: one bit a pixel, rows in whole 16-bit words, set where the
  // background shows through; the colour: opaque drawing, black elsewhere.
  const std::uint32_t background = pixels[0] & 0xFFFFFFu;
  const int maskStride = (width + 15) / 16 * 2;
  std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskStride) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t& pixel = pixels[static_cast<std::size_t>(y) * width + x];
      if ((pixel & 0xFFFFFFu) == background) {
        maskBits[static_cast<std::size_t>(y) * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        pixel = 0;
      } else {
        pixel |= 0xFF000000u;
      }
    }
  }
  const ScopedBitmap mask(::CreateBitmap(width, height, 1, 1, maskBits.data()));
  void* colourBits = nullptr;
  const ScopedBitmap colour(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &colourBits, nullptr, 0));
  if (!mask || !colour || colourBits == nullptr) return {};
  std::memcpy(colourBits, pixels.data(), pixels.size() * sizeof pixels[0]);
  ::GdiFlush();
  ICONINFO parts = {TRUE, 0, 0, mask.get(), colour.get()};
  return ScopedIcon(::CreateIconIndirect(&parts));
}

// The pictures, made on first use and kept until the process ends: the
// buttons of every page and box share them.
HICON ButtonIcon(int bitmapId) {
  static std::map<int, ScopedIcon> made;
  auto found = made.find(bitmapId);
  if (found == made.end()) found = made.emplace(bitmapId, PictureIcon(bitmapId)).first;
  return found->second.get();
}

// The width a button needs for its text, its picture and its margins, in
// pixels: the text measured with the button's font (without the mnemonic
// marks; a blank that leads it keeps the picture off the text), and two
// average characters on either side.
int WidthForLabelAndPicture(HWND button) {
  wchar_t text[256] = {};
  ::GetWindowTextW(button, text, static_cast<int>(std::size(text)));
  const WindowDc dc(button);
  if (dc.get() == nullptr) return 0;
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = font != nullptr ? ::SelectObject(dc.get(), font) : nullptr;
  RECT label = {};
  ::DrawTextW(dc.get(), text, -1, &label, DT_CALCRECT | DT_SINGLELINE);
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc.get(), &metrics);
  if (previous != nullptr) ::SelectObject(dc.get(), previous);

  int pictureWidth = 0;
  const auto picture = reinterpret_cast<HICON>(::SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));
  ICONINFO parts = {};
  if (picture != nullptr && ::GetIconInfo(picture, &parts)) {
    // GetIconInfo hands over copies of the icon's bitmaps.
    const ScopedBitmap mask(parts.hbmMask);
    const ScopedBitmap colour(parts.hbmColor);
    BITMAP facts = {};
    if (::GetObjectW(mask.get(), sizeof facts, &facts) != 0) pictureWidth = facts.bmWidth;
  }
  return (label.right - label.left) + pictureWidth + 4 * metrics.tmAveCharWidth;
}

bool IsButton(HWND window) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, className, -1, L"Button", -1) == CSTR_EQUAL;
}

struct Placed {
  HWND window;
  RECT rect;  // in the parent's client coordinates
};

RECT RectInParent(HWND window, HWND parent) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The visible buttons beside `button` (those that share part of its height),
// left to right, itself included.
std::vector<Placed> ButtonRow(HWND button, HWND parent) {
  const RECT own = RectInParent(button, parent);
  std::vector<Placed> row;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child != button && (!::IsWindowVisible(child) || !IsButton(child))) continue;
    const RECT rect = RectInParent(child, parent);
    if (rect.bottom <= own.top || rect.top >= own.bottom) continue;
    row.push_back({child, rect});
  }
  std::sort(row.begin(), row.end(), [](const Placed& a, const Placed& b) { return a.rect.left < b.rect.left; });
  return row;
}

}  // namespace

void AddButtonPicture(HWND button, int bitmapId) {
  if (button == nullptr) return;
  const HICON picture = ButtonIcon(bitmapId);
  if (picture != nullptr) ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
}

void WidenButtonForPicture(HWND button) {
  const HWND parent = button != nullptr ? ::GetParent(button) : nullptr;
  if (parent == nullptr) return;
  const std::vector<Placed> row = ButtonRow(button, parent);
  const auto own = std::find_if(row.begin(), row.end(), [&](const Placed& p) { return p.window == button; });
  if (own == row.end()) return;
  const int growth = WidthForLabelAndPicture(button) - (own->rect.right - own->rect.left);
  if (growth <= 0) return;

  RECT client = {};
  ::GetClientRect(parent, &client);
  const int leftMargin = row.front().rect.left;
  const int rightMargin = client.right - row.back().rect.right;
  // Boxes either centre their buttons or set them against the right edge.
  const bool rightAligned = rightMargin < leftMargin - 2;
  const int edge = std::max(0, std::min(leftMargin, rightMargin));

  // The row keeps its gaps, so it grows by as much as the button.
  const int rowWidth = row.back().rect.right - row.front().rect.left + growth;
  int clientWidth = client.right;
  const int roomNeeded = rightAligned ? edge + rowWidth + rightMargin : edge + rowWidth + edge;
  if (roomNeeded > clientWidth) {
    // The window grows about its centre.
    const int wider = roomNeeded - clientWidth;
    RECT frame = {};
    ::GetWindowRect(parent, &frame);
    POINT topLeft = {frame.left, frame.top};
    if (const HWND container = ::GetAncestor(parent, GA_PARENT);
        container != nullptr && container != ::GetDesktopWindow()) {
      ::ScreenToClient(container, &topLeft);
    }
    ::SetWindowPos(parent, nullptr, topLeft.x - wider / 2, topLeft.y, frame.right - frame.left + wider,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    clientWidth += wider;
  }

  int x = rightAligned ? clientWidth - rightMargin - rowWidth : (clientWidth - rowWidth) / 2;
  for (auto placed = row.begin(); placed != row.end(); ++placed) {
    if (placed != row.begin()) x += placed->rect.left - std::prev(placed)->rect.right;
    const int width = placed->rect.right - placed->rect.left + (placed == own ? growth : 0);
    ::SetWindowPos(placed->window, nullptr, x, placed->rect.top, width, placed->rect.bottom - placed->rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    x += width;
  }
}

}  // namespace brennick::win
