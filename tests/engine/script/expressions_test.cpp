#include "engine/script/expressions.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

TEST(Expressions, ComparisonsConnectivesAndErrors)
{
    struct Case {
        const char16_t* text;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"\"1\" < \"2\"", u"TRUE"},
        {u"\"1\" < \"2\" and \"b\" = \"c\"", u"FALSE"},
        {u"\"1\" < \"2\" AND \"b\" = \"c\"", u"ERROR"},     // connectives are lower case
        {u"\"1\" < \"2\" or \"b\" = \"c\"", u"TRUE"},
        {u"\"10\" > \"9\"", u"TRUE"},                      // integers compare as numbers
        {u"\"010\" = \"10\"", u"TRUE"},
        {u"\"-5\" < \"+3\"", u"TRUE"},
        {u"\"b\" > \"a\"", u"TRUE"},
        {u"\"B\" > \"a\"", u"FALSE"},                      // texts by character code
        {u"\"10\" > \"9x\"", u"FALSE"},                    // one side no integer: text order
        {u"\"abc\" <> \"abd\"", u"TRUE"},
        {u"\"a\" <= \"a\"", u"TRUE"},
        {u"\"a\" >= \"b\"", u"FALSE"},
        {u"\"say \"\"hi\"\"\" = \"say \"\"hi\"\"\"", u"TRUE"},  // doubled quotes
        {u"\"1\"=\"1\"and\"2\"=\"2\"", u"TRUE"},            // a quote ends a connective
        {u"(\"1\" = \"2\" or \"1\" = \"1\") and \"x\" = \"x\"", u"TRUE"},
        // Left to right without precedence: (TRUE or TRUE) and FALSE.
        {u"\"1\" = \"1\" or \"2\" = \"2\" and \"3\" = \"4\"", u"FALSE"},
        {u"  \"1\"  =  \"1\"  ", u"TRUE"},
        {u"\"3000000000\" > \"2999999999\"", u"TRUE"},     // large numbers keep their order
        {u"\"1\" == \"1\"", u"ERROR"},
        {u"\"1\" = 1", u"ERROR"},
        {u"\"1\" =", u"ERROR"},
        {u"\"1 = \"1\"", u"ERROR"},
        {u"(\"1\" = \"1\"", u"ERROR"},
        {u"\"1\" = \"1\") x", u"ERROR"},                    // text after the closing parenthesis
        {u"\"1\" = \"1\" xor \"1\" = \"1\"", u"ERROR"},
        {u"", u"ERROR"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EvaluateExpression(c.text), c.expected) << toUtf8(c.text);
}

TEST(Expressions, SyntaxCheckReadsReferencesAsQuotedTexts)
{
    EXPECT_TRUE(ExpressionSyntaxOk(u"$A$ = \"1\" and $B$ <> $C$"));
    EXPECT_TRUE(ExpressionSyntaxOk(u"$A$ > \"5\""));
    EXPECT_FALSE(ExpressionSyntaxOk(u"$A$ = 1"));
    EXPECT_FALSE(ExpressionSyntaxOk(u"$A$ = \"1\" AND $B$ = \"2\""));
}

}  // namespace
