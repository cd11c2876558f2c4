#include "engine/script/mathematics.h"

#include <gtest/gtest.h>

#include "common/numbers.h"
#include "common/text.h"
#include "engine/script/script_error.h"

using namespace pellion;

namespace {

TEST(Mathematics, OperationCodes)
{
    struct Case {
        int code;
        const char16_t* a;
        const char16_t* b;
        const char16_t* expected;
    };
    const Case cases[] = {
        {0, u"40", u"2", u"42"},
        {0, u"9223372036854775807", u"1", u"-9223372036854775808"},  // wraps around
        {1, u"-9223372036854775808", u"1", u"9223372036854775807"},
        {2, u"4294967296", u"4294967296", u"0"},
        {2, u"-6", u"7", u"-42"},
        {3, u"-7", u"2", u"-3"},                                      // toward zero
        {3, u"-9223372036854775808", u"-1", u"-9223372036854775808"},
        {4, u"-7", u"2", u"-1"},                                      // sign of A
        {4, u"7", u"-2", u"1"},
        {4, u"-9223372036854775808", u"-1", u"0"},
        {5, u"12", u"10", u"8"},
        {6, u"12", u"10", u"14"},
        {7, u"12", u"10", u"6"},
        {8, u"1", u"62", u"4611686018427387904"},
        {8, u"1", u"63", u"-9223372036854775808"},
        {8, u"1", u"64", u"0"},
        {9, u"-1", u"60", u"15"},                                     // zeros fill from the left
        {9, u"-1", u"-1", u"0"},
        {10, u"0", u"ignored", u"-1"},
        {11, u"A", u"ignored", u"65"},
        {11, u"\u00E9t\u00E9", u"", u"233"},
        {12, u"65", u"ignored", u"A"},
        {12, u"8364", u"", u"\u20AC"},
        {13, u"4294967297", u"3", u"4294967300"},
    };
    for (const auto& c : cases) {
        RandomState random;
        EXPECT_EQ(computeMathematics(c.code, c.a, c.b, random), c.expected)
            << "code " << c.code << " " << toUtf8(c.a) << " " << toUtf8(c.b);
    }
}

TEST(Mathematics, GeneratorGivesZeroUntilSeededThenALinearSequence)
{
    RandomState random;
    EXPECT_EQ(computeMathematics(15, u"100", u"", random), u"0");
    EXPECT_EQ(computeMathematics(15, u"7", u"", random), u"0");

    EXPECT_EQ(computeMathematics(13, u"1103515245", u"12345", random), u"1103527590");
    EXPECT_EQ(computeMathematics(14, u"4294967295", u"", random), u"-1");  // taken modulo 2^32
    EXPECT_EQ(random.state, -1);
    // x = 1103515245 * -1 + 12345 in 32 bits = -1103502900
    EXPECT_EQ(computeMathematics(15, u"1000", u"", random), u"-900");
    EXPECT_EQ(random.state, -1103502900 % 32767);
    const int32_t state = random.state;
    const int32_t next = static_cast<int32_t>(1103515245u * static_cast<uint32_t>(state) + 12345u);
    EXPECT_EQ(computeMathematics(15, u"97", u"", random), formatInt(next % 97));
}

TEST(Mathematics, RunTimeErrors)
{
    struct Case {
        int code;
        const char16_t* a;
        const char16_t* b;
    };
    const Case cases[] = {
        {0, u"x", u"1"}, {0, u"1", u""}, {3, u"5", u"0"}, {4, u"5", u"0"}, {15, u"0", u""},
        {11, u"", u""},  {16, u"1", u"1"}, {-1, u"1", u"1"}, {0, u"99999999999999999999", u"1"},
    };
    for (const auto& c : cases) {
        RandomState random;
        EXPECT_THROW(computeMathematics(c.code, c.a, c.b, random), ScriptError) << "code " << c.code;
    }
    // B is read only by the codes that use it.
    RandomState random;
    EXPECT_EQ(computeMathematics(10, u"5", u"not a number", random), u"-6");
}

}  // namespace
