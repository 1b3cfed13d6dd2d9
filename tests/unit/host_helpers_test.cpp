#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "host/application_title.h"
#include "host/failure.h"
#include "host/text.h"

namespace velbor {
namespace {

TEST(DecimalTextTest, WritesWholeNumbersUpToTheExtremes) {
  EXPECT_EQ(DecimalText(0), u"0");
  EXPECT_EQ(DecimalText(40), u"40");
  EXPECT_EQ(DecimalText(-1), u"-1");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::max()), u"9223372036854775807");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

TEST(FailureTest, CarriesTheStandardDescriptionOfItsNumber) {
  const HostFailure failure(failure::kSubscriptOutOfRange);
  EXPECT_EQ(failure.Number(), 9);
  EXPECT_EQ(failure.Description(), u"Subscript out of range");
  EXPECT_EQ(failure.Source(), kApplicationTitle);
  EXPECT_EQ(failure.Info().line, 0);
  EXPECT_STREQ(failure.what(), "Error 9 (Subscript out of range)");
}

TEST(FailureTest, UnlistedNumbersHaveTheGenericDescription) {
  EXPECT_EQ(HostFailure(12345).Description(), u"Application-defined or object-defined error");
}

TEST(FailureTest, ResourceNotFoundNamesTheResource) {
  const HostFailure failure = HostFailure::ResourceNotFound(-2147483647 - 1);
  EXPECT_EQ(failure.Number(), failure::kResourceNotFound);
  EXPECT_EQ(failure.Description(), u"Resource with identifier '-2147483648' not found");
  EXPECT_EQ(failure.Source(), kApplicationTitle);
}

TEST(FailureTest, DescriptionReachesWhatAsUtf8) {
  const HostFailure failure(70, u"Accès refusé \U0001F512");
  EXPECT_STREQ(failure.what(), "Error 70 (Acc\xC3\xA8s refus\xC3\xA9 \xF0\x9F\x94\x92)");
}

}  // namespace
}  // namespace velbor
