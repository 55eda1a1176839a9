#include "startup/command_line.h"

#include "foundation/fatal.h"
#include "foundation/text.h"

namespace brennick {

namespace {

constexpr const char* kUsageFormat =
    "%s\r\n\r\nUsage:\r\n%s [/a] [/b1:\"commands\"] [/b2:\"commands\"] [/b3:\"commands\"] "
    "[/d:\"dir\"] [/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\r\n\r\n"
    "/a                  \tAutomatic mode.\r\n"
    "/d:\"dir\"        \tOverride installation directory.\r\n"
    "/b1:\"commands\"\tAdd commands to the end of the Pre-Installation Batch.\r\n"
    "/b2:\"commands\"\tAdd commands to the end of the Post-Installation Batch.\r\n"
    "/b3:\"commands\"\tAdd commands to the end of the Installation-Exit Batch.\r\n"
    "/n:\"name\"\tOverride product name.\r\n"
    "/u:\"name\"\tUninstall product by name.\r\n"
    "/r:\"program\"\tRun the specified program after a successful installation.";

// The value of a /r: or /b: switch: the opening quote is part of the switch,
// one closing quote is dropped, and backticks stand for double quotes.
std::string QuotedCommandValue(std::string_view value) {
  if (!value.empty() && value.back() == '"') value.remove_suffix(1);
  return ReplaceAll(value, "`", "\"");
}

std::string BatchLines(std::string_view value) {
  return ReplaceAll(QuotedCommandValue(value), "~~", "\r\n");
}

void ApplyAtom(const std::string& atom, std::string_view programName, InstallerState& state) {
  if (atom.front() != '/' && atom.front() != '-') {
    ShowUsage("Unexpected command line parameter:\n" + atom, programName);
  }
  const std::string_view rest = std::string_view(atom).substr(1);
  if (EqualsNoCase(rest, "A")) {
    state.AutomaticMode = true;
  } else if (StartsWithNoCase(rest, "D:")) {
    state.InstallDir = StripQuotes(rest.substr(2));
  } else if (StartsWithNoCase(rest, "N:")) {
    state.ProductName = StripQuotes(rest.substr(2));
  } else if (StartsWithNoCase(rest, "U")) {
    // A prefix test: /Uninstall asks for an uninstall too, without a name.
    state.UninstallRequested = true;
    if (rest.size() > 1 && rest[1] == ':') state.UninstallName = StripQuotes(rest.substr(2));
  } else if (StartsWithNoCase(rest, "R:\"")) {
    state.LaunchOnExit = QuotedCommandValue(rest.substr(3));
  } else if (StartsWithNoCase(rest, "B1:\"")) {
    state.PreInstallBatchExtra = BatchLines(rest.substr(4));
  } else if (StartsWithNoCase(rest, "B2:\"")) {
    state.PostInstallBatchExtra = BatchLines(rest.substr(4));
  } else if (StartsWithNoCase(rest, "B3:\"")) {
    state.ExitBatchExtra = BatchLines(rest.substr(4));
  } else if (EqualsNoCase(rest, "MIN")) {
    state.StartMinimized = true;
  } else if (!rest.empty()) {
    ShowUsage("Illegal command line atom:\n" + std::string(rest), programName);
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view tail) {
  std::vector<std::string> atoms;
  std::size_t pos = 0;
  while (atoms.size() < kMaxCommandLineAtoms) {
    while (pos < tail.size() && IsWhiteSpace(tail[pos])) ++pos;
    if (pos == tail.size()) break;
    std::string atom;
    while (pos < tail.size() && !IsWhiteSpace(tail[pos])) {
      if (tail[pos] == '"') {
        const std::size_t close = tail.find('"', pos + 1);
        const std::size_t end = close == std::string_view::npos ? tail.size() : close + 1;
        atom.append(tail, pos, end - pos);
        pos = end;
      } else {
        atom.push_back(tail[pos++]);
      }
    }
    if (pos < tail.size()) ++pos;  // the white space that ended the atom
    atoms.push_back(std::move(atom));
  }
  return atoms;
}

void ParseCommandLine(std::string_view tail, std::string_view programName, InstallerState& state) {
  for (const std::string& atom : SplitCommandLine(tail)) ApplyAtom(atom, programName, state);
}

void ShowUsage(std::string_view message, std::string_view programName) {
  const std::string text(message);
  const std::string name(programName);
  FatalError(kUsageFormat, text.c_str(), name.c_str());
}

std::string StripQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace brennick
