#pragma once

#include <string>
#include <string_view>

namespace brennick::win {

// A path of ours as the wide file-system calls take it: "|" paths from
// UTF-8, all others from the ANSI code page, and the name the file-system
// redirector gives it for a 32-bit program (see x86_view.h).
std::wstring WidePath(std::string_view path);

// The same text without the redirector: for a path that is stored, shown or
// compared as the product knows it (registry values, command lines, logs).
std::wstring WidePathText(std::string_view path);

// Text in a given code page to UTF-16 and back (CP_ACP, CP_UTF8).
std::wstring ToWide(std::string_view text, unsigned codePage);
std::string FromWide(std::wstring_view text, unsigned codePage);

}  // namespace brennick::win

namespace brennick::win {

// A wide path as our path text: ANSI when the code page holds every
// character, otherwise "|" and UTF-8.
std::string PathFromWide(std::wstring_view path);

// The full path of a loaded module (nullptr: the program itself).
std::string ModuleFileName(void* module = nullptr);

}  // namespace brennick::win
