#include "ui/summary_layout.h"

namespace brennick {

std::array<SummaryBox, 4> LayOutSummaryBoxes(PageLook look, const std::array<bool, 4>& offered) {
  constexpr EndChoice kOrder[] = {EndChoice::kLaunch, EndChoice::kRunProgram, EndChoice::kOpenDocument,
                                  EndChoice::kViewLog};
  int shownCount = 0;
  for (bool shown : offered) shownCount += shown ? 1 : 0;
  int x = 20, y = 78;
  if (look == PageLook::kPicture) {
    x = 102;
    y = 52;
  } else if (look == PageLook::kPlain) {
    x = 4;
    y = 32 + ((4 - shownCount) * 14) / 2;
  }
  std::array<SummaryBox, 4> boxes{};
  for (int i = 0; i < 4; ++i) {
    boxes[i].choice = kOrder[i];
    boxes[i].shown = offered[i];
    if (!offered[i]) continue;
    boxes[i].x = x;
    boxes[i].y = y;
    boxes[i].width = 275;
    boxes[i].height = 9;
    y += 14;
  }
  return boxes;
}

}  // namespace brennick
