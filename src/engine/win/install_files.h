#pragma once

#include <cstdint>
#include <span>

#include "engine/file_destination.h"
#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// The file loop: every item of the checked archive `stored` is placed at its
// destination by the overwrite rules, written, dated and recorded, with the
// progress bar running from 28 to 90. Fills state.Lists for the later steps.
// After the last item the archive must be used up exactly (codes 80, 83).
void InstallFiles(Program& program, InstallUi& ui, std::span<const std::uint8_t> stored,
                  const DestinationFolders& folders);

}  // namespace brennick::win
