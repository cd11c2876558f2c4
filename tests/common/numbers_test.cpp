#include "common/numbers.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/text.h"

using namespace pellion;

namespace {

struct ParseCase {
    std::u16string text;
    std::optional<int64_t> value64;
    std::optional<int32_t> value32;
};

TEST(DecimalNumbers, ParseWithExplicitFailure)
{
    const ParseCase cases[] = {
        {u"0", 0, 0},
        {u"42", 42, 42},
        {u"+7", 7, 7},
        {u"-7", -7, -7},
        {u"007", 7, 7},
        {u"2147483647", 2147483647, 2147483647},
        {u"2147483648", 2147483648LL, std::nullopt},
        {u"-2147483648", -2147483648LL, std::numeric_limits<int32_t>::min()},
        {u"9223372036854775807", std::numeric_limits<int64_t>::max(), std::nullopt},
        {u"-9223372036854775808", std::numeric_limits<int64_t>::min(), std::nullopt},
        {u"9223372036854775808", std::nullopt, std::nullopt},
        {u"-9223372036854775809", std::nullopt, std::nullopt},
        {u"99999999999999999999999", std::nullopt, std::nullopt},
        {u"", std::nullopt, std::nullopt},
        {u"-", std::nullopt, std::nullopt},
        {u"+", std::nullopt, std::nullopt},
        {u" 1", std::nullopt, std::nullopt},
        {u"1 ", std::nullopt, std::nullopt},
        {u"1a", std::nullopt, std::nullopt},
        {u"0x10", std::nullopt, std::nullopt},
        {u"--1", std::nullopt, std::nullopt},
        {u"\uFF11", std::nullopt, std::nullopt},  // fullwidth digit one
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseInt64(c.text), c.value64) << toUtf8(c.text);
        EXPECT_EQ(parseInt32(c.text), c.value32) << toUtf8(c.text);
    }
}

TEST(DecimalNumbers, FormatRoundTripsThroughParse)
{
    for (int64_t v : {int64_t{0}, int64_t{1}, int64_t{-1}, int64_t{1234567890123}, std::numeric_limits<int64_t>::min(),
                      std::numeric_limits<int64_t>::max()}) {
        EXPECT_EQ(parseInt64(formatInt(v)), v);
    }
    EXPECT_EQ(formatInt(-42), u"-42");
    EXPECT_EQ(formatUnsigned(18446744073709551615ULL), u"18446744073709551615");
}

}  // namespace
