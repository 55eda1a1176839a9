#pragma once

#include "foundation/win/win.h"

namespace brennick::win {

// Puts the program's 10 x 10 bitmap `bitmapId` (IDB_ACCEPT, IDB_CANCEL,
// IDB_BROWSE, IDB_RETRY) on a push button, beside its text. The grey around
// the drawing is left out, so the button face shows through it whatever the
// theme. Each picture is made once and kept for the life of the process; a
// bitmap that does not load leaves the button as it is.
void AddButtonPicture(HWND button, int bitmapId);

// Makes a button wide enough for its text and its picture, measured with the
// button's own font. Buttons only grow. The buttons of the button's row keep
// their gaps and their alignment in the window (centred, or against the
// right edge); a row that no longer fits makes the window wider.
void WidenButtonForPicture(HWND button);

}  // namespace brennick::win
