#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brennick::build {

// The two flag words of the settings record.
enum class FlagWord { Product, Product2 };  // ProductFlags (64 bits), ProductFlags2 (32 bits)

// A flag bit that the program gives a meaning, with the name under which the
// project file sets it and inspect shows it. Names are unique over both words
// and never change once published: project files depend on them.
struct FlagName {
  FlagWord word;
  int bit;
  std::string_view name;
  std::string_view description;
};

// Every named bit: ProductFlags bits in rising order, then ProductFlags2 bits.
std::span<const FlagName> FlagNames();

// The entry of that name, or nullptr.
const FlagName* FindFlag(std::string_view name);

// The names of the bits set in the two words, in table order; a set bit that
// has no name appears as "ProductFlags.N" or "ProductFlags2.N".
std::vector<std::string> SetFlagNames(std::uint64_t productFlags, std::uint32_t productFlags2);

}  // namespace brennick::build
