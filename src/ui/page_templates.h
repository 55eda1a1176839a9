#pragma once

#include <cstdint>
#include <string>

namespace brennick {

// The wizard pages that come in several looks, in the order of their entries
// in the settings' page styles.
enum class PageKind : int {
  kGreeting = 0,
  kLanguage = 1,
  kLicense = 2,
  kReadme = 3,
  kFolder = 4,
  kStartMenu = 5,
  kProgress = 6,
  kSummary = 7,
};

// The three looks: a picture column on the left, plain, a banner on top.
enum class PageLook { kPicture, kPlain, kBanner };

// Style 1 is the picture look, 0 the plain one, every other number the
// banner; the greeting and language pages have no plain template and take
// the banner one instead (the plain greeting is a message box).
PageLook LookOfStyle(std::uint32_t style);

// The look of the template a page shows in a style: the style's look, but
// the banner one where the page has no plain template.
PageLook TemplateLook(PageKind page, std::uint32_t style);

// The dialog template of a page in a style: the page's name followed by
// "Dlg", "Dlg2" or "Dlg3".
std::string PageTemplateName(PageKind page, std::uint32_t style);

}  // namespace brennick
