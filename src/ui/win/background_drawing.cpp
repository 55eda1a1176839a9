#include "ui/win/background_drawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/win/path_text_win.h"
#include "package/bitmap_file.h"
#include "ui/win/gdi_scope.h"

namespace brennick::win {

namespace {

constexpr double kTitlePoints = 26.0;
constexpr double kCopyrightPoints = 16.0;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// GradientFill of msimg32.dll, loaded from the system folder at first use
// and kept for the process; nullptr when the system has none.
using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

ScopedModule LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return {};
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return ScopedModule(::LoadLibraryW(path.c_str()));
}

GradientFillFunction SystemGradientFill() {
  static const ScopedModule library = LoadSystemLibrary(L"msimg32.dll");
  // Through void*: FARPROC has no parameters, so a direct cast draws a warning.
  static const auto function = library.valid() ? reinterpret_cast<GradientFillFunction>(reinterpret_cast<void*>(
                                                     ::GetProcAddress(library.get(), "GradientFill")))
                                               : nullptr;
  return function;
}

void FillSolid(HDC dc, const RECT& area, std::uint32_t colour) {
  const ScopedBrush brush(::CreateSolidBrush(colour & kWhite));
  if (brush.valid()) ::FillRect(dc, &area, brush.get());
}

COLOR16 Channel16(std::uint32_t colour, int shift) { return static_cast<COLOR16>((colour >> shift & 0xFF) << 8); }

void FillGradient(HDC dc, const Rect& client, std::uint32_t top, std::uint32_t bottom) {
  if (const GradientFillFunction fill = SystemGradientFill()) {
    TRIVERTEX corners[2] = {
        {client.left, client.top, Channel16(top, 0), Channel16(top, 8), Channel16(top, 16), 0},
        {client.right, client.bottom, Channel16(bottom, 0), Channel16(bottom, 8), Channel16(bottom, 16), 0},
    };
    GRADIENT_RECT rect = {0, 1};
    if (fill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_V)) return;
  }
  for (const GradientBand& band : GradientBands(client.Height(), top, bottom)) {
    FillSolid(dc, {client.left, client.top + band.top, client.right, client.top + band.top + band.height}, band.colour);
  }
}

// A DIB section holding the file's pixels, with `palette` for palette bitmaps.
ScopedBitmap MakeSection(const BitmapFile& file, const std::vector<std::uint32_t>& palette) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = file.width;
  info.header.biHeight = file.topDown ? -file.height : file.height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(file.bitsPerPixel);
  info.header.biCompression = file.bitFields ? BI_BITFIELDS : BI_RGB;
  info.header.biClrUsed = static_cast<DWORD>(palette.size());
  if (file.bitFields) {
    std::memcpy(info.colours, file.masks.data(), sizeof file.masks);
  } else {
    std::memcpy(info.colours, palette.data(), std::min(palette.size(), std::size_t{256}) * sizeof(std::uint32_t));
  }
  void* bits = nullptr;
  ScopedBitmap section(
      ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section.valid() || bits == nullptr) return {};
  std::memcpy(bits, file.pixels.data(), file.pixels.size());
  return section;
}

// The bitmap repeated from (x, y) over width x height pixels of `dc`,
// combined by `operation`: built off screen by doubling the copied part.
void BlitTiled(HDC dc, int x, int y, int width, int height, HDC source, int tileWidth, int tileHeight,
               DWORD operation) {
  const ScopedMemoryDc bufferDc(::CreateCompatibleDC(dc));
  const ScopedBitmap buffer(::CreateCompatibleBitmap(dc, width, height));
  if (!bufferDc.valid() || !buffer.valid()) return;
  const SelectedObject selected(bufferDc.get(), buffer.get());
  ::BitBlt(bufferDc.get(), 0, 0, tileWidth, tileHeight, source, 0, 0, SRCCOPY);
  for (int done = tileWidth; done < width; done *= 2) {
    ::BitBlt(bufferDc.get(), done, 0, std::min(done, width - done), tileHeight, bufferDc.get(), 0, 0, SRCCOPY);
  }
  for (int done = tileHeight; done < height; done *= 2) {
    ::BitBlt(bufferDc.get(), 0, done, width, std::min(done, height - done), bufferDc.get(), 0, 0, SRCCOPY);
  }
  ::BitBlt(dc, x, y, width, height, bufferDc.get(), 0, 0, operation);
}

