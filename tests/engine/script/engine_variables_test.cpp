#include "engine/script/engine_variables.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

class Assignment : public ::testing::Test {
protected:
    Assignment() : variables(store, settings) {}
    TVariableManager store;
    EngineSettings settings;
    EngineVariables variables;
};

TEST_F(Assignment, AValueThatIsTheVariablesOwnReferenceStoresEmpty)
{
    variables.SetVariable(u"RESULT", u"$result$", u"Set Variable Action");
    EXPECT_TRUE(variables.VariableExists(u"RESULT"));
    EXPECT_EQ(variables.GetVariable(u"RESULT"), u"");
    variables.SetVariable(u"RESULT", u"value", u"Set Variable Action");
    variables.AssignVariable(u"Result", u"$RESULT$", u"Set Variable Action");
    EXPECT_EQ(variables.GetVariable(u"RESULT"), u"");
    // Only the whole value counts as a self reference.
    variables.AssignVariable(u"RESULT", u"x$RESULT$", u"Set Variable Action");
    EXPECT_EQ(variables.GetVariable(u"RESULT"), u"x$RESULT$");
}

TEST_F(Assignment, CommandLineValuesWinOnlyInSilentRuns)
{
    settings.commandLineVariables = {{u"INSTALLDIR", u"D:\\cmd\\"}, {u"OTHER", u"INSTALLDIR2"}};
    store.Add(u"INSTALLDIR", u"D:\\cmd\\");
    store.Add(u"INSTALLDIR2", u"old");

    settings.silent = true;
    variables.AssignVariable(u"InstallDir", u"C:\\script\\", u"Set Variable Action");
    variables.SetVariable(u"INSTALLDIR", u"C:\\script\\", u"Set Variable Action");
    EXPECT_EQ(variables.GetVariable(u"INSTALLDIR"), u"D:\\cmd\\");
    // A text equal to a name in a value position protects nothing.
    variables.AssignVariable(u"INSTALLDIR2", u"new", u"Set Variable Action");
    EXPECT_EQ(variables.GetVariable(u"INSTALLDIR2"), u"new");
    // The override context may always write.
    variables.AssignVariable(u"INSTALLDIR", u"E:\\", injectOverrideContext);
    EXPECT_EQ(variables.GetVariable(u"INSTALLDIR"), u"E:\\");

    settings.silent = false;
    variables.AssignVariable(u"INSTALLDIR", u"C:\\script\\", u"Set Variable Action");
    EXPECT_EQ(variables.GetVariable(u"INSTALLDIR"), u"C:\\script\\");
}

TEST_F(Assignment, DeleteRemovesOnlyExistingNamedVariables)
{
    store.Add(u"A", u"1");
    variables.DeleteVariable(u"");
    variables.DeleteVariable(u"a");
    EXPECT_FALSE(variables.VariableExists(u"A"));
}

TEST(ReferenceForms, NameBetweenTwoDollarSignsOnly)
{
    struct Case {
        const char16_t* text;
        const char16_t* reference;
        const char16_t* nameOrReference;
    };
    const Case cases[] = {
        {u"$TARGETDIR$", u"TARGETDIR", u"TARGETDIR"},
        {u"TARGETDIR", u"", u"TARGETDIR"},
        {u"$A$B$", u"", u"$A$B$"},
        {u"$A", u"", u"$A"},
        {u"$$", u"", u"$$"},
        {u"x$A$", u"", u"x$A$"},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReferenceName(c.text), c.reference) << toUtf8(c.text);
        EXPECT_EQ(NameOrReference(c.text), c.nameOrReference) << toUtf8(c.text);
    }
}

TEST(ReferenceForms, ReferencedValueExpandsOrMarksMissing)
{
    TVariableManager store;
    EngineSettings settings;
    EngineVariables variables(store, settings);
    store.Add(u"TITLE", u"Pellion");
    store.Add(u"CAPTION", u"Welcome to $TITLE$");
    EXPECT_EQ(variables.ReferencedValue(u"$CAPTION$"), u"Welcome to Pellion");
    EXPECT_EQ(variables.ReferencedValue(u"caption"), u"Welcome to Pellion");
    EXPECT_EQ(variables.ReferencedValue(u"$NOPE$"), u"$QUAVNX$");
    EXPECT_EQ(variables.ReferencedValueOrEmpty(u"$NOPE$"), u"");
}

TEST(Truth, TrueInAnyLetterCaseOrMinusOne)
{
    for (const char16_t* text : {u"TRUE", u"true", u"True", u"-1"})
        EXPECT_TRUE(isTrue(text)) << toUtf8(text);
    for (const char16_t* text : {u"", u"FALSE", u"1", u" TRUE", u"yes", u"-1 "})
        EXPECT_FALSE(isTrue(text)) << toUtf8(text);
}

TEST(CompilerVariables, SubstitutedInOrderWithoutLetterCase)
{
    const std::vector<std::pair<std::u16string, std::u16string>> pairs = {
        {u"BUILDMODE", u"SFX"}, {u"LANGUAGE", u"English"}, {u"NESTED", u"#buildmode#-#LANGUAGE#"},
        {u"LANGUAGE", u"German"},
    };
    struct Case {
        const char16_t* text;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"no hash", u"no hash"},
        {u"#BUILDMODE#", u"SFX"},
        {u"#language# #Language#", u"English English"},
        // A later pair of the same name still sees what earlier pairs produced.
        {u"#NESTED#", u"SFX-German"},
        {u"#SINGLEINSTANCE#", u"#SINGLEINSTANCE#"},
        {u"# #", u"# #"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandCompilerVariables(c.text, pairs), c.expected) << toUtf8(c.text);
}

TEST(CompilerVariables, ASelfReferringCompilerVariableStops)
{
    const std::vector<std::pair<std::u16string, std::u16string>> pairs = {{u"LOOP", u"x#LOOP#"}};
    const std::u16string result = ExpandCompilerVariables(u"#LOOP#", pairs);
    EXPECT_EQ(result, std::u16string(maxCompilerRounds, u'x') + u"#LOOP#");
}

}  // namespace
