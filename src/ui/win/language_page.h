#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// Asks for the language when the package has more than one and the run is
// not automatic; the page speaks the language being chosen. Cancelling it
// ends the program with exit code 1.
void ChooseLanguage(Program& program);

}  // namespace brennick::win
