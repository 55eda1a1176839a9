#include "package/message_lookup.h"

namespace brennick {

namespace {
MessageLookup& Lookup() {
  static MessageLookup lookup;
  return lookup;
}
}  // namespace

void SetMessageLookup(MessageLookup lookup) { Lookup() = std::move(lookup); }

std::string LookUpMessage(int number) { return Lookup() ? Lookup()(number) : std::string(); }

}  // namespace brennick
