#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace brennick {

// The file name of the batch that removes the uninstaller after its process
// has ended.
inline constexpr const char* kSelfDeleteBatchName = "delunins.bat";

// The batch's text: a loop deleting `program` until it is gone (it succeeds
// once the uninstaller's process has ended), a three-second pause
// ("CHOICE /T 3 /D Y"), "rd" of `installDir` joined with `uninstallSubdir`
// and then with each shorter prefix of it (at most 50 levels), "rd" of
// `installDir` itself, and a "del" of `batchPath` so the batch deletes
// itself. Every line ends with "\r\n"; "rd" fails harmlessly on a folder that
// is not empty. Every path is written in double quotes with its "%" signs
// doubled, because the command interpreter would expand "%name%" in it.
// `spell` gives each path as the batch can name it (the batch is ANSI text:
// a "|" path goes by its short form).
using BatchSpelling = std::function<std::string(const std::string& path)>;
std::string SelfDeleteBatchText(std::string_view program, std::string_view installDir,
                                std::string_view uninstallSubdir, std::string_view batchPath,
                                const BatchSpelling& spell = nullptr);

}  // namespace brennick
