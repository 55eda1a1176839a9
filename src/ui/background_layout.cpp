#include "ui/background_layout.h"

#include <algorithm>
#include <cmath>

namespace brennick {

namespace {

// Coordinates are kept inside the space the system's drawing calls accept,
// however large a stored percentage is.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 27;

// A size factor read from a damaged key could ask for any number of points;
// the fitting loop starts no higher than this, so it always ends quickly.
constexpr double kLargestPoints = 1000.0;

// Not a number counts as 0.
double StartingPoints(double points) {
  return std::isnan(points) ? 0.0 : std::clamp(points, -kLargestPoints, kLargestPoints);
}

int Coordinate(std::int64_t value) { return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit)); }

Rect RectOf(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
  return {Coordinate(left), Coordinate(top), Coordinate(left + width), Coordinate(top + height)};
}

int Channel(std::uint32_t colour, int shift) { return static_cast<int>(colour >> shift & 0xFF); }

// The bitmap's proportions inside `target`: the limiting side keeps its
// length; centred.
Rect FitInto(const Rect& target, std::int64_t bitmapWidth, std::int64_t bitmapHeight) {
  const std::int64_t width = target.Width();
  const std::int64_t height = target.Height();
  std::int64_t fitWidth = width;
  std::int64_t fitHeight = height;
  if (width * bitmapHeight > height * bitmapWidth) {
    fitWidth = height * bitmapWidth / bitmapHeight;
  } else {
    fitHeight = width * bitmapHeight / bitmapWidth;
  }
  return RectOf(target.left + (width - fitWidth) / 2, target.top + (height - fitHeight) / 2, fitWidth, fitHeight);
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<GradientBand> GradientBands(int height, std::uint32_t topColour, std::uint32_t bottomColour) {
  std::vector<GradientBand> bands;
  if (height <= 0) return bands;
  const int bandHeight = std::clamp(height / 224, 1, 3);
  const int count = height / bandHeight + (height % bandHeight != 0 ? 1 : 0);
  bands.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::uint32_t colour = 0;
    for (const int shift : {0, 8, 16}) {
      const int top = Channel(topColour, shift);
      // Equal steps of (bottom - top) / count, the remainder added one unit
      // at a time at evenly spaced bands.
      const std::int64_t value = top + std::int64_t{Channel(bottomColour, shift) - top} * i / count;
      colour |= static_cast<std::uint32_t>(value) << shift;
    }
    const int top = i * bandHeight;
    bands.push_back({top, std::min(bandHeight, height - top), colour});
  }
  return bands;
}

Rect BitmapTarget(const Rect& client, std::uint32_t sizePercent, std::uint32_t mode, int bitmapWidth,
                  int bitmapHeight) {
  const std::int64_t width = client.Width();
  const std::int64_t height = client.Height();
  const std::int64_t targetWidth = width * sizePercent / 100;
  const std::int64_t targetHeight = height * sizePercent / 100;
  const Rect target = RectOf(client.left + (width - targetWidth) / 2, client.top + (height - targetHeight) / 2,
                             targetWidth, targetHeight);
  if (bitmapWidth <= 0 || bitmapHeight <= 0) return target;
  if (mode == kIntegerMultiple) {
    const std::int64_t multiple = std::min(target.Width() / bitmapWidth, target.Height() / bitmapHeight);
    if (multiple >= 1) {
      const std::int64_t w = multiple * bitmapWidth;
      const std::int64_t h = multiple * bitmapHeight;
      return RectOf(target.left + (target.Width() - w) / 2, target.top + (target.Height() - h) / 2, w, h);
    }
    return FitInto(target, bitmapWidth, bitmapHeight);
  }
  if (mode == kFitProportions) return FitInto(target, bitmapWidth, bitmapHeight);
  return target;
}

TileGrid TileGridOf(const Rect& client, int bitmapWidth, int bitmapHeight) {
  if (bitmapWidth <= 0 || bitmapHeight <= 0 || client.Width() <= 0 || client.Height() <= 0) return {};
  const int width = client.Width();
  const int height = client.Height();
  return {width / bitmapWidth + (width % bitmapWidth != 0 ? 1 : 0),
          height / bitmapHeight + (height % bitmapHeight != 0 ? 1 : 0)};
}

TextMargins MarginsOf(const Rect& client) { return {client.Width() / 200, client.Height() / 400}; }

std::vector<std::string> SplitFaceList(std::string_view list) {
  std::vector<std::string> faces;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view face = Trimmed(list.substr(0, comma));
    if (!face.empty()) faces.emplace_back(face);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return faces;
}

std::string ChooseFace(std::string_view list, const std::function<bool(const std::string&)>& installed) {
  for (std::string& face : SplitFaceList(list)) {
    if (installed(face)) return face;
  }
  return "Arial";
}

int FontHeightPixels(double points, int dpiY) { return static_cast<int>(dpiY * StartingPoints(points) / 72.0); }

FittedFont FitFont(double startPoints, int dpiY, const Rect& client, int shadow,
                   const std::function<int(int heightPixels)>& measureWidth) {
  double points = StartingPoints(startPoints);
  const TextMargins margins = MarginsOf(client);
  while (true) {
    const int height = FontHeightPixels(points, dpiY);
    if (points <= 6) return {points, height};
    const std::int64_t extent = std::int64_t{measureWidth(height)} + margins.x + shadow;
    if (extent < client.right) return {points, height};
    points -= 1;
  }
}

std::optional<TextPlacement> PlaceText(const Rect& client, int position, int shadow, int textHeight, int fontHeight) {
  if (position <= 0) return std::nullopt;
  if (position > 6) position = 1;
  static constexpr TextAlign kAlign[] = {TextAlign::Left, TextAlign::Centre, TextAlign::Right};
  TextPlacement placement;
  placement.align = kAlign[(position - 1) % 3];
  const TextMargins margins = MarginsOf(client);
  const int top = position >= 4 ? client.bottom - textHeight - margins.y - shadow : margins.y;
  placement.box = {margins.x, top, margins.x + client.right - 2 * (shadow + margins.x), top + fontHeight};
  placement.shadowBox = {placement.box.left + shadow, placement.box.top + shadow, placement.box.right + shadow,
                         placement.box.bottom + shadow};
  return placement;
}

}  // namespace brennick
