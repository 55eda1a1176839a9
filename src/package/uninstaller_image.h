#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "package/pe_layout.h"

namespace brennick {

// The stub bytes that StubChecksum covers: from the byte after the PE header's
// own checksum field (PeOffset + 92) to the end of the stub. A stub that ends
// before that byte is a damaged package (corrupt::kStubTooShort).
std::span<const std::uint8_t> StubChecksumRange(std::span<const std::uint8_t> stub, const PeLayout& layout);

// The uninstaller: this program without its setup package. `stub` is the
// file's first SetupFileOffset bytes and becomes the image; `layout` and
// `setup` describe the file's headers and its ".setup" entry; `trailing` is
// whatever the file holds after the package (a signature), appended as is.
//
// The image has one section fewer; its sizes of initialised data and of image
// shrink by SetupRawSize; the section table is closed up over the ".setup"
// slot, each slot from there to the first slot after the last section taking
// the 40 bytes that follow it, and the sections that followed ".setup" have
// their raw-data offsets lowered by SetupRawSize. A stub too short to hold the
// PE header fields, the table and the two slots after it is a damaged package
// (corrupt::kStubTooShort).
std::vector<std::uint8_t> BuildUninstallerImage(std::vector<std::uint8_t> stub, const PeLayout& layout,
                                                const SectionEntry& setup, std::span<const std::uint8_t> trailing);

}  // namespace brennick
