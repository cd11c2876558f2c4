// Preamble, epilogue and failures of a whole run.

#include <gtest/gtest.h>

#include "common/text.h"
#include "engine/script/predefined_variables.h"
#include "script_fixture.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

ScriptBuilder oneRecord()
{
    ScriptBuilder script;
    script.add("Record", {"ran"});
    return script;
}

TEST(ScriptRunTrace, PreambleAndEpilogueLinesInOrder)
{
    ScriptRun run(oneRecord());
    run.run();
    const std::vector<std::string> expected = {
        "    <Variables>", "    </Variables>", "    <CompileScript>", "    </CompileScript>", "    <BootStrap>",
        "    </BootStrap>", "    <quav>", "    </quav>", "    <ExitScript>", "    </ExitScript>",
    };
    EXPECT_EQ(run.traceLines(), expected);
    EXPECT_EQ(joined(run.recorded), "ran");
    EXPECT_EQ(run.extensions.calls, (std::vector<std::string>{"bootstrap", "selectLanguage", "exitSteps"}));
}

TEST(ScriptRunValidation, ARejectedScriptEndsTheProcessWith314AndRunsNothing)
{
    ScriptBuilder script;
    script.add("Record", {"never"}).add("If", {"A", "0", "", "FALSE"});  // no End
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(run.host.processEnds, std::vector<int32_t>{314});
    EXPECT_EQ(run.settings.exitCode, 314);
    EXPECT_TRUE(run.recorded.empty());
    EXPECT_TRUE(run.host.errors.empty());
    EXPECT_EQ(run.traceLines(), (std::vector<std::string>{"    <Variables>", "    </Variables>", "    <CompileScript>"}));
    EXPECT_TRUE(run.extensions.calls.empty()) << "no bootstrap, no exit steps";
    EXPECT_EQ(run.store.Count(), 0u) << "the validation variables are removed again";
}

TEST(ScriptRunVariables, InitialValuesOfAFirstInstallation)
{
    ScriptRun run(oneRecord());
    run.settings.commandTail = u"/s NAME=x";
    run.settings.sfxSource = u"d:\\downloads\\pellion.exe";
    run.facts.administrator = false;
    run.run();
    struct Case {
        const char16_t* name;
        const char16_t* value;
    };
    const Case cases[] = {
        {u"PRODUCTCODE", u"{6B8125B1-8560-4919-BC49-5544BF0EFA68}"},
        {u"REVISIONCODE", u"{3EDCCA79-A858-4303-9BCF-1D96429E97D7}"},
        {u"TARGETDIR", u"C:\\Users\\ada\\Pellion\\"},
        {u"STARTMENU", u"Pellion"},
        {u"ALLUSERS", u"FALSE"},
        {u"MAINTENANCE", u"FALSE"},
        {u"QUAV_thMax", u"100"},
        {u"QUAV_IsCancelled", u"FALSE"},
        {u"QUAV_TIMEOUT", u"10"},
        {u"USERNAME", u"Ada Owner"},
        {u"USERCOMPANY", u"Brennic Ltd."},
        {u"NATIVE_ENGINE", u"FALSE"},
        {u"NATIVE_ERROR", u"PROMPT"},
        {u"IISHOST", u"localhost"},
        {u"ABORT", u"FALSE"},
        {u"RUNAPP", u"TRUE"},
        {u"WIZARD", u"NEXT"},
        {u"FXTIME", u"1000"},
        {u"REBOOTNOW", u"OK"},
        {u"NEWLINE", u"\r\n"},
        {u"EXEFILE", u"C:\\media\\setup.exe"},
        {u"EXEDIR", u"C:\\media\\"},
        {u"ROOTDIR", u"C:\\media\\"},
        {u"VERSION", u"2.0.47"},
        {u"TITLE", u"Pellion"},
        {u"COMPANY", u"Brennic Ltd."},
        {u"SILENT", u"FALSE"},
        {u"CMDLINE", u"/s NAME=x"},
        {u"SFXPATH", u"d:\\downloads\\"},
        {u"SFXFILE", u"pellion.exe"},
        {u"GPOPATH", u""},
        {u"SETUPPATH", u"$SFXPATH$"},
        {u"GLASS", u"FALSE"},
        {u"DATE", u"24.12.2030"},
        {u"TIME", u"12:34:56"},
        {u"TEMPDIR", u"C:\\Temp\\"},
        {u"SUPPORTDIR", u"C:\\Temp\\oxa1\\"},
        {u"MSIFILE", u"C:\\Temp\\oxa1\\setup.msi"},
        {u"DATADIR", u"C:\\media\\data\\"},
        {u"LANGUAGE", u""},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(run.store.Exists(c.name)) << toUtf8(c.name);
        EXPECT_EQ(run.variable(c.name), c.value) << toUtf8(c.name);
    }
    EXPECT_EQ(run.environment->variables.ExpandText(u"$SETUPPATH$"), u"d:\\downloads\\");
}

