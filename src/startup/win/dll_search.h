#pragma once

namespace brennick::win {

// Keeps DLLs that lie beside the program (a Downloads folder, typically) from
// being loaded into it. Must run before anything else can load a DLL:
//  - from here on, DLLs load from the system folder only (where the system
//    offers that; on older systems at least the current folder leaves the
//    search);
//  - the system DLLs that Windows components load on demand while the
//    program runs (themes, gradients, and the like) are loaded now, from the
//    system folder by full path, so a later load by bare name finds the copy
//    already in memory. This also covers loads that do not honour the default
//    search folders (seen under Wine) and systems without them.
// Returns false when only the weaker search restriction was available.
bool RestrictDllSearch();

}  // namespace brennick::win
