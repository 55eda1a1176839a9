#pragma once

namespace brennick::win {

// A 32-bit program on 64-bit Windows sees the 32-bit system folder in place
// of the real one until it turns the redirection off for its thread. Both
// are no-ops where the system has no redirection. False when it could not be
// turned off.
bool TurnOffFileSystemRedirection();
void RestoreFileSystemRedirection();

}  // namespace brennick::win
