#pragma once

namespace brennick::win {

// Enables a privilege (for example "SeTakeOwnershipPrivilege") in the process
// token. Returns false when the token does not hold it or cannot be adjusted.
bool EnablePrivilege(const char* name);

}  // namespace brennick::win
