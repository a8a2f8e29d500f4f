#include "platform/Text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(LowerCase, FoldsLatinGreekAndCyrillicCapitalsOnly) {
    EXPECT_EQ(LowerCase(u"ABC xyz 09 <PROGRAM/>"), u"abc xyz 09 <program/>");
    EXPECT_EQ(LowerCase(u"ÀÉÎÕÜ×ÞŸ"), u"àéîõü×þÿ");
    EXPECT_EQ(LowerCase(u"ĀĊŁŃŽ"), u"āċłńž");
    EXPECT_EQ(LowerCase(u"ΑΩ ДЖЁ"), u"αω джё");
    EXPECT_EQ(LowerCase(u"ß€中"), u"ß€中");
}

TEST(Trim, RemovesSpacesOnlyAtTheRequestedEnds) {
    EXPECT_EQ(TrimBlanks(u"  a b  "), u"a b");
    EXPECT_EQ(TrimEndBlanks(u"  a b  "), u"  a b");
    EXPECT_EQ(TrimBlanks(u"   "), u"");
    EXPECT_EQ(TrimBlanks(u"\ta\t"), u"\ta\t");
}

TEST(ToUtf8, EncodesEveryPlaneAndReplacesLoneSurrogates) {
    EXPECT_EQ(ToUtf8(u"a\u00e9\u20ac\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

TEST(DecimalText, PlainDecimalWithSignForNegatives) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(28), u"28");
    EXPECT_EQ(DecimalText(-32768), u"-32768");
}

} // namespace
} // namespace platform