void DrawTiles(HDC dc, const Rect& client, const PreparedBitmap& bitmap, HDC imageDc, HDC maskDc) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  const TileGrid grid = TileGridOf(client, w, h);
  if (grid.columns == 0 || grid.rows == 0) return;
  RECT area = {client.left, client.top, client.left + grid.columns * w, client.top + grid.rows * h};
  RECT clip = {};
  if (::GetClipBox(dc, &clip) != ERROR && !::IntersectRect(&area, &area, &clip)) return;
  // From the top-left corner of the tile that holds the area's top-left corner.
  const int x = client.left + (area.left - client.left) / w * w;
  const int y = client.top + (area.top - client.top) / h * h;
  if (maskDc != nullptr) {
    BlitTiled(dc, x, y, area.right - x, area.bottom - y, maskDc, w, h, SRCAND);
    BlitTiled(dc, x, y, area.right - x, area.bottom - y, imageDc, w, h, SRCPAINT);
  } else {
    BlitTiled(dc, x, y, area.right - x, area.bottom - y, imageDc, w, h, SRCCOPY);
  }
}

void DrawBitmap(HDC dc, const Rect& client, const BackgroundLook& look, const PreparedBitmap& bitmap) {
  if (!bitmap.Ready() || bitmap.Width() <= 0 || look.bitmapSize == 0) return;
  const ScopedMemoryDc imageDc(::CreateCompatibleDC(dc));
  const ScopedMemoryDc maskDc(bitmap.Mask() != nullptr ? ::CreateCompatibleDC(dc) : nullptr);
  if (!imageDc.valid() || (bitmap.Mask() != nullptr && !maskDc.valid())) return;
  const SelectedObject image(imageDc.get(), bitmap.Image());
  const SelectedObject mask(maskDc.get(), bitmap.Mask());
  if (look.stretchMode == kTile) {
    DrawTiles(dc, client, bitmap, imageDc.get(), maskDc.get());
    return;
  }
  const Rect target = BitmapTarget(client, look.bitmapSize, look.stretchMode, bitmap.Width(), bitmap.Height());
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (maskDc.valid()) {
    // Whole source pixels only: a blend would darken the edges of the hole.
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, target.left, target.top, target.Width(), target.Height(), maskDc.get(), 0, 0, w, h, SRCAND);
    ::StretchBlt(dc, target.left, target.top, target.Width(), target.Height(), imageDc.get(), 0, 0, w, h, SRCPAINT);
    return;
  }
  // A shrunk picture averages neighbouring pixels rather than dropping them.
  const bool shrunk = target.Width() < w || target.Height() < h;
  ::SetStretchBltMode(dc, shrunk ? HALFTONE : COLORONCOLOR);
  if (shrunk) ::SetBrushOrgEx(dc, 0, 0, nullptr);
  ::StretchBlt(dc, target.left, target.top, target.Width(), target.Height(), imageDc.get(), 0, 0, w, h, SRCCOPY);
}

void DrawBackground(HDC dc, const Rect& client, const BackgroundLook& look, PreparedBitmap& bitmap) {
  if (look.monoColor) {
    FillSolid(dc, ToRect(client), look.topColor);
  } else {
    FillGradient(dc, client, look.topColor, look.bottomColor);
  }
  if (!look.bitmap.empty() && look.bitmapSize > 0) {
    bitmap.Prepare(look.bitmap, look.transparentIndex);
    DrawBitmap(dc, client, look, bitmap);
  }
}

// A text in the language's code page, measured and drawn with the wide
// functions when it converts, else with the 8-bit ones.
class LanguageText {
 public:
  LanguageText(const std::string& text, unsigned codePage) : narrow_(text), wide_(WideInCodePage(text, codePage)) {}

  SIZE Extent(HDC dc) const {
    SIZE size = {};
    if (wide_) {
      ::GetTextExtentPoint32W(dc, wide_->c_str(), static_cast<int>(wide_->size()), &size);
    } else {
      ::GetTextExtentPoint32A(dc, narrow_.c_str(), static_cast<int>(narrow_.size()), &size);
    }
    return size;
  }

  void Draw(HDC dc, const Rect& box, UINT format) const {
    RECT rect = ToRect(box);
    if (wide_) {
      ::DrawTextW(dc, wide_->c_str(), static_cast<int>(wide_->size()), &rect, format);
    } else {
      ::DrawTextA(dc, narrow_.c_str(), static_cast<int>(narrow_.size()), &rect, format);
    }
  }

