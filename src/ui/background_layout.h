#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennick {

// The geometry of the background window: where the gradient bands, the
// bitmap and the two texts go. The window's edge only draws what these
// rules decide. Rectangles are right- and bottom-exclusive, like Windows'.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// One band of the gradient that is drawn without the system's gradient fill.
struct GradientBand {
  int top = 0;  // from the client area's top edge
  int height = 0;
  std::uint32_t colour = 0;  // COLORREF
  bool operator==(const GradientBand&) const = default;
};

// Bands of 1 to 3 pixels (the height / 224) down the whole height, the last
// one shorter when the height is not a multiple; each channel steps from the
// top colour toward the bottom colour by equal integer amounts, the
// remainder spread evenly over the bands.
std::vector<GradientBand> GradientBands(int height, std::uint32_t topColour, std::uint32_t bottomColour);

// Stretch modes of the background bitmap.
enum BitmapStretch : std::uint32_t {
  kStretchToTarget = 0,
  kFitProportions = 1,
  kIntegerMultiple = 2,
  kTile = 3,
};

// Where the bitmap goes in modes other than tiling: the client area scaled
// by `sizePercent` about its centre, then shaped by the mode (other values
// stretch like mode 0).
Rect BitmapTarget(const Rect& client, std::uint32_t sizePercent, std::uint32_t mode, int bitmapWidth, int bitmapHeight);

// Tiling: unscaled copies in a grid from the client's top-left corner;
// a part of a tile counts as a whole column or row.
struct TileGrid {
  int columns = 0;
  int rows = 0;
  bool operator==(const TileGrid&) const = default;
};
TileGrid TileGridOf(const Rect& client, int bitmapWidth, int bitmapHeight);

// The margins of both texts: a 200th of the width, a 400th of the height.
struct TextMargins {
  int x = 0;
  int y = 0;
};
TextMargins MarginsOf(const Rect& client);

// The face names of a comma-separated list, each trimmed; empty names left out.
std::vector<std::string> SplitFaceList(std::string_view list);

// The first face of `list` that `installed` knows; "Arial" when none is.
std::string ChooseFace(std::string_view list, const std::function<bool(const std::string&)>& installed);

// A font's height in pixels for a size in points at a vertical resolution.
int FontHeightPixels(double points, int dpiY);

// The size a text is drawn at: from `startPoints` down one point at a time
// until the text's width (measured at a pixel height) plus the horizontal
// margin and the shadow distance stays left of the client's right edge;
// at 6 points or less the size is taken whether the text fits or not.
struct FittedFont {
  double points = 0;
  int heightPixels = 0;
};
FittedFont FitFont(double startPoints, int dpiY, const Rect& client, int shadow,
                   const std::function<int(int heightPixels)>& measureWidth);

enum class TextAlign { Left, Centre, Right };

// Where a text of `position` (1-6; higher values as 1) goes: the box it is
// drawn in, its alignment in the box, and the box of its black copy (moved
// right and down by the shadow distance). Nothing for position 0.
struct TextPlacement {
  TextAlign align = TextAlign::Left;
  Rect box;
  Rect shadowBox;
  bool operator==(const TextPlacement&) const = default;
};
std::optional<TextPlacement> PlaceText(const Rect& client, int position, int shadow, int textHeight, int fontHeight);

}  // namespace brennick
