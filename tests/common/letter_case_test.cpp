#include "common/letter_case.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

TEST(LetterCase, MapsLettersBeyondAsciiOneToOne)
{
    struct Case { char16_t lower; char16_t upper; };
    const Case cases[] = {
        {u'a', u'A'}, {u'z', u'Z'},
        {u'\u00E4', u'\u00C4'},  // a umlaut
        {u'\u00FF', u'\u0178'},  // y diaeresis leaves Latin-1 when upper-cased
        {u'\u0101', u'\u0100'},  // a macron
        {u'\u03B1', u'\u0391'},  // Greek alpha
        {u'\u0436', u'\u0416'},  // Cyrillic zhe
        {u'\uFF41', u'\uFF21'},  // fullwidth a
        {u'\u1D79', u'\uA77D'},  // insular g: a delta beyond 16 bits signed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUpper(c.lower), c.upper) << int(c.lower);
        EXPECT_EQ(toLower(c.upper), c.lower) << int(c.upper);
    }
}

TEST(LetterCase, LeavesCharactersWithoutSimpleMappingAlone)
{
    // Sharp s has only a two-letter upper case; simple mapping keeps it.
    for (char16_t c : {u'\u00DF', u'1', u'$', u'\u4E2D', u'\uFFFF', char16_t{0xD800}}) {
        EXPECT_EQ(toUpper(c), c) << int(c);
        EXPECT_EQ(toLower(c), c) << int(c);
    }
}

TEST(LetterCase, ComparesWithoutCase)
{
    EXPECT_TRUE(equalsNoCase(u"TargetDir", u"TARGETDIR"));
    EXPECT_TRUE(equalsNoCase(u"\u00FCber", u"\u00DCBER"));
    EXPECT_FALSE(equalsNoCase(u"abc", u"abcd"));
    EXPECT_LT(compareNoCase(u"abc", u"ABD"), 0);
    EXPECT_GT(compareNoCase(u"b", u"A"), 0);
    EXPECT_LT(compareNoCase(u"ab", u"AB c"), 0);
    EXPECT_EQ(upperCase(u"Stra\u00DFe \u00E4"), u"STRA\u00DFE \u00C4");
    EXPECT_EQ(lowerCase(u"\u0130"), u"i");  // dotted capital I lowers to plain i
}

TEST(LetterCase, AsciiVariantIgnoresOtherLetters)
{
    EXPECT_TRUE(equalsAsciiNoCase(u"True", u"TRUE"));
    EXPECT_FALSE(equalsAsciiNoCase(u"\u00E4", u"\u00C4"));
    EXPECT_EQ(asciiUpperCase(u"ab\u00E4"), u"AB\u00E4");
    EXPECT_EQ(asciiLowerCase(u"AB\u00C4"), u"ab\u00C4");
    EXPECT_EQ(compareAsciiNoCase(u"abc", u"ABC"), 0);
}

// The table must agree with itself: upper and lower mappings are each other's
// inverse for every cased letter that round-trips in Unicode's own data.
TEST(LetterCase, UpperAndLowerTablesAgreeAcrossTheWholePlane)
{
    int mapped = 0;
    for (char32_t i = 0; i < 0x10000; ++i) {
        const auto c = static_cast<char16_t>(i);
        if (toUpper(c) != c)
            ++mapped;
        EXPECT_EQ(toUpper(toUpper(c)), toUpper(c)) << int(i);
    }
    EXPECT_GT(mapped, 1000);
}

}  // namespace
