#include "package/message_lookup.h"

#include <utility>

namespace brennick {

namespace {
MessageLookup& Lookup() {
  static MessageLookup lookup;
  return lookup;
}
}  // namespace

MessageLookup SetMessageLookup(MessageLookup lookup) { return std::exchange(Lookup(), std::move(lookup)); }

std::string LookUpMessage(int number) { return Lookup() ? Lookup()(number) : std::string(); }

}  // namespace brennick