TEST(ScriptRunVariables, AdministratorsInstallIntoProgramFiles)
{
    ScriptRun run(oneRecord());
    run.facts.administrator = true;
    run.run();
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"C:\\Program Files\\Pellion\\");
    EXPECT_EQ(run.variable(u"ALLUSERS"), u"TRUE");
}

TEST(ScriptRunVariables, EveryPredefinedNameExistsWhenTheFirstStatementRuns)
{
    ScriptRun run(oneRecord());
    run.run();
    for (const auto& name : predefinedVariableNames()) {
        if (name == u"UNINSTALLLINK" || name == u"ENGINECACHE")
            continue;  // computed by the instance-data bootstrap, not by a first installation's stand-in
        EXPECT_TRUE(run.store.Exists(name)) << toUtf8(name);
    }
}

TEST(ScriptRunVariables, SilentCommandLineValueSurvivesScriptAssignments)
{
    ScriptBuilder script;
    script.add("Set Variable", {"INSTALLDIR", "C:\\script\\"}).add("Record", {"$INSTALLDIR$"})
        .add("Set Variable", {"WIZARD", "BACK"}).add("Record", {"$WIZARD$"});
    for (const bool silent : {true, false}) {
        ScriptRun run(script);
        run.settings.silent = silent;
        run.settings.commandLineVariables = {{u"INSTALLDIR", u"D:\\cmd\\"}, {u"WIZARD", u"NEXT2"}};
        run.run();
        EXPECT_EQ(joined(run.recorded), silent ? "D:\\cmd\\ NEXT2" : "C:\\script\\ BACK") << "silent " << silent;
    }
}

TEST(ScriptRunVariables, SilentIsReadBackFromTheVariableBeforeEveryStatement)
{
    ScriptBuilder script;
    script.add("Set Variable", {"SILENT", "TRUE"}).add("Set Variable", {"INSTALLDIR", "script"})
        .add("Record", {"$INSTALLDIR$"});
    ScriptRun run(script);
    run.settings.commandLineVariables = {{u"INSTALLDIR", u"cmd"}};
    run.run();
    EXPECT_EQ(joined(run.recorded), "cmd");
    EXPECT_TRUE(run.settings.silent);
}

TEST(ScriptRunVariables, DateTimeAndCancelStateAreRefreshedBeforeEachStatement)
{
    ScriptBuilder script;
    script.add("Record", {"$DATE$ $ABORT$"})
        .add("Set Variable", {"QUAV_IsCancelled", "true"})
        .add("Record", {"$TIME$ $ABORT$"});
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(joined(run.recorded), "24.12.2030 FALSE 12:34:56 TRUE");
}

TEST(ScriptRunSingleInstance, ASecondInstanceStopsBeforeAnyStatement)
{
    ScriptBuilder script;
    script.compilerVariable("SINGLEINSTANCE", "true").add("Record", {"ran"});
    const std::u16string marker = u"C:\\Temp\\{3EDCCA79-A858-4303-9BCF-1D96429E97D7}.oxa";

    ScriptRun first(script);
    first.run();
    EXPECT_EQ(joined(first.recorded), "ran");
    EXPECT_EQ(first.host.created, std::vector<std::u16string>{marker});
    EXPECT_EQ(first.host.deleted, std::vector<std::u16string>{marker});

    ScriptRun second(script);
    second.host.files.insert(marker);
    second.run();
    EXPECT_TRUE(second.recorded.empty());
    EXPECT_TRUE(second.settings.singleInstanceExit);
    EXPECT_TRUE(second.host.deleted.empty()) << "the marker belongs to the other instance";
    EXPECT_EQ(second.traceLines().back(), "    </BootStrap>");
}

TEST(ScriptRunPreamble, RestartEntriesOfTheProductAreDeleted)
{
    ScriptRun run(oneRecord());
    run.run();
    EXPECT_EQ(run.host.restartEntriesDeleted, std::vector<std::u16string>{u"6B8125B1"});
}

TEST(ScriptRunPreamble, CancelledLanguageSelectionRunsOnlyTheExitSteps)
{
    ScriptRun run(oneRecord());
    run.extensions.cancelLanguage = true;
    run.run();
    EXPECT_TRUE(run.recorded.empty());
    EXPECT_EQ(run.extensions.calls.back(), "exitSteps");
    EXPECT_EQ(run.traceLines().back(), "    </ExitScript>");
}

