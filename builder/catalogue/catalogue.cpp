#include "builder/catalogue/catalogue.h"

#include <array>
#include <cctype>
#include <cstring>

#include "builder/basics/build_error.h"
#include "builder/basics/windows_1252.h"
#include "package/line_breaks.h"

namespace brennick::build {

namespace {

// What each message is for. Conversions marked %c take a drive letter.
constexpr std::array<MessageUse, kMessageCount> kUses = {{
    {0, "installer title: background window and page headings", ""},
    {1, "greeting page text", ""},
    {2, "title of the question about an earlier installation", ""},
    {3, "earlier installation found (versions not compared); its folder follows", ""},
    {4, "the same version is installed; its folder follows", ""},
    {5, "an older version is installed; its folder follows", ""},
    {6, "a newer version is installed; its folder follows", ""},
    {7, "question after the earlier installation's folder: install over it?", ""},
    {8, "status: preparing, before the archive is read", ""},
    {9, "an earlier version must be uninstalled first (must-uninstall page and error)", ""},
    {10, "uninstall finished with failures; %s: the failure text", "%s"},
    {11, "destination folder page prompt and folder browser prompt", ""},
    {12, "master product missing; %s: its display name", "%s"},
    {13, "damaged installer; %d: the corrupt-installer code", "%d"},
    {14, "the chosen folder is not a valid path; the folder follows", ""},
    {15, "uninstall finished successfully", ""},
    {16, "the chosen drive does not exist; %c: the drive letter", "%c"},
    {17, "a drive root cannot be the installation folder", ""},
    {18, "the Program Files folder itself was chosen; %s: that folder", "%s"},
    {19, "not enough disk space; %s required size, %c drive letter, %s free space", "%s%c%s"},
    {20, "title of yes/no questions", ""},
    {21, "title of error messages", ""},
    {22, "confirm installing into an existing folder; %s: the folder", "%s"},
    {23, "confirm creating the folder; %s: the folder", "%s"},
    {24, "destination folder page title and title of the folder confirmation", ""},
    {25, "a folder could not be created; the folder and the reason follow", ""},
    {26, "unused", ""},
    {27, "unused", ""},
    {28, "question when Cancel is clicked on the progress page", ""},
    {29, "status: reading the archive", ""},
    {30, "reserved; carried to the uninstaller", ""},
    {31, "a file, shortcut or uninstall data file could not be written; the path follows", ""},
    {32, "status: creating shortcuts", ""},
    {33, "name of the uninstaller shortcut", ""},
    {34, "title of the uninstall success message", ""},
    {35, "title of the shared-file question", ""},
    {36, "status: finishing the installation", ""},
    {37, "restart question after installing", ""},
    {38, "default shortcut name; %s: the target's file name", "%s"},
    {39, "progress page heading", ""},
    {40, "installation finished with failures, view the log?; %s: the failure text", "%s"},
    {41, "title of the failure question", ""},
    {42, "installation finished: success message and summary page text", ""},
    {43, "title of the success message, summary page title, last line of the log", ""},
    {44, "licence page title", ""},
    {45, "licence accept button", ""},
    {46, "licence decline button", ""},
    {47, "licence page prompt", ""},
    {48, "Next / OK button", ""},
    {49, "Cancel button", ""},
    {50, "readme page title", ""},
    {51, "readme page prompt", ""},
    {52, "Browse button", ""},
    {53, "uninstall confirmation question", ""},
    {54, "installing: progress caption, status and hidden file names", ""},
    {55, "uninstaller caption", ""},
    {56, "question before removing a font; %s: the font name", "%s"},
    {57, "title of the font question", ""},
    {58, "a file could not be deleted; the path follows", ""},
    {59, "question before deleting an unused shared file; %s: the path", "%s"},
    {60, "unused", ""},
    {61, "refused on this Windows version; %s: the version's name", "%s"},
    {62, "status: checking the archive", ""},
    {63, "licence text shown before the project's licence pages (empty: none)", ""},
    {64, "readme text shown before the project's readme pages (empty: none)", ""},
    {65, "installer caption: pages in banner style, message boxes, cancel message", ""},
    {66, "a network folder was chosen but is not allowed", ""},
    {67, "uninstall status: removing fonts", ""},
    {68, "uninstall status: removing files", ""},
    {69, "uninstall status: removing registry entries", ""},
    {70, "uninstall status: removing file associations", ""},
    {71, "uninstall progress heading", ""},
    {72, "confirm an upgrade over an earlier version", ""},
    {73, "the folder cannot be written to; %s: the folder", "%s"},
    {74, "restart question after uninstalling", ""},
    {75, "password page caption", ""},
    {76, "password page prompt", ""},
    {77, "administrator rights are required", ""},
    {78, "continue without administrator rights?", ""},
    {79, "Yes button", ""},
    {80, "No button", ""},
    {81, "wrong Windows bitness; %d: 32 or 64", "%d"},
    {82, "language page prompt", ""},
    {83, "summary choice: run the program", ""},
    {84, "summary choice: launch the application", ""},
    {85, "summary choice: view the install log", ""},
    {86, "name of the install log shortcut", ""},
    {87, "summary choice: open the document", ""},
    {88, "Start-menu page prompt and folder browser prompt", ""},
    {89, "Start-menu page title", ""},
    {90, "Install button: the last page before installing", ""},
    {91, "another installer is running", ""},
    {92, "label of the required disk space", ""},
    {93, "label of the available disk space", ""},
    {94, "language page caption and heading", ""},
    {95, "summary page button", ""},
    {96, "the drive is read-only or removable; %c: the drive letter", "%c"},
    {97, "status: creating a restore point", ""},
    {98, "the installation was cancelled", ""},
    {99, "a program must be closed first; %s: its name", "%s"},
    {100, "Retry button", ""},
    {101, "the uninstallation was cancelled", ""},
    {102, "wrong password", ""},
    {103, "greeting page title in banner style", ""},
    {104, "Uninstall button of the must-uninstall page", ""},
}};

const std::array<Catalogue, 2>& Catalogues() {
  static const std::array<Catalogue, 2> catalogues = {{
      {"English", EnglishCatalogue()},
      {"Deutsch", GermanCatalogue()},
  }};
  return catalogues;
}

std::string_view EnglishText(int number) {
  for (const CatalogueEntry& entry : EnglishCatalogue()) {
    if (entry.number == number) return entry.text;
  }
  return {};
}

}  // namespace

std::span<const MessageUse> MessageUses() { return kUses; }

std::span<const Catalogue> BuiltInCatalogues() { return Catalogues(); }

const Catalogue* FindCatalogue(std::string_view name) {
  for (const Catalogue& catalogue : Catalogues()) {
    if (catalogue.name == name) return &catalogue;
  }
  return nullptr;
}

std::optional<std::string> PrintfConversions(std::string_view text) {
  std::string conversions;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    std::size_t j = i + 1;
    if (j < text.size() && text[j] == '%') {
      i = j;
      continue;
    }
    while (j < text.size() && std::strchr("-+ #0", text[j]) != nullptr) ++j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (j < text.size() && text[j] == '.') {
      ++j;
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    }
    while (j < text.size() && std::strchr("hlLqjzt", text[j]) != nullptr) ++j;
    if (j >= text.size() || std::strchr("diouxXeEfgGcsp", text[j]) == nullptr) return std::nullopt;
    conversions += '%';
    conversions += text[j];
    i = j;
  }
  return conversions;
}

LanguageStrings MakeLanguageStrings(const std::vector<LanguageTexts>& languages) {
  LanguageStrings strings;
  for (const LanguageTexts& language : languages) {
    auto name = Utf8ToWindows1252(language.name);
    if (!name) throw BuildError("the language name \"" + language.name + "\" has no Windows-1252 form");
    strings.Names.push_back(std::move(*name));
  }
  strings.Messages.resize(kMessageCount);
  for (int number = 0; number < kMessageCount; ++number) {
    auto& row = strings.Messages[static_cast<std::size_t>(number)];
    for (const LanguageTexts& language : languages) {
      const auto found = language.texts.find(number);
      const std::string_view text =
          found != language.texts.end() ? std::string_view(found->second) : EnglishText(number);
      auto stored = Utf8ToWindows1252(text);
      if (!stored) {
        throw BuildError("message " + std::to_string(number) + " of " + language.name + " has a character (" +
                         FirstCharacterOutside1252(text) + ") that Windows-1252 cannot hold");
      }
      row.push_back(NormalizeLineBreaks(*stored));
    }
  }
  return strings;
}

}  // namespace brennick::build
