#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "startup/installer_state.h"

namespace brennick {

// Only this many atoms of a command line are looked at; the rest is ignored.
constexpr std::size_t kMaxCommandLineAtoms = 19;

// Splits the command-line tail (the text after the program name) into atoms.
// A double quote opens a section that runs to the next double quote, white
// space included, and stays in the atom with both quotes; an unterminated
// section takes the rest of the line.
std::vector<std::string> SplitCommandLine(std::string_view tail);

// Parses the command-line tail into the command-line fields of `state`.
// A wrong atom ends through the fatal path with the usage text, in which
// `programName` (the program's file name without its folder) stands.
void ParseCommandLine(std::string_view tail, std::string_view programName, InstallerState& state);

// Ends through the fatal path with `message` above the usage text.
[[noreturn]] void ShowUsage(std::string_view message, std::string_view programName);

// "\"value\"" -> "value"; anything not quoted at both ends stays as it is.
std::string StripQuotes(std::string_view value);

}  // namespace brennick
