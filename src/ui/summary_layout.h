#pragma once

#include <array>
#include <cstdint>

#include "ui/page_templates.h"

namespace brennick {

// The end choices of the summary page, in the order the page stacks them.
enum class EndChoice { kLaunch, kRunProgram, kOpenDocument, kViewLog };

// Where a check box of the summary page goes, in dialog units; `shown` is
// false for a choice the product does not offer.
struct SummaryBox {
  EndChoice choice;
  bool shown = false;
  int x = 0, y = 0, width = 0, height = 0;
};

// The boxes of the offered choices stack from the look's first place, 14
// dialog units apart, 275 wide and 9 high; the plain look centres the stack
// in the room of four.
std::array<SummaryBox, 4> LayOutSummaryBoxes(PageLook look, const std::array<bool, 4>& offered);

}  // namespace brennick
