#pragma once

namespace brennick::win {

// Enables a privilege (for example "SeTakeOwnershipPrivilege") in the process
// token. Returns false when the token does not hold it or cannot be adjusted.
bool EnablePrivilege(const char* name);

// Asks the system to restart (forced where a program hangs; reason: planned
// installation of an application). Returns at once; the restart follows.
void RequestRestart();

}  // namespace brennick::win
