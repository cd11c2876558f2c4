#include "common/text.h"

#include <gtest/gtest.h>

using namespace pellion;

namespace {

struct DecodeCase {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

TEST(Utf8ToUtf16, DecodesValidTextAndReplacesEveryMalformedSequence)
{
    const DecodeCase cases[] = {
        {"ascii", "abc", u"abc"},
        {"empty", "", u""},
        {"two-byte umlaut", "\xC3\xBC", u"\u00FC"},
        {"three-byte euro", "\xE2\x82\xAC", u"\u20AC"},
        {"four-byte emoji becomes a surrogate pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        {"embedded NUL survives", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"lone continuation byte", "a\x80z", u"a\uFFFDz"},
        {"truncated sequence at the end", "a\xE2\x82", u"a\uFFFD"},
        {"truncated sequence keeps the next character", "\xE2\x82" "b", u"\uFFFDb"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte form", "\xE0\x80\xAF", u"\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
        {"invalid lead byte", "\xFF", u"\uFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toUtf16(c.utf8), c.utf16) << c.name;
}

TEST(Utf16ToUtf8, EncodesPairsAndReplacesUnpairedSurrogates)
{
    EXPECT_EQ(toUtf8(u"\u00FC\u20AC"), "\xC3\xBC\xE2\x82\xAC");
    EXPECT_EQ(toUtf8(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(u"x\xDC00y"), "x\xEF\xBF\xBDy");
    EXPECT_EQ(toUtf8(std::u16string(u"\xD83D") + u"a"), "\xEF\xBF\xBD" "a");
}

TEST(Utf8RoundTrip, EveryBmpCharacterOutsideSurrogatesSurvives)
{
    std::u16string all;
    for (char32_t c = 1; c < 0x10000; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            all.push_back(static_cast<char16_t>(c));
    EXPECT_EQ(toUtf16(toUtf8(all)), all);
}

}  // namespace
