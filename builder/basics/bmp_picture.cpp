#include "builder/basics/bmp_picture.h"

#include "package/bitmap_file.h"

namespace brennick::build {

BmpCheck CheckBmp(std::string_view file) {
  BmpCheck check;
  const std::optional<BitmapFile> bitmap = ReadBitmapFile(file, BitmapRules::kStrict, &check.problem);
  if (bitmap) {
    check.facts = BmpFacts{.width = bitmap->width,
                           .height = bitmap->topDown ? -bitmap->height : bitmap->height,
                           .bitCount = static_cast<std::uint16_t>(bitmap->bitsPerPixel),
                           .paletteEntries = bitmap->coloursGiven};
  }
  return check;
}

}  // namespace brennick::build
