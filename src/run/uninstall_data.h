#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "package/settings_record.h"
#include "startup/install_lists.h"

namespace brennick {

// "Uninstall.DAT": what an installation tells its uninstaller to undo, and the
// language strings the uninstaller shows. The installer writes it once at the
// end of a successful run; the uninstaller reads it, and after its file and
// folder steps writes it again with what is left.
inline constexpr const char* kUninstallDataFileName = "Uninstall.DAT";

// The language strings written to "[Strings]", in this order, and the number
// under which WindowTitle follows them.
inline constexpr std::array<int, 25> kUninstallStringNumbers = {10, 15, 20, 30, 34, 35, 49, 53, 55, 56, 57, 58, 59,
                                                                65, 67, 68, 69, 70, 71, 74, 79, 80, 99, 100, 101};
inline constexpr int kWindowTitleString = 999;

// A file association made by the installation: the keys under
// HKEY_CLASSES_ROOT and the verb the uninstaller undoes.
struct FileAssociation {
  std::string ExtensionKey;
  std::string FileTypeKey;
  std::string Verb;
  bool operator==(const FileAssociation&) const = default;
};

// A Windows Installer package removed with the product, and the user
// interface level it was installed with.
struct MsiRemoval {
  std::string Path;
  std::int32_t UiLevel = 0;
  bool operator==(const MsiRemoval&) const = default;
};

// The file's content. Lists keep the order of the file; the reader drops
// blank lines (they carry nothing and would only be skipped at use).
struct UninstallData {
  std::vector<RemovalEntry> Removals;  // files to delete and folders to remove when empty
  // Language strings by number (1 to 1000); kWindowTitleString holds
  // WindowTitle. Only kUninstallStringNumbers and 999 are written; a number
  // missing here is written as an empty line.
  std::map<int, std::string> Strings;
  // "[AutoClose]": class pattern, title pattern, display name and action are
  // written. PassMask is not: the reader derives it, 4 (the pass after the
  // confirmation) for action 2 (ask the user), else 2 (the pass before it).
  std::vector<ProgramToClose> ProgramsToClose;
  std::vector<FileAssociation> Associations;   // "[Associations]"
  std::vector<std::string> FirewallLines;      // "[Firewall]": the package's four ";"-separated fields
  std::vector<std::string> DriverLocations;    // "[INF]": final locations of installed INF files
  std::vector<MsiRemoval> MsiPackages;         // "[MSI]"
  std::vector<std::string> RegistryValues;     // "[Registry]": full value paths, value name last
  std::vector<std::string> RegistryEntries;    // "[Registry2]": the registry entries text, one line each
  // "[ConditionalDelete]": only entries with flag bit 3 (at uninstall) are
  // written.
  std::vector<FileDeletionEntry> ConditionalDeletes;
  bool operator==(const UninstallData&) const = default;
};

// The whole file: the removal list, then "\r\n\r\n" + header + "\r\n" and the
// body of each section that has entries ("[Strings]" always), every line
// ending with CR LF.
std::string WriteUninstallDataText(const UninstallData& data);

// Reads any file the writer produced, and hand-edited ones: any line-end kind
// (CR LF, LF CR, CR, LF), sections in any order and repeated, unknown
// bracketed lines taken as lines of the current section. Malformed lines are
// skipped, never an error.
UninstallData ReadUninstallDataText(std::string_view text);

// The lines of a text, each line end (CR LF, LF CR, a lone CR or a lone LF)
// ending one line; no empty line after a final line end.
std::vector<std::string> UninstallDataLines(std::string_view text);

}  // namespace brennick
