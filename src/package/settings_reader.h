#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "package/settings_record.h"

namespace brennick {

// Reads the settings record from the decoded settings block, checking every
// bound on the way (a violation ends through CorruptInstaller with its code).
// `afterField7` runs after the first seven fields, where the program creates
// its background window and checks the settings checksum.
//
// Reads are not checked one by one: a block that ends early yields zeros and
// empty texts from there on, and then fails the end-marker check (code 32).
// Message texts come back with their line breaks normalised to "\r\n".
SettingsRecord ReadSettingsRecord(std::span<const std::uint8_t> block, const std::function<void()>& afterField7);

// The same into `record`, which `afterField7` may look at: its first seven
// fields are read by then.
void ReadSettingsRecordInto(std::span<const std::uint8_t> block, SettingsRecord& record,
                            const std::function<void()>& afterField7);

}  // namespace brennick
