#include "common/comma_text.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

using List = std::vector<std::u16string>;

struct RoundTrip {
    const char* name;
    List items;
    std::u16string line;
};

TEST(CommaText, WritesTheLineAndReadsTheSameListBack)
{
    const RoundTrip cases[] = {
        {"empty list", {}, u""},
        {"one empty item stays an item", {u""}, u"\"\""},
        {"plain items", {u"a", u"b", u"c"}, u"a,b,c"},
        {"blank forces quotes", {u"Program Files", u"x"}, u"\"Program Files\",x"},
        {"comma forces quotes", {u"a,b"}, u"\"a,b\""},
        {"quotes are doubled", {u"say \"hi\""}, u"\"say \"\"hi\"\"\""},
        {"lone quote", {u"\""}, u"\"\"\"\""},
        {"empty items in the middle and at the ends", {u"", u"a", u"", u"b", u""}, u",a,,b,"},
        {"two empty items", {u"", u""}, u","},
        {"leading blank kept", {u" a"}, u"\" a\""},
        {"control characters", {u"a\tb", u"c\r\nd"}, u"\"a\tb\",\"c\r\nd\""},
        {"NUL inside an item", {std::u16string(u"a\0b", 3)}, std::u16string(u"\"a\0b\"", 5)},
        {"path with backslashes", {u"C:\\Temp\\", u"HKLM"}, u"C:\\Temp\\,HKLM"},
        {"non-ASCII needs no quotes", {u"\u00FCber"}, u"\u00FCber"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joinCommaText(c.items), c.line) << c.name;
        EXPECT_EQ(splitCommaText(c.line), c.items) << c.name;
    }
}

TEST(CommaText, ReaderSplitsAtUnquotedBlanksAndSkipsSpacing)
{
    struct Case { std::u16string line; List items; };
    const Case cases[] = {
        {u"a b", {u"a", u"b"}},
        {u"  a ,  b  ", {u"a", u"b"}},
        {u"a, ", {u"a"}},
        {u"\"a\"b", {u"a", u"b"}},
        {u"\"unterminated, still read", {u"unterminated, still read"}},
        {u"\"a\" , \"b c\"", {u"a", u"b c"}},
        {u"   ", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitCommaText(c.line), c.items) << toUtf8(c.line);
}

}  // namespace
