#include "app/item_count.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "host/failure.h"
#include "tests/support/failures.h"

namespace velbor {
namespace {

using testing::FailureNumberOf;

std::int32_t FailureOf(TextView countText) {
  return FailureNumberOf([countText] { LastIndexFromCount(countText); });
}

TEST(ReadNumericValueTest, StopsAtTheFirstCharacterThatCannotContinue) {
  EXPECT_EQ(ReadNumericValue(u"3 abc"), 3);
  EXPECT_EQ(ReadNumericValue(u"1.5.5"), 1.5);
  EXPECT_EQ(ReadNumericValue(u"--5"), 0);
  EXPECT_EQ(ReadNumericValue(u"5-"), 5);
  EXPECT_EQ(ReadNumericValue(u"7\r8"), 7);  // a carriage return is not skipped
}

TEST(ReadNumericValueTest, SkipsBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(ReadNumericValue(u" 3"), 3);
  EXPECT_EQ(ReadNumericValue(u"1 2"), 12);
  EXPECT_EQ(ReadNumericValue(u"\t1\t2\n3\n"), 123);
  EXPECT_EQ(ReadNumericValue(u"- 1 . 5 E 1"), -15);
}

TEST(ReadNumericValueTest, TextWithoutLeadingNumberReadsAsZero) {
  EXPECT_EQ(ReadNumericValue(u""), 0);
  EXPECT_EQ(ReadNumericValue(u"abc"), 0);
  EXPECT_EQ(ReadNumericValue(u"."), 0);
  EXPECT_EQ(ReadNumericValue(u"E5"), 0);
  EXPECT_EQ(ReadNumericValue(u"\u0663"), 0);  // other scripts' digits are not digits
}

TEST(ReadNumericValueTest, ReadsSignsAndDecimalPoints) {
  EXPECT_EQ(ReadNumericValue(u"+4"), 4);
  EXPECT_EQ(ReadNumericValue(u"-4"), -4);
  EXPECT_EQ(ReadNumericValue(u".25"), 0.25);
  EXPECT_EQ(ReadNumericValue(u"2."), 2);
  EXPECT_EQ(ReadNumericValue(u"0.1"), 0.1);  // correctly rounded, as the compiler reads it
}

TEST(ReadNumericValueTest, ReadsExponentsWithEOrDInEitherCase) {
  EXPECT_EQ(ReadNumericValue(u"1E3"), 1000);
  EXPECT_EQ(ReadNumericValue(u"1d+3"), 1000);
  EXPECT_EQ(ReadNumericValue(u"25E-1"), 2.5);
  EXPECT_EQ(ReadNumericValue(u"1E"), 1);  // a mark without digits ends the number
  EXPECT_EQ(ReadNumericValue(u"1E-"), 1);
  EXPECT_EQ(ReadNumericValue(u"1EX5"), 1);
}

TEST(ReadNumericValueTest, HugeValuesOverflowAndTinyOnesVanish) {
  EXPECT_EQ(ReadNumericValue(u"1.7976931348623157E308"), 1.7976931348623157e308);
  EXPECT_EQ(FailureNumberOf([] { ReadNumericValue(u"1E309"); }), failure::kOverflow);
  EXPECT_EQ(FailureNumberOf([] { ReadNumericValue(u"-1E309"); }), failure::kOverflow);
  EXPECT_EQ(FailureNumberOf([] { ReadNumericValue(Text(400, u'9')); }), failure::kOverflow);
  EXPECT_EQ(FailureNumberOf([] { ReadNumericValue(u"1E99999999999999999999999"); }),
            failure::kOverflow);
  EXPECT_EQ(ReadNumericValue(u"1E-400"), 0);
  EXPECT_EQ(ReadNumericValue(u"1E-99999999999999999999999"), 0);
  EXPECT_EQ(ReadNumericValue(u"0E99999999999999999999999"), 0);
  // The exponent and the digits' position together decide, not the exponent alone.
  EXPECT_EQ(ReadNumericValue(u"0." + Text(500, u'0') + u"1E510"), 1e9);
  EXPECT_EQ(ReadNumericValue(u"1" + Text(500, u'0') + u"E-498"), 100);
}

TEST(LastIndexFromCountTest, SubtractsOneAndRoundsHalvesToEven) {
  EXPECT_EQ(LastIndexFromCount(u" 3"), 2);
  EXPECT_EQ(LastIndexFromCount(u"3 abc"), 2);
  EXPECT_EQ(LastIndexFromCount(u"1 2"), 11);
  EXPECT_EQ(LastIndexFromCount(u"2.5"), 2);  // 1.5
  EXPECT_EQ(LastIndexFromCount(u"3.5"), 2);  // 2.5
  EXPECT_EQ(LastIndexFromCount(u"4.5"), 4);  // 3.5
  EXPECT_EQ(LastIndexFromCount(u"2.6"), 2);
  EXPECT_EQ(LastIndexFromCount(u"-0.5"), -2);  // -1.5
  EXPECT_EQ(LastIndexFromCount(u"0.5"), 0);    // -0.5
}

TEST(LastIndexFromCountTest, CountsWithoutItemsGiveNegativeIndexes) {
  EXPECT_EQ(LastIndexFromCount(u"0"), -1);
  EXPECT_EQ(LastIndexFromCount(u""), -1);
  EXPECT_EQ(LastIndexFromCount(u"abc"), -1);
  EXPECT_EQ(LastIndexFromCount(u"-5"), -6);
}

TEST(LastIndexFromCountTest, OverflowsOutsideTheLongRange) {
  EXPECT_EQ(LastIndexFromCount(u"2147483648"), 2147483647);
  EXPECT_EQ(FailureOf(u"2147483649"), failure::kOverflow);
  EXPECT_EQ(FailureOf(u"2147483648.5"), failure::kOverflow);  // 2147483647.5 rounds up
  EXPECT_EQ(LastIndexFromCount(u"-2147483647"), -2147483648);
  EXPECT_EQ(LastIndexFromCount(u"-2147483647.5"), -2147483648);  // rounds to the even one
  EXPECT_EQ(FailureOf(u"-2147483648"), failure::kOverflow);
  EXPECT_EQ(FailureOf(u"1E300"), failure::kOverflow);
  EXPECT_EQ(FailureOf(u"1E999"), failure::kOverflow);
}

}  // namespace
}  // namespace velbor
