#include "common/text_lines.h"

#include <gtest/gtest.h>

using namespace pellion;

namespace {

TEST(Utf8Lines, EveryLineEndAndAnOptionalByteOrderMark)
{
    using Lines = std::vector<std::u16string>;
    struct Case { std::string text; Lines lines; };
    const Case cases[] = {
        {"", {}},
        {"a", {u"a"}},
        {"a\r\nb\r\n", {u"a", u"b"}},
        {"a\nb\rc\r\n", {u"a", u"b", u"c"}},
        {"\r\n\r\n", {u"", u""}},
        {"\xEF\xBB\xBF" "x\n", {u"x"}},
        {"\xEF\xBB\xBF", {}},
        {"  blanks kept  \n\xC3\xA4", {u"  blanks kept  ", u"\u00E4"}},
        {"\n\rz", {u"", u"", u"z"}},  // LF then a lone CR: two lines
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8Lines(c.text), c.lines) << c.text;
}

}  // namespace
