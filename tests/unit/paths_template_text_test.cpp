// Character counting and letter case in the text operations on templates.
#include "paths/template_text.h"

#include <gtest/gtest.h>

namespace velbor {
namespace {

TEST(TemplateTextTest, UpperCasesOnlyAsciiLettersForTheComparison) {
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(u"<apppath>Corsenta", u"<APPPATH>"));
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(u"<APPPATH>", u"<apppath>"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"<APPPAT", u"<APPPATH>"));
  // Letters that other upper-casing turns into ASCII: dotless i, long s, Kelvin sign.
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"ı", u"I"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"ſ", u"S"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"\u212A", u"K"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(u"è", u"È"));
}

TEST(TemplateTextTest, CountsASurrogatePairAsOneCharacter) {
  EXPECT_EQ(FirstCharacters(u"ab\U0001F4C1c", 3), u"ab\U0001F4C1");
  EXPECT_EQ(FirstCharacters(u"aèb", 2), u"aè");
  EXPECT_EQ(FirstCharacters(u"ab", 5), u"ab");
  // A lone surrogate is a character of its own.
  EXPECT_EQ(FirstCharacters(u"a\xD83D-", 2), u"a\xD83D");
  EXPECT_EQ(FirstCharacters(u"a\xDC01\xD83D", 3), u"a\xDC01\xD83D");
}

TEST(TemplateTextTest, ReplacesEveryOccurrenceFromTheLeftWithoutRescanning) {
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"xAx", u"x", u"xx"), u"xxAxx");
  EXPECT_EQ(ReplaceAll(u"abc", u"B", u"z"), u"abc");
}

}  // namespace
}  // namespace velbor
