// "Terminate Install" and "Terminate with Exit Code" stop the run at once; the
// latter sets the exit code from its expanded parameter, 0 for a non-number.

#include <gtest/gtest.h>

#include "command_fixture.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

TEST(TerminateWithExitCode, SetsTheExpandedCodeAndStopsTheRun)
{
    const struct {
        const char* code;
        int32_t exitCode;
    } cases[] = {
        {"7", 7},
        {"$CODE$", 300},
        {"seven", 0},
        {"", 0},
        {"-1", -1},
        {"4294967295", -1},  // the low 32 bits a process exit code carries
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"CODE", "300"})
            .add("Terminate with Exit Code", {c.code})
            .add("Record", {"never"});
        CommandRun run(script);
        run.script.settings.exitCode = 5;
        run.run();
        EXPECT_EQ(run.script.settings.exitCode, c.exitCode) << c.code;
        EXPECT_TRUE(run.script.recorded.empty()) << c.code;
        EXPECT_TRUE(run.script.host.errors.empty()) << c.code;
    }
}

TEST(TerminateInstall, StopsTheRunAndKeepsTheExitCode)
{
    ScriptBuilder script;
    script.add("Record", {"before"}).add("Terminate Install", {}).add("Record", {"never"});
    CommandRun run(script);
    run.script.settings.exitCode = 5;
    run.run();
    EXPECT_EQ(run.script.recorded, std::vector<std::u16string>{u"before"});
    EXPECT_EQ(run.script.settings.exitCode, 5);
}

}  // namespace
