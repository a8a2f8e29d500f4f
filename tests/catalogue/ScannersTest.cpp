#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

namespace catalogue {
namespace {

TEST(GetAttribute, FindsExactLowerCaseNamesInSingleQuotes) {
    const std::u16string line = u"<program name='Maths' path='C:\\m.exe' show='T' desc='Add up. ' />";
    const struct {
        const char16_t* line;
        const char16_t* name;
        const char16_t* value;
    } cases[] = {
        {line.c_str(), u"name", u"Maths"},
        {line.c_str(), u"NAME", u"Maths"}, // the name asked for is lower-cased
        {line.c_str(), u"path", u"C:\\m.exe"},
        {line.c_str(), u"desc", u"Add up. "}, // values come back untrimmed
        {line.c_str(), u"videopath", u""},
        {line.c_str(), u"ame", u""},                 // one blank must stand before the name
        {u"<program NAME='Maths' />", u"name", u""}, // the line is not lower-cased
        {u"<program name=\"Maths\" />", u"name", u""},
        {u"<program name = 'Maths' />", u"name", u""},
        {u"<program name='Maths />", u"name", u""}, // no closing apostrophe
        {u"<program name='' />", u"name", u""},
        {u"<program desc='It's fun' />", u"desc", u"It"}, // a bare apostrophe ends the value
        {u"<program desc='It&apos;s fun&apos;' />", u"desc", u"It's fun'"},
        {u"<program xname='a' name='b' />", u"name", u"b"},
        // Regression: a value ending in an attribute's name and "=" was read as the start of that attribute.
        {u"<program name='Sums show=' path='C:\\s.exe' show='T' />", u"show", u"T"},
        {u"<program path='C:\\q desc=' desc='Real text ' />", u"desc", u"Real text "},
        {u"<program name=' path='", u"name", u" path="},
        {u"<program name=' path='", u"path", u""},
        {u"<program a='it's' name='b' desc='x' desc='y' />", u"name", u"b"}, // outside a value, "'" opens none
        {u"<program a='it's' name='b' desc='x' desc='y' />", u"desc", u"x"}, // the first one wins
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetAttribute(c.line, c.name), c.value)
            << platform::ToUtf8(c.line) << " / " << platform::ToUtf8(c.name);
    }
}

TEST(GetIntAttribute, ReadsLenientNumbersRoundedHalfToEvenWithin16Bits) {
    const struct {
        const char16_t* value;
        Int16 number;
    } cases[] = {
        {u"5", 5},         {u"  7", 7},         {u"+4", 4},
        {u"-12", -12},     {u"12abc", 12},      {u"abc", 0},
        {u"", 0},          {u"2.5", 2},         {u"3.5", 4},
        {u"-2.5", -2},     {u"-3.5", -4},       {u"0.5", 0},
        {u"1.5", 2},       {u".5", 0},          {u"2.51", 3},
        {u"32767", 32767}, {u"32767.4", 32767}, {u"32767.5", 0},
        {u"32768", 0},     {u"-32768", -32768}, {u"-32768.5", -32768},
        {u"-32769", 0},    {u"1e3", 1000},      {u"1E-1", 0},
        {u"2e", 2},        {u"1e999", 0},       {u"99999999999999999999", 0},
        {u"007", 7},       {u"- 1", 0},         {u"1 2", 1},
    };
    for (const auto& c : cases) {
        const std::u16string line = u"<order p0='" + std::u16string(c.value) + u"' />";
        EXPECT_EQ(GetIntAttribute(line, u"p0"), c.number) << platform::ToUtf8(c.value);
    }
}

TEST(ParseOrder, SetsAll51PositionsAndZeroesThoseNotNamed) {
    Catalogue cat;
    cat.order.fill(7);
    // Names match without regard to case, but whole ("p3" is not the end of "p13") and in single quotes.
    ParseOrder(u"<ORDER p0='3' P1='2' p2='x' p4=\"4\" p13='13' p50='50' p51='51' />", cat);
    std::array<Int16, kSlotCount> expected{};
    expected[0] = 3;
    expected[1] = 2;
    expected[13] = 13;
    expected[50] = 50;
    EXPECT_EQ(cat.order, expected);
    EXPECT_EQ(GetIntAttribute(u"<order p3='9' />", u"P3"), 9) << "the name asked for is lower-cased";
}

} // namespace
} // namespace catalogue
