#pragma once

#include <string>

#include "builder/report/json.h"
#include "package/settings_record.h"

namespace brennick::build {

// The settings record as JSON, field by field in stored order under the
// record's field names: texts as UTF-8 strings, 64-bit flag words and raw
// byte fields as hexadecimal strings, blobs as {"size", "checksum"} (the
// package checksum of their bytes), lists as arrays (an entry with one field
// as that field's value, other entries as objects). After ProductFlags2 comes
// "flags": the names of the set flag bits. Bounds the program would refuse
// are listed under "problems" as {"field", "code"} with the corrupt-installer
// code; the member is absent when there are none.
JsonValue DescribeSettings(const SettingsRecord& record);

// The same as indented JSON text.
std::string DescribeSettingsJson(const SettingsRecord& record);

}  // namespace brennick::build
