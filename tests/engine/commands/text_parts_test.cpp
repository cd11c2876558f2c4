// Splitting, path parts and replacement as the string commands use them.

#include <gtest/gtest.h>

#include "common/text.h"
#include "engine/commands/text_parts.h"

using namespace pellion;

namespace {

struct SplitCase {
    const char16_t* source;
    const char16_t* delimiter;
    int mode;
    bool anyCase;
    const char16_t* first;
    const char16_t* second;
};

TEST(ParseStringModes, EachModeSplitsWhereItsTableSays)
{
    const SplitCase cases[] = {
        {u"a=b=c", u"=", 0, false, u"a", u"b=c"},
        {u"a=b=c", u"=", 1, false, u"a=b", u"c"},
        {u"a==b", u"==", 0, false, u"a", u"b"},
        {u"abc", u"x", 0, false, u"abc", u""},   // absent: everything is the first part
        {u"abc", u"x", 1, false, u"", u"abc"},   // absent: everything is the second part
        {u"abc", u"", 0, false, u"abc", u""},    // an empty delimiter is never found
        {u"abc", u"", 1, false, u"", u"abc"},
        {u"=abc", u"=", 0, false, u"", u"abc"},
        {u"abc=", u"=", 1, false, u"abc", u""},
        {u"abcdef", u"2", 2, false, u"ab", u"cdef"},
        {u"abcdef", u"0", 2, false, u"", u"abcdef"},
        {u"abcdef", u"9", 2, false, u"abcdef", u""},
        {u"abcdef", u"2", 3, false, u"abcd", u"ef"},
        {u"abcdef", u"6", 3, false, u"", u""},       // the whole length: both parts empty
        {u"abcdef", u"8", 3, false, u"", u"abcdef"},  // longer: the second part is everything
        {u"abcdef", u"x", 2, false, u"", u""},        // a count that is not a number
        {u"abcdef", u"x", 3, false, u"", u""},
        {u"abc", u"b", 7, false, u"", u""},           // an unknown mode
        {u"one AND two", u"and", 0, true, u"one ", u" two"},
        {u"one and two", u"AND", 0, true, u"one ", u" two"},
        {u"one and two", u"AND", 0, false, u"one and two", u""},
        {u"xAyAz", u"a", 1, true, u"xAy", u"z"},
    };
    for (const auto& c : cases) {
        const auto [first, second] = splitText(c.source, c.delimiter, c.mode, c.anyCase);
        EXPECT_EQ(first, c.first) << toUtf8(c.source) << " / " << toUtf8(c.delimiter) << " mode " << c.mode;
        EXPECT_EQ(second, c.second) << toUtf8(c.source) << " / " << toUtf8(c.delimiter) << " mode " << c.mode;
    }
}

TEST(ParseStringModes, HugeCountsDoNotOverflow)
{
    EXPECT_EQ(splitText(u"abc", u"9223372036854775807", 2, false).first, u"abc");
    EXPECT_EQ(splitText(u"abc", u"-9223372036854775807", 3, false).second, u"");
}

TEST(TrimmedParts, BlanksAndControlCharactersGoFromBothEnds)
{
    EXPECT_EQ(trimmed(u" \t a b \r\n"), u"a b");
    EXPECT_EQ(trimmed(u" \x01 "), u"");
}

struct PathCase {
    const char16_t* path;
    int code;
    const char16_t* part;
};

TEST(ExtractPathCodes, EachCodeReturnsItsPart)
{
    const PathCase cases[] = {
        {u"C:\\Program Files\\Brennic\\app.tar.gz", 0, u"app.tar.gz"},
        {u"C:\\Program Files\\Brennic\\app.tar.gz", 1, u"app.tar"},  // only the last extension goes
        {u"C:\\Program Files\\Brennic\\app.tar.gz", 2, u"gz"},
        {u"C:\\Program Files\\Brennic\\README", 2, u""},
        {u"C:\\Program Files\\Brennic\\README", 1, u"README"},
        {u"C:\\Program Files\\Brennic\\app.exe", 3, u"C:\\Program Files\\Brennic\\"},
        {u"C:\\Program Files\\Brennic\\app.exe", 4, u"C:\\Program Files\\"},
        {u"C:\\Program Files\\Brennic\\", 3, u"C:\\Program Files\\Brennic\\"},  // a folder stays itself
        {u"C:\\Program Files\\Brennic\\", 4, u"C:\\Program Files\\"},
        {u"C:\\Program Files\\", 4, u"C:\\"},
        {u"app.exe", 3, u""},
        {u"app.exe", 4, u""},
        {u"C:app.exe", 0, u"app.exe"},
        {u"C:\\Brennic\\app.exe", 5, u"C:\\"},
        {u"\\\\server\\share\\dir\\app.exe", 5, u"\\\\server\\share\\"},
        {u"dir\\app.exe", 5, u""},
        {u"\\\\server\\\\share\\\\app.exe", 6, u"\\server\\share\\app.exe"},
        {u"C:\\dir\\app.exe", 42, u"C:\\dir\\app.exe"},
        {u"C:\\dir\\app.exe", -1, u"C:\\dir\\app.exe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(extractPathPart(c.path, c.code), c.part) << toUtf8(c.path) << " code " << c.code;
}

TEST(ExtractPathCodes, ClimbingTwiceReachesTheGrandparent)
{
    const auto once = extractPathPart(u"C:\\Vantrel\\Plugins\\Bin\\", 4);
    EXPECT_EQ(extractPathPart(once, 4), u"C:\\Vantrel\\");
}

struct ReplaceCase {
    const char16_t* value;
    const char16_t* find;
    const char16_t* replacement;
    bool anyCase;
    bool every;
    const char16_t* result;
};

TEST(ReplaceText, FirstOrEveryOccurrenceWithOrWithoutCase)
{
    const ReplaceCase cases[] = {
        {u"a-b-c", u"-", u"+", false, false, u"a+b-c"},
        {u"a-b-c", u"-", u"+", false, true, u"a+b+c"},
        {u"aXbxc", u"x", u"_", false, true, u"aXb_c"},
        {u"aXbxc", u"x", u"_", true, true, u"a_b_c"},
        {u"abc", u"", u"_", false, true, u"abc"},        // an empty find changes nothing
        {u"aaa", u"a", u"aa", false, true, u"aaaaaa"},   // replacements are not searched again
        {u"abc", u"abc", u"", false, false, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replaceText(c.value, c.find, c.replacement, c.anyCase, c.every), c.result) << toUtf8(c.value);
}

TEST(ReplaceText, LineBreaksBecomeTheNewlineMarker)
{
    EXPECT_EQ(markLineBreaks(u"one\r\ntwo\nthree"), u"one$NEWLINE$two\nthree");
}

}  // namespace