TEST(ScriptRunPreamble, ChosenLanguageIsSetBeforeTheCommandLine)
{
    ScriptRun run(oneRecord());
    run.extensions.language = u"German";
    run.run();
    EXPECT_EQ(run.variable(u"LANGUAGE"), u"German");

    ScriptRun overridden(oneRecord());
    overridden.extensions.language = u"German";
    overridden.settings.commandLineVariables = {{u"LANGUAGE", u"French"}};
    overridden.run();
    EXPECT_EQ(overridden.variable(u"LANGUAGE"), u"French");
}

TEST(ScriptRunErrors, ARunTimeErrorNamesTheSourceFileAndLineAndEndsTheScript)
{
    ScriptBuilder script;
    script.add("Record", {"a"})
        .beginInclude("sub\\checkmsi20.oxa", "")
        .add("Record", {"b"})
        .add("Mathematics", {"x", "1", "0", "R"})
        .endInclude()
        .add("Record", {"never"});
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(joined(run.recorded), "a b");
    ASSERT_EQ(run.host.errors.size(), 1u);
    EXPECT_EQ(run.host.errors[0], u"Runtime error in setup script:\r\n\r\nSource File: checkmsi20\r\nLine Number: 2"
                                  u"\r\n\r\n'x' is not a valid integer value");
    EXPECT_EQ(run.host.captions[0], u"Pellion - Vantrel Wizard");
    EXPECT_EQ(run.extensions.calls.back(), "exitSteps");
    EXPECT_EQ(run.traceLines().back(), "    </ExitScript>");
}

TEST(ScriptRunErrors, BrandedCaptionShowsTheTitleAlone)
{
    ScriptBuilder script;
    script.add("Set Variable", {"TITLE", "My Setup"}).add("Set Variable", {"QUAVLOGO", "true"})
        .add("Mathematics", {"1", "0", "3", "R"});
    ScriptRun run(script);
    run.run();
    ASSERT_EQ(run.host.errors.size(), 1u);
    EXPECT_NE(run.host.errors[0].find(u"Division by zero"), std::u16string::npos);
    EXPECT_EQ(run.host.captions[0], u"My Setup");
}

TEST(ScriptRunErrors, ShortParameterBlockIsARunTimeError)
{
    ScriptBuilder script;
    script.add("Record", {"a"}).add("If", {"X", "0"}).add("End");  // the last block of the list is too short
    ScriptRun run(script);
    run.run();
    ASSERT_EQ(run.host.errors.size(), 1u);
    EXPECT_NE(run.host.errors[0].find(u"List index out of bounds"), std::u16string::npos);
}

TEST(ScriptRunErrors, SilentRunsShowNothing)
{
    ScriptBuilder script;
    script.add("Mathematics", {"1", "0", "3", "R"}).add("Record", {"never"});
    ScriptRun run(script);
    run.settings.silent = true;
    run.run();
    EXPECT_TRUE(run.host.errors.empty());
    EXPECT_TRUE(run.recorded.empty());
}

TEST(ScriptRunEpilogue, RemovedMediaCachesTheInstanceAndEndsTheProcess)
{
    ScriptRun run(oneRecord());
    run.host.mediaRemoved = true;
    run.settings.exitCode = 7;
    run.run();
    EXPECT_EQ(run.host.processEnds, std::vector<int32_t>{7});
    EXPECT_EQ(run.extensions.calls.back(), "cacheInstanceData");
    const auto lines = run.traceLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "  <RemovableMediaPrematureEject>");
    EXPECT_EQ(lines.back(), "</Vantrel>");
}

TEST(ScriptRunPump, TheUserInterfaceIsServedOncePer315Milliseconds)
{
    ScriptBuilder script;
    for (int i = 0; i < 10; ++i)
        script.add("Record", {"x"});
    ScriptRun still(script);
    still.run();
    EXPECT_EQ(still.host.pumps, 0) << "no time passed";

    ScriptRun slow(script);
    slow.facts.tickStep = 400;  // every statement takes longer than the interval
    slow.run();
    EXPECT_GE(slow.host.pumps, 10);

    ScriptRun quick(script);
    quick.facts.tickStep = 100;
    quick.run();
    EXPECT_GE(quick.host.pumps, 2);
    EXPECT_LE(quick.host.pumps, 4);
}

TEST(ScriptRunPlugins, PluginCommandsTakeThePluginPathBeforeBuiltInCommands)
{
    ScriptBuilder script;
    script.plugin("Record").plugin("MD5 Fingerprints").add("Record", {"x"}).add("MD5 Fingerprints", {"a", "b"});
    ScriptRun run(script);
    run.run();
    EXPECT_TRUE(run.recorded.empty());
    EXPECT_EQ(run.extensions.plugins, (std::vector<std::u16string>{u"Record", u"MD5 Fingerprints"}));
}

}  // namespace
