#pragma once

#include <string>
#include <string_view>

namespace brennick {

// The program's own file as its whole command line names it: the quoted first
// word, or the text up to the first blank, with ".EXE" appended when the name
// has no extension. Empty when the command line is empty; the caller then
// takes the module file name that Windows reports.
std::string OwnFileNameFromCommandLine(std::string_view commandLine);

// The last component of a path ("C:\\a\\b.exe" -> "b.exe").
std::string_view FileNameOf(std::string_view path);

}  // namespace brennick
