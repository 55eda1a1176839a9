#pragma once

namespace brennick::win {

// Keeps DLLs that lie beside the program (a Downloads folder, typically) from
// being loaded into it: from here on, DLLs load from the system folder only.
// Must run before anything else can load a DLL. Returns false when the system
// offers only the weaker fallback (the current folder is left out of the
// search, the program's own folder is not).
bool RestrictDllSearch();

}  // namespace brennick::win
