#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"
#include "run/background_look.h"
#include "ui/background_layout.h"

namespace brennick::win {

// The background bitmap made ready for drawing: the picture and, with a
// transparent palette index, the picture with that entry black and a mask
// that is white exactly where that entry is used. Kept from one erase to
// the next while the bytes and the index stay the same.
class PreparedBitmap {
 public:
  // Prepares `bytes` unless they are what was prepared last time. A file
  // that cannot be read leaves nothing prepared.
  void Prepare(const std::string& bytes, std::int32_t transparentIndex);

  bool Ready() const { return image_.valid(); }
  HBITMAP Image() const { return image_.get(); }
  HBITMAP Mask() const { return mask_.get(); }  // nullptr: drawn opaque
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  std::string bytes_;
  std::int32_t transparentIndex_ = -1;
  bool prepared_ = false;
  ScopedBitmap image_;
  ScopedBitmap mask_;
  int width_ = 0;
  int height_ = 0;
};

// Erases the part of `client` that `dc` lets through (its clip box): the
// plain colour or the gradient, then the bitmap. Drawn off screen first, so
// the screen never shows the stages.
void EraseBackground(HDC dc, const Rect& client, const BackgroundLook& look, PreparedBitmap& bitmap);

// The title, then the copyright text.
void PaintTexts(HDC dc, const Rect& client, const BackgroundLook& look);

// `text` as wide text when it converts in `codePage` (empty text always does).
std::optional<std::wstring> WideInCodePage(const std::string& text, unsigned codePage);

}  // namespace brennick::win
