// Whole runs of the string commands: "Set Variable" and its special
// variables, translated parameters, "Localization Variable", "Parse String",
// "Replace String", "Convert Case" and "Set 64 Bit Mode".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "command_fixture.h"
#include "common/text.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

TEST(SetVariableRemembering, OnlyTheExactFlagWordTrueRemembers)
{
    ScriptBuilder script;
    script.add("Set Variable", {"MD5CHECKSUM$QUAV$QUAV$TRUE", "abc"})
        .add("Set Variable", {"USERNAME$QUAV$QUAV$true", "ada"})
        .add("Set Variable", {"md5checksum$QUAV$QUAV$TRUE", "again"})
        .add("Set Variable", {"$COMPANY$$QUAV$QUAV$TRUE", "Brennic"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.variable(u"MD5CHECKSUM"), u"again");
    EXPECT_EQ(run.variable(u"USERNAME"), u"ada");
    EXPECT_EQ(run.variable(u"COMPANY"), u"Brennic");
    EXPECT_EQ(run.services.rememberedVariables, (std::vector<std::u16string>{u"MD5CHECKSUM", u"COMPANY"}));
}

TEST(SetVariableStores, SelfReferenceEmptyNameAndExpansion)
{
    ScriptBuilder script;
    script.add("Set Variable", {"PREREQ", "FALSE"})
        .add("Set Variable", {"SELF", "$SELF$"})
        .add("Set Variable", {"", "nothing"})
        .add("Set Variable", {"$COPY$", "[$PREREQ$]"});
    CommandRun run(script);
    const size_t before = run.script.store.Count();
    run.run();
    (void)before;
    EXPECT_EQ(run.variable(u"PREREQ"), u"FALSE");
    EXPECT_TRUE(run.script.store.Exists(u"SELF"));
    EXPECT_EQ(run.variable(u"SELF"), u"");
    EXPECT_FALSE(run.script.store.Exists(u""));
    EXPECT_EQ(run.variable(u"COPY"), u"[FALSE]");
    EXPECT_TRUE(run.script.host.errors.empty());
}

TEST(SetVariableSpecialNames, AbortAlsoSetsTheCancelRequestAndTimeoutReadsSeconds)
{
    ScriptBuilder script;
    script.add("Set Variable", {"abort", "TRUE"})
        .add("Record", {"$QUAV_IsCancelled$"})
        .add("Set Variable", {"QUAV_TIMEOUT", "45"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(joined(run.script.recorded), "TRUE");
    EXPECT_EQ(run.services.downloadTimeoutSeconds, 45);

    ScriptBuilder notANumber;
    notANumber.add("Set Variable", {"QUAV_TIMEOUT", "soon"});
    CommandRun second(notANumber);
    second.services.downloadTimeoutSeconds = 99;
    second.run();
    EXPECT_EQ(second.services.downloadTimeoutSeconds, 10);
}

TEST(SetVariableSpecialNames, ProgressRefreshesTheDisplayAndANonNumberEndsTheRun)
{
    ScriptBuilder script;
    script.add("Set Variable", {"PROGRESS", "40"})
        .add("Set Variable", {"PROGRESSTEXT", "Copying"})
        .add("Set Variable", {"PROGRESS", "half"})
        .add("Record", {"never"});
    CommandRun run(script);
    run.run();
    ASSERT_EQ(run.progress.refreshes.size(), 2u);
    EXPECT_EQ(run.progress.refreshes[1], (std::pair<std::u16string, int64_t>{u"Copying", 40}));
    EXPECT_TRUE(run.script.recorded.empty());
    ASSERT_EQ(run.script.host.errors.size(), 1u);
    EXPECT_NE(run.script.host.errors[0].find(u"'half' is not a valid integer value"), std::u16string::npos);
}

TEST(SetVariableNativeLogging, ABaseIsAcceptedWhenAllOrNoneOfItsFilesExist)
{
    // The log bases are the support folder's, known only once the fixture exists.
    CommandRun run(ScriptBuilder{});
    const std::string base = run.folder + "setup";
    const std::string partial = run.folder + "partial";
    { std::ofstream(partial + ".native.data.log"); }
    ScriptBuilder script;
    script.add("Set Variable", {"NATIVE_LOGGING", base})
        .add("Record", {"$NATIVE_LOGGING$"})
        .add("Set Variable", {"NATIVE_LOGGING", base})     // unchanged: nothing written out
        .add("Set Variable", {"NATIVE_LOGGING", partial})  // some files exist: refused
        .add("Record", {"[$NATIVE_LOGGING$]"})
        .add("Set Variable", {"NATIVE_LOGGING", base})
        .add("Set Variable", {"NATIVE_LOGGING", "FALSE"})
        .add("Set Variable", {"NATIVE_LOGGING", "nofolder"})
        .add("Record", {"[$NATIVE_LOGGING$]"});
    run.script.package = script.package();
    run.run();
    EXPECT_EQ(joined(run.script.recorded), base + " [] []");
    for (const char* suffix : {".native.elements.log", ".native.data.log", ".native.weight.log", ".native.bitness.log"})
        EXPECT_TRUE(std::filesystem::exists(base + suffix)) << suffix;
    EXPECT_FALSE(std::filesystem::exists(partial + ".native.elements.log"));
    // Held records go out when a base is accepted (twice) and when the value
    // is emptied; not for "FALSE", a refused base or an unchanged value.
    EXPECT_EQ(run.logRecords.writtenOut, 2);
}

TEST(TranslatedSetVariable, NewOnlyTranslatesOnlyWhileTheOriginalRowMatches)
{
    ScriptBuilder script;
    script.add("Set Variable", {"LANGUAGE", "German"})
        .add("Set Variable", {"GREETING", "Hello $USERNAME$"})
        .add("Set Variable", {"FAREWELL", "Goodbye, edited"})
        .add("Localization Variable", {"$TITLETEXT$", "Setup"});
    CommandRun run(script);
    const auto& package = run.script.package;
    const std::string greetingId = toUtf8(package.statementId(1));
    const std::string farewellId = toUtf8(package.statementId(2));
    run.writeSupportFile("Pellion.mtx", {greetingId, farewellId, "ZIVIDIRU$TITLETEXT$ZIVIDIRU"});
    run.writeSupportFile("translations.Original", {"Hello $USERNAME$", "Goodbye", "Setup"});
    run.writeSupportFile("translations.German", {"Hallo $USERNAME$", "Auf Wiedersehen", "Installation"});
    run.script.settings.commandLineVariables.clear();
    run.run();
    EXPECT_EQ(run.variable(u"GREETING"), u"Hallo Ada Owner");  // translated, then expanded
    EXPECT_EQ(run.variable(u"FAREWELL"), u"Goodbye, edited");
    EXPECT_EQ(run.variable(u"TITLETEXT"), u"Installation");
}

TEST(TranslatedSetVariable, VarsOnlyTranslatesLocalizationVariablesAlone)
{
    ScriptBuilder script;
    script.compilerVariable("LOCMODE", "VARSONLY");
    script.add("Set Variable", {"LANGUAGE", "German"})
        .add("Set Variable", {"GREETING", "Hello"})
        .add("Localization Variable", {"TITLETEXT", "Changed since"});
    CommandRun run(script);
    const std::string greetingId = toUtf8(run.script.package.statementId(1));
    run.writeSupportFile("Pellion.mtx", {greetingId, "ZIVIDIRU$TITLETEXT$ZIVIDIRU"});
    run.writeSupportFile("translations.Original", {"Hello", "Setup"});
    run.writeSupportFile("translations.German", {"Hallo", "Installation"});
    run.run();
    EXPECT_EQ(run.variable(u"GREETING"), u"Hello");
    EXPECT_EQ(run.variable(u"TITLETEXT"), u"Installation");
}

TEST(ParseStringRuns, PartsGoToTheirVariablesAndABadModeEndsTheRun)
{
    ScriptBuilder script;
    script.add("Set Variable", {"SOURCE", "  Key = Value  "})
        .add("Parse String", {"$SOURCE$", "=", "KEY", "VALUE", "0", "TRUE", "FALSE"})
        .add("Parse String", {"C:\\\\dir\\\\file", "\\", "", "TAIL", "1", "FALSE", "FALSE"})
        .add("Parse String", {"a=b", "=", "A", "B", "first", "FALSE", "FALSE"})
        .add("Record", {"never"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.variable(u"KEY"), u"Key");
    EXPECT_EQ(run.variable(u"VALUE"), u"Value");
    EXPECT_EQ(run.variable(u"TAIL"), u"file");
    EXPECT_TRUE(run.script.recorded.empty());
    ASSERT_EQ(run.script.host.errors.size(), 1u);
    EXPECT_NE(run.script.host.errors[0].find(u"'first' is not a valid integer value"), std::u16string::npos);
}

TEST(ReplaceAndCaseRuns, TwoLinesBecomeOneWithTheMarkerAndCaseConverts)
{
    ScriptBuilder script;
    script.add("Set Variable", {"TEXT", "one$NEWLINE$two and TWO"})
        .add("Replace String", {"$TEXT$", "two", "2", "TRUE", "TRUE"})
        .add("Set Variable", {"PATHTEXT", "C:\\\\Dir\\\\Ä"})
        .add("Convert Case", {"PATHTEXT", "TRUE"})
        .add("Set Variable", {"LOWER", "MiXeD"})
        .add("Convert Case", {"LOWER", "FALSE"})
        .add("Replace String", {"FRESH", "a", "b", "FALSE", "FALSE"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.variable(u"TEXT"), u"one$NEWLINE$2 and 2");
    EXPECT_EQ(run.variable(u"PATHTEXT"), u"C:\\DIR\\Ä");
    EXPECT_EQ(run.variable(u"LOWER"), u"mixed");
    EXPECT_TRUE(run.script.store.Exists(u"FRESH"));
}

TEST(BitnessMode, ExactTrueFlagsApplyInOrder)
{
    struct Case {
        const char* win32;
        const char* ia64;
        const char* x64;
        const char16_t* mode;
    };
    const Case cases[] = {
        {"TRUE", "FALSE", "TRUE", u"x64"},
        {"FALSE", "TRUE", "FALSE", u"ia64"},
        {"true", "true", "true", u"ia64"},  // lower case changes nothing: the earlier mode stays
        {"TRUE", "FALSE", "FALSE", u"Win32"},
    };
    ScriptBuilder script;
    script.add("Set 64 Bit Mode", {"FALSE", "TRUE", "FALSE"});
    for (const auto& c : cases) {
        ScriptBuilder one;
        one.add("Set 64 Bit Mode", {"FALSE", "TRUE", "FALSE"}).add("Set 64 Bit Mode", {c.win32, c.ia64, c.x64});
        CommandRun run(one);
        run.run();
        EXPECT_EQ(run.script.environment->bitnessMode, c.mode) << c.win32 << c.ia64 << c.x64;
    }
}

}  // namespace
