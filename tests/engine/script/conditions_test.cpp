#include "engine/script/conditions.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "engine/script/script_error.h"

using namespace pellion;

namespace {

class Condition : public ::testing::Test {
protected:
    Condition() : variables(store, settings)
    {
        store.Add(u"TEN", u"010");
        store.Add(u"WORD", u"abcdef");
        store.Add(u"B", u"b");
        store.Add(u"NINE", u"9");
        store.Add(u"VERSION", u"2.1");
        store.Add(u"FOUR", u"1.2.3.4");
        store.Add(u"INDIRECT", u"$WORD$");
        store.Add(u"WIZARD", u"CANCEL");
    }
    bool holds(const char16_t* variable, const char16_t* code, const char16_t* value, const char16_t* negate = u"FALSE")
    {
        return EvaluateCondition({variable, code, value, negate}, variables);
    }
    TVariableManager store;
    EngineSettings settings;
    EngineVariables variables;
};

TEST_F(Condition, CodesCompareNumbersAsNumbersAndTextsAsTexts)
{
    struct Case {
        const char16_t* variable;
        const char16_t* code;
        const char16_t* value;
        bool expected;
    };
    const Case cases[] = {
        {u"TEN", u"0", u"10", true},          // both integers: 010 = 10
        {u"TEN", u"0", u"010", true},
        {u"WORD", u"0", u"abcdef", true},
        {u"WORD", u"0", u"ABCDEF", false},
        {u"WORD", u"1", u"cde", true},
        {u"WORD", u"1", u"CDE", false},         // contains, letter case significant
        {u"WORD", u"3", u"CDE", true},          // contains, letter case ignored
        {u"WORD", u"4", u"ABCDEF", true},       // equals, ASCII letter case ignored
        {u"WORD", u"4", u"ABCDE", false},
        {u"B", u"2", u"a", true},               // text: b > a
        {u"NINE", u"2", u"10", false},          // numbers: 9 > 10 fails
        {u"NINE", u"1", u"9", true},            // numbers: codes 1, 3, 4 test equality
        {u"NINE", u"3", u"+9", true},
        {u"$WORD$", u"0", u"abcdef", true},     // a reference names the variable
        {u"INDIRECT", u"0", u"abcdef", true},   // the value is expanded once more
        {u"MISSING", u"0", u"", true},
        {u"WIZARD", u"0", u"$WIZARD$", true},   // the comparison value is expanded
        {u"WORD", u"7", u"abcdef", false},      // unknown code
        {u"WORD", u"00", u"abcdef", false},
        {u"VERSION", u"6", u"2.0.5", true},
        {u"FOUR", u"6", u"1.2.3.4", false},
        {u"FOUR", u"6", u"1.2.3", true},
        {u"VERSION", u"6", u"2.1.0.1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(holds(c.variable, c.code, c.value), c.expected)
            << toUtf8(c.variable) << " code " << toUtf8(c.code) << " " << toUtf8(c.value);
}

TEST_F(Condition, NegationFlagInvertsEveryOutcome)
{
    EXPECT_FALSE(holds(u"WORD", u"0", u"abcdef", u"TRUE"));
    EXPECT_TRUE(holds(u"WORD", u"0", u"other", u"-1"));
    EXPECT_TRUE(holds(u"WORD", u"9", u"x", u"true"));  // unknown code: false, then negated
}

TEST_F(Condition, DefinedTestsTheNameExactlyAsWritten)
{
    EXPECT_TRUE(holds(u"word", u"5", u""));
    EXPECT_FALSE(holds(u"NOT_THERE", u"5", u""));
    EXPECT_TRUE(holds(u"NOT_THERE", u"5", u"", u"TRUE"));
    EXPECT_FALSE(holds(u"$WORD$", u"5", u""));  // no reference stripping for code 5
}

TEST(Versions, PartsAreNumbersWithMissingOnesZero)
{
    EXPECT_EQ(versionParts(u"2.0.47"), (std::array<int32_t, 4>{2, 0, 47, 0}));
    EXPECT_EQ(versionParts(u"1.2.3.4.5"), (std::array<int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(versionParts(u"3.beta"), (std::array<int32_t, 4>{3, 0, 0, 0}));
    EXPECT_EQ(versionParts(u""), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(versionParts(u"2."), (std::array<int32_t, 4>{2, 0, 0, 0}));
    EXPECT_TRUE(versionGreater(u"10", u"9"));
    EXPECT_FALSE(versionGreater(u"1.2", u"1.2.0.0"));
}

TEST(Versions, APartBeforeADotThatIsNoNumberIsARunTimeError)
{
    for (const char16_t* version : {u"beta.1", u"1..2", u".5"}) {
        try {
            versionParts(version);
            ADD_FAILURE() << toUtf8(version) << " was accepted";
        } catch (const ScriptError& error) {
            EXPECT_NE(error.text().find(u"is not a valid integer value"), std::u16string::npos);
        }
    }
}

}  // namespace
