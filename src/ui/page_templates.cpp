#include "ui/page_templates.h"

namespace brennick {

namespace {

const char* BaseName(PageKind page) {
  switch (page) {
    case PageKind::kGreeting:
      return "GreetingDlg";
    case PageKind::kLanguage:
      return "LanguageDlg";
    case PageKind::kLicense:
      return "LicenseDlg";
    case PageKind::kReadme:
      return "ReadmeDlg";
    case PageKind::kFolder:
      return "ChooseDirDlg";
    case PageKind::kStartMenu:
      return "StartMenuDlg";
    case PageKind::kProgress:
      return "ProgressDlg";
    case PageKind::kSummary:
      return "SummaryDlg";
  }
  return "";
}

}  // namespace

PageLook LookOfStyle(std::uint32_t style) {
  if (style == 1) return PageLook::kPicture;
  if (style == 0) return PageLook::kPlain;
  return PageLook::kBanner;
}

PageLook TemplateLook(PageKind page, std::uint32_t style) {
  const PageLook look = LookOfStyle(style);
  const bool hasPlain = page != PageKind::kGreeting && page != PageKind::kLanguage;
  return look == PageLook::kPlain && !hasPlain ? PageLook::kBanner : look;
}

std::string PageTemplateName(PageKind page, std::uint32_t style) {
  const PageLook look = TemplateLook(page, style);
  std::string name = BaseName(page);
  if (look == PageLook::kPlain) name += "2";
  if (look == PageLook::kBanner) name += "3";
  return name;
}

}  // namespace brennick
