#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennick {

// A font the installation registered: its name under the system's Fonts key
// and its file name in the Fonts folder.
struct ProductFont {
  std::string RegistryName;
  std::string FileName;
  bool operator==(const ProductFont&) const = default;
};

// The "ProductFonts" value: pairs of double-quoted tokens, each token
// optionally preceded by blanks. Pairs with an empty token are left out; a
// last token without its pair or its closing quote ends the list.
std::vector<ProductFont> ParseProductFonts(std::string_view value);

// An entry of the "SharedFiles" value with its markers taken off.
struct SharedFileEntry {
  std::string Path;  // "|" + UTF-8 for a wide path
  bool ComServer = false;    // marker "^"
  bool Permanent = false;    // marker " "
  bool TypeLibrary = false;  // marker byte 0xA9
  bool operator==(const SharedFileEntry&) const = default;
};

// The "SharedFiles" value: double-quoted entries separated by ";" (what
// stands between the quoted entries is passed over, so a ";" inside a path
// does no harm). Trailing markers are taken off in the order "^", blank, 0xA9
// (each at most once); in a UTF-8 path a 0xA9 that ends a character of the
// name (as in "\xC3\xA9") is not a marker. An entry whose path is then empty,
// or an opening quote without its closing one, ends the list.
std::vector<SharedFileEntry> ParseSharedFiles(std::string_view value);

// What the uninstaller undoes for a line of the registry entries
// ("[Registry2]", comma-separated form).
struct RegistryEntryUndo {
  enum class Kind { Nothing, Key, Value } kind = Kind::Nothing;
  std::string Key;        // registry path syntax ("\\HKLM\\...", "\\HKAU\\..." for every user)
  std::string ValueName;  // for Kind::Value
  bool operator==(const RegistryEntryUndo&) const = default;
};

// One field, trimmed, with at least two backslashes: a key, removed when
// empty. Six fields whose sixth is not exactly "1": a value (field 1 the key,
// field 2 the name). Anything else: nothing.
RegistryEntryUndo ClassifyRegistryEntry(std::string_view line);

// The name of the value under which an association kept the earlier default
// value of a key: the product name + " Backup", without backslashes, CR, LF
// and TAB.
std::string AssociationBackupName(std::string_view productName);

// A "[Firewall]" line: exactly four ";"-separated fields, else nothing.
// Field 1 is a port when it has only digits (then `protocols` is field 3
// read as a number: bit 0 TCP, bit 1 UDP), else a program path. An empty
// field 1, or a number above 65535, is nothing: no exception was added for it.
struct FirewallUndo {
  bool IsPort = false;
  unsigned long Port = 0;
  unsigned long Protocols = 0;
  std::string Program;  // for a program exception, still to be expanded
  bool operator==(const FirewallUndo&) const = default;
};
std::optional<FirewallUndo> ParseFirewallLine(std::string_view line);

// The removal list's folders, longest path first (the deeper ones go first);
// paths of equal length keep their order.
std::vector<std::string> FoldersLongestFirst(std::vector<std::string> folders);

}  // namespace brennick
