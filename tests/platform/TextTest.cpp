#include "platform/Text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace platform {
namespace {

// Lower-casing folds the capitals of the Latin, Greek and Cyrillic blocks only; trimming removes spaces
// only, at the ends asked for.
TEST(Text, LowerCaseAndTrimTouchOnlyWhatTheySay) {
    const std::tuple<Text (*)(TextView), const char16_t*, const char16_t*> cases[] = {
        {LowerCase, u"ABC xyz 09 <PROGRAM/>", u"abc xyz 09 <program/>"},
        {LowerCase, u"ÀÉÎÕÜ×ÞŸ", u"àéîõü×þÿ"},
        {LowerCase, u"ĀĊŁŃŽ", u"āċłńž"},
        {LowerCase, u"ΑΩ ДЖЁ", u"αω джё"},
        {LowerCase, u"ß€中", u"ß€中"},
        {TrimBlanks, u"  a b  ", u"a b"},
        {TrimEndBlanks, u"  a b  ", u"  a b"},
        {TrimBlanks, u"   ", u""},
        {TrimBlanks, u"\ta\t", u"\ta\t"},
    };
    for (const auto& [apply, in, out] : cases) {
        EXPECT_EQ(apply(in), out) << ToUtf8(in);
    }
}

TEST(Text, Utf8AndDecimalText) {
    EXPECT_EQ(ToUtf8(u"a\u00e9\u20ac\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx") << "a lone surrogate";
    EXPECT_EQ(DecimalText(0) + u" " + DecimalText(28) + u" " + DecimalText(-32768), u"0 28 -32768");
}

} // namespace
} // namespace platform
