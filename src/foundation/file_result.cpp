#include "foundation/file_result.h"

#include <array>

namespace brennick {

namespace {

constexpr std::array<std::string_view, 22> kMessages = {
    "Success.",
    "An unknown error occurred.",
    "The filename is invalid.",
    "The file was not found.",
    "The directory does not exist.",
    "The file is locked by another application.",
    "Failed to read the file into memory.",
    "Failed to write data to the file.",
    "Too many files are already open.",
    "An invalid parameter was used.",
    "The file already exists.",
    "Too many indexed files exist.",
    "Access denied.",
    "The file's Read-Only attribute is set.",
    "The file's contents are corrupted.",
    "Deletion failed.",
    "The file is too large to load into memory.",
    "Aborted by the user.",
    "Failed to create the directory.",
    "The network path is not valid.",
    "The device is not ready (usually because no disk is inserted).",
    "The drive does not exist.",
};

}  // namespace

std::string_view FileResultMessage(int code) {
  if (code < 0 || code >= static_cast<int>(kMessages.size())) {
    return kMessages[static_cast<int>(FileResult::UnknownError)];
  }
  return kMessages[code];
}

}  // namespace brennick
