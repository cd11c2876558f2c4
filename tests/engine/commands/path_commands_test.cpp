// Whole runs of "Extract Path", "Convert Path" and "Get Temporary File" over
// a fake file system, and the unredirected rule around the last two.

#include <gtest/gtest.h>

#include "command_fixture.h"
#include "common/text.h"
#include "engine/commands/unredirected_scope.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

TEST(ExtractPathRuns, ClimbsTwoLevelsAndABadCodeEndsTheRun)
{
    ScriptBuilder script;
    script.add("Set Variable", {"TARGETDIR", "C:\\\\Vantrel\\\\Plugins\\\\Bin\\\\"})
        .add("Extract Path", {"TARGETDIR", "4"})
        .add("Extract Path", {"TARGETDIR", "4"})
        .add("Extract Path", {"TARGETDIR", "four"})
        .add("Record", {"never"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"C:\\Vantrel\\");
    EXPECT_TRUE(run.script.recorded.empty());
    EXPECT_EQ(run.script.host.errors.size(), 1u);
}

struct ConvertCase {
    const char* value;
    const char* shortForm;
    const char16_t* result;
};

TEST(ConvertPathRuns, LongShortRelativeMissingAndEnvironmentForms)
{
    const ConvertCase cases[] = {
        {"c:\\progra~1\\brennic", "FALSE", u"c:\\Program Files\\Brennic"},  // the drive stays as written
        {"c:\\progra~1\\brennic\\", "FALSE", u"c:\\Program Files\\Brennic"},  // one trailing "\" goes
        {"C:\\Program Files\\Brennic", "TRUE", u"C:\\PROGRA~1\\Brennic"},
        {"C:\\Program Files\\Brennic\\..\\Brennic", "TRUE", u"C:\\PROGRA~1\\Brennic"},
        {"%APPS%\\Brennic", "FALSE", u"C:\\Program Files\\Brennic"},
        {"", "FALSE", u"C:\\Setup Media"},             // empty: the setup's own folder
        {"data\\pack.dat", "FALSE", u"C:\\Setup Media\\Data\\Pack.dat"},
        {"C:\\Nowhere", "FALSE", u""},                 // missing: empty value, no error
        {"C:\\Program Files\\Unlisted", "TRUE", u"C:\\Program Files\\Unlisted"},  // short form refused: unchanged
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"SETUPPATH", "C:\\\\Setup Media"})
            .add("Set Variable", {"SOMEPATH", c.value})
            .add("Convert Path", {"SOMEPATH", c.shortForm});
        CommandRun run(script);
        auto& disk = run.paths.onDisk;
        disk[u"C:\\Program Files"] = u"Program Files";
        disk[u"C:\\progra~1"] = u"Program Files";
        disk[u"C:\\Program Files\\Brennic"] = u"Brennic";
        disk[u"C:\\progra~1\\brennic"] = u"Brennic";
        disk[u"C:\\Program Files\\Unlisted"] = u"Unlisted";
        disk[u"C:\\Setup Media"] = u"Setup Media";
        disk[u"C:\\Setup Media\\data"] = u"Data";
        disk[u"C:\\Setup Media\\Data\\pack.dat"] = u"Pack.dat";
        run.paths.shortNames[u"C:\\Program Files\\Brennic"] = u"C:\\PROGRA~1\\Brennic";
        run.paths.environment[u"%APPS%"] = u"C:\\Program Files";
        run.run();
        EXPECT_EQ(run.variable(u"SOMEPATH"), c.result) << c.value << " short " << c.shortForm;
        EXPECT_TRUE(run.script.host.errors.empty());
    }
}

TEST(ConvertPathRuns, TheLongPathPrefixIsTriedWhenThePlainRequestIsRefused)
{
    ScriptBuilder script;
    script.add("Set Variable", {"LONGPATH", "C:\\Deep"}).add("Convert Path", {"LONGPATH", "TRUE"});
    CommandRun run(script);
    run.paths.onDisk[u"C:\\Deep"] = u"Deep";
    run.paths.shortNames[u"\\\\?\\C:\\Deep"] = u"\\\\?\\C:\\DEEP~1";
    run.run();
    EXPECT_EQ(run.variable(u"LONGPATH"), u"C:\\DEEP~1");
}

TEST(TemporaryFileRuns, TheFileComesFromTheStartUpTemporaryFolder)
{
    ScriptBuilder script;
    script.add("Set Variable", {"TEMPDIR", "D:\\Elsewhere\\"}).add("Get Temporary File", {"$SCRATCH$"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.paths.temporaryFolders, std::vector<std::u16string>{u"C:\\Temp\\"});
    EXPECT_EQ(run.variable(u"SCRATCH"), u"C:\\Temp\\oxa1F.tmp");
}

TEST(UnredirectedCommands, RedirectionIsOffOnlyOn64BitWindowsOutsideWin32Mode)
{
    struct Case {
        bool windows64;
        const char* x64Flag;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {true, "TRUE", {"off", "back", "off", "back"}},
        {true, "FALSE", {}},   // Win32 mode
        {false, "TRUE", {}},   // 32-bit Windows
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set 64 Bit Mode", {"FALSE", "FALSE", c.x64Flag})
            .add("Get Temporary File", {"SCRATCH"})
            .add("Convert Path", {"SCRATCH", "FALSE"});
        CommandRun run(script);
        run.redirection.is64 = c.windows64;
        run.run();
        EXPECT_EQ(run.redirection.calls, c.calls) << c.windows64 << c.x64Flag;
    }
}

TEST(UnredirectedCommands, AnEnclosingSwitchIsNeitherRepeatedNorUndone)
{
    CommandRun run(ScriptBuilder{});
    {
        UnredirectedScope outer(run.services, u"x64");
        {
            UnredirectedScope inner(run.services, u"x64");
        }
        EXPECT_TRUE(run.services.redirectionOff);
    }
    EXPECT_FALSE(run.services.redirectionOff);
    EXPECT_EQ(run.redirection.calls, (std::vector<std::string>{"off", "back"}));
}

}  // namespace
