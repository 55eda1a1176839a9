#pragma once

#include <functional>
#include <string>

namespace brennick {

// The package's language strings as the fatal path sees them: the
// corrupt-installer message (13) and the caption of error boxes (21) come
// from the package once its strings are loaded, and from built-in English
// before that.
using MessageLookup = std::function<std::string(int number)>;

// Returns the lookup it replaces.
MessageLookup SetMessageLookup(MessageLookup lookup);

// The text of message `number`, or empty while no strings are loaded.
std::string LookUpMessage(int number);

}  // namespace brennick
