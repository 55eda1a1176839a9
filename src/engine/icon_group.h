#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brennick {

// An icon file taken apart for the resource table of an executable: its
// images, which become icon resources 1, 2, 3, ... in file order, and the
// directory of the icon-group resource that lists them. The group's directory
// is the file's 6-byte header followed by one 14-byte entry per image: the
// first 12 bytes of the file's 16-byte entry (width, height, colour count,
// reserved, planes, bit count, image size) and the image's 16-bit resource
// number in place of its file offset.
struct IconGroup {
  std::vector<std::span<const std::uint8_t>> images;  // within the file
  std::vector<std::uint8_t> directory;
};

// Nothing when the file is not a usable icon: a header other than reserved 0
// and type 1, no image, a directory longer than the file, or an image that is
// empty or reaches past the end of the file.
std::optional<IconGroup> IconGroupOf(std::span<const std::uint8_t> file);

}  // namespace brennick