 private:
  const std::string& narrow_;
  std::optional<std::wstring> wide_;
};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool FaceInstalled(HDC dc, const std::string& face, unsigned codePage) {
  const std::wstring wide = ToWide(face, codePage);
  if (wide.empty() || wide.size() >= LF_FACESIZE) return false;
  LOGFONTW wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wide.copy(wanted.lfFaceName, wide.size());
  bool found = false;
  ::EnumFontFamiliesExW(dc, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

ScopedFont MakeFont(int height, const std::wstring& face) {
  return ScopedFont(::CreateFontW(height, 0, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

UINT AlignmentOf(TextAlign align) {
  switch (align) {
    case TextAlign::Centre:
      return DT_CENTER;
    case TextAlign::Right:
      return DT_RIGHT;
    case TextAlign::Left:
      break;
  }
  return DT_LEFT;
}

struct TextStyle {
  const std::string& text;
  const std::string& faces;
  double points;
  std::uint32_t colour;
  int position;
  int shadow;      // distance of the black copy and part of the margins
  bool blackCopy;  // a black copy is drawn first
};

void DrawLookText(HDC dc, const Rect& client, const TextStyle& style, unsigned codePage) {
  if (style.text.empty() || style.position == 0) return;
  const std::wstring face = ToWide(
      ChooseFace(style.faces, [&](const std::string& name) { return FaceInstalled(dc, name, codePage); }), codePage);
  const LanguageText text(style.text, codePage);
  const FittedFont fitted =
      FitFont(style.points, ::GetDeviceCaps(dc, LOGPIXELSY), client, style.shadow, [&](int height) {
        const ScopedFont font = MakeFont(height, face);
        const SelectedObject selected(dc, font.get());
        return static_cast<int>(text.Extent(dc).cx);
      });
  const ScopedFont font = MakeFont(fitted.heightPixels, face);
  const SelectedObject selected(dc, font.get());
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc, &metrics);
  const auto placement = PlaceText(client, style.position, style.shadow, text.Extent(dc).cy, metrics.tmHeight);
  if (!placement) return;
  const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP | AlignmentOf(placement->align);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = ::GetTextColor(dc);
  if (style.blackCopy) {
    ::SetTextColor(dc, kBlack);
    text.Draw(dc, placement->shadowBox, format);
  }
  ::SetTextColor(dc, style.colour & kWhite);
  text.Draw(dc, placement->box, format);
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
}

}  // namespace

std::optional<std::wstring> WideInCodePage(const std::string& text, unsigned codePage) {
  std::wstring wide = ToWide(text, codePage);
  if (wide.empty() && !text.empty()) return std::nullopt;
  return wide;
}

void PreparedBitmap::Prepare(const std::string& bytes, std::int32_t transparentIndex) {
  if (prepared_ && bytes == bytes_ && transparentIndex == transparentIndex_) return;
  prepared_ = true;
  bytes_ = bytes;
  transparentIndex_ = transparentIndex;
  image_.reset();
  mask_.reset();
  width_ = height_ = 0;
  const std::optional<BitmapFile> file = ReadBitmapFile(bytes_);
  if (!file) return;
  const bool transparent = transparentIndex >= 0 && static_cast<std::size_t>(transparentIndex) < file->palette.size();
  if (transparent) {
    std::vector<std::uint32_t> picture = file->palette;
    picture[static_cast<std::size_t>(transparentIndex)] = kBlack;
    std::vector<std::uint32_t> mask(file->palette.size(), kBlack);
    mask[static_cast<std::size_t>(transparentIndex)] = kWhite;
    image_ = MakeSection(*file, picture);
    mask_ = MakeSection(*file, mask);
    if (!mask_.valid()) image_.reset();
  } else {
    image_ = MakeSection(*file, file->palette);
  }
  if (image_.valid()) {
    width_ = file->width;
    height_ = file->height;
  }
}

void EraseBackground(HDC dc, const Rect& client, const BackgroundLook& look, PreparedBitmap& bitmap) {
  RECT clip = {};
  const int region = ::GetClipBox(dc, &clip);
  if (region == NULLREGION) return;
  if (region == ERROR) clip = ToRect(client);
  const int width = clip.right - clip.left;
  const int height = clip.bottom - clip.top;
  const ScopedMemoryDc bufferDc(::CreateCompatibleDC(dc));
  const ScopedBitmap buffer(::CreateCompatibleBitmap(dc, width, height));
  if (!bufferDc.valid() || !buffer.valid()) {
    DrawBackground(dc, client, look, bitmap);
    return;
  }
  const SelectedObject selected(bufferDc.get(), buffer.get());
  // The buffer's first pixel stands for the clip box's top-left corner.
  ::SetWindowOrgEx(bufferDc.get(), clip.left, clip.top, nullptr);
  DrawBackground(bufferDc.get(), client, look, bitmap);
  ::BitBlt(dc, clip.left, clip.top, width, height, bufferDc.get(), clip.left, clip.top, SRCCOPY);
}

void PaintTexts(HDC dc, const Rect& client, const BackgroundLook& look) {
  const bool blackCopies = look.titleShadow != 0;
  DrawLookText(dc, client,
               {look.title, look.titleFont, kTitlePoints * look.titleSize, look.titleColor, look.titlePosition,
                look.titleShadow, blackCopies},
               look.codePage);
  DrawLookText(dc, client,
               {look.copyrightText, look.copyrightFont, kCopyrightPoints * look.copyrightSize, look.copyrightColor,
                look.copyrightPosition, 0, blackCopies},
               look.codePage);
}

}  // namespace brennick::win
