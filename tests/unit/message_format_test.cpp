#include "foundation/message_format.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(MessageFormat, FillsOnlyMatchingConversions) {
  EXPECT_EQ(FormatLanguageString("This product needs %d-bit Windows.", {64}), "This product needs 64-bit Windows.");
  EXPECT_EQ(FormatLanguageString("%s needed on %c:, %s free (100%%)", {"2 MB", 'D', "1 MB"}), "2 MB needed on D:, 1 MB free (100%)");
  EXPECT_EQ(FormatLanguageString("[%-4s|%03d]", {"ab", 7}), "[ab  |007]");
  // Conversions that would read values never passed are not given to printf.
  EXPECT_EQ(FormatLanguageString("Drive %s missing", {'E'}), "Drive %s missing 69");
  EXPECT_EQ(FormatLanguageString("%s and %s", {"one"}), "%s and %s one");
  EXPECT_EQ(FormatLanguageString("%n%s", {"x"}), "%n%s x");
  EXPECT_EQ(FormatLanguageString("no values", {}), "no values");
}

}  // namespace
}  // namespace brennick
