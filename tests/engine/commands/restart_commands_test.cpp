// The restarting ending commands and "Terminate Program" over a fake machine:
// which hive, key, name and command the restart entry gets, that the next run
// deletes exactly that name, that the run stops after the restart request and
// leaves the restarting mark, and which windows the ten passes post to.

#include <gtest/gtest.h>

#include <algorithm>

#include "command_fixture.h"
#include "common/text.h"
#include "engine/commands/ending_commands.h"
#include "engine/commands/string_commands.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

struct FakeWindow {
    TopWindow window;
    bool closesAtOnce = false;
};

struct FakeRestartControl : RestartControl {
    std::vector<RestartEntry> entries;
    std::vector<std::string> calls;  // "entry", "restart", "windows", "post <handle>"
    std::vector<FakeWindow> windows;  // topmost first

    void writeEntry(const RestartEntry& entry) override
    {
        entries.push_back(entry);
        calls.push_back("entry");
    }
    void requestRestart() override { calls.push_back("restart"); }
    std::vector<TopWindow> topLevelWindows() override
    {
        calls.push_back("windows");
        std::vector<TopWindow> seen;
        for (const auto& fake : windows)
            seen.push_back(fake.window);
        return seen;
    }
    void postCancelAndClose(uintptr_t handle) override
    {
        calls.push_back("post " + std::to_string(handle));
        std::erase_if(windows, [&](const FakeWindow& fake) { return fake.window.handle == handle && fake.closesAtOnce; });
    }
    std::vector<uintptr_t> posted() const
    {
        std::vector<uintptr_t> handles;
        for (const auto& call : calls)
            if (call.starts_with("post "))
                handles.push_back(std::stoul(call.substr(5)));
        return handles;
    }
};

// A run with the string commands and the ending commands over a fake machine.
struct RestartRun {
    explicit RestartRun(const ScriptBuilder& script) : run(script)
    {
        run.script.commands = CommandTable{};
        registerStringCommands(run.script.commands, run.services);
        registerEndingCommands(run.script.commands, run.services, control);
        run.script.commands.add(u"Record", [this](Statement& st) { run.script.recorded.push_back(st.expanded(1)); });
    }
    RestartRun& go()
    {
        run.run();
        return *this;
    }
    std::shared_ptr<FakeRestartControl> control = std::make_shared<FakeRestartControl>();
    CommandRun run;
};

constexpr auto runOnceKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\";
constexpr auto runKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";

TEST(RestartEntry, HiveByAllUsersKeyByCommandAndTheCommandThatStartedThisRun)
{
    // The fixture's engine file is "C:\media\setup.exe"; its product code
    // starts "{6B8125B1-".
    const struct {
        const char* command;
        const char* allUsers;
        const char16_t* sfxSource;
        const char16_t* tail;
        uint32_t root;
        const char16_t* key;
        const char16_t* data;
    } cases[] = {
        {"Reboot and Resume", "TRUE", u"", u"", localMachineRoot, runOnceKey, u"C:\\media\\setup.exe"},
        {"Reboot and Resume", "FALSE", u"", u"", currentUserRoot, runOnceKey, u"C:\\media\\setup.exe"},
        {"Reboot and Resume", "-1", u"", u"/s", localMachineRoot, runOnceKey, u"C:\\media\\setup.exe /s"},
        {"Reboot and Resume", "true", u"", u"", localMachineRoot, runOnceKey, u"C:\\media\\setup.exe"},
        {"Reboot and Resume", "", u"", u"", currentUserRoot, runOnceKey, u"C:\\media\\setup.exe"},
        {"Reboot and Login", "TRUE", u"", u"", localMachineRoot, runKey, u"C:\\media\\setup.exe"},
        {"Reboot and Login", "FALSE", u"", u"/s NAME=\"a b\"", currentUserRoot, runKey,
         u"C:\\media\\setup.exe /s NAME=\"a b\""},
        // The self-extractor's source, as the command line reading keeps it,
        // stands for the engine; its path goes without quotes even with blanks.
        {"Reboot and Resume", "FALSE", u"c:\\down loads\\sfx.exe", u"/m=c:\\down loads\\sfx.exe /s", currentUserRoot,
         runOnceKey, u"c:\\down loads\\sfx.exe /m=c:\\down loads\\sfx.exe /s"},
        {"Reboot and Login", "TRUE", u"d:\\sfx.exe", u"", localMachineRoot, runKey, u"d:\\sfx.exe"},
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"ALLUSERS", c.allUsers}).add(c.command, {});
        RestartRun run(script);
        run.run.script.settings.sfxSource = c.sfxSource;
        run.run.script.settings.commandTail = c.tail;
        run.go();
        const std::string label = std::string(c.command) + " ALLUSERS=" + c.allUsers + " tail=" + toUtf8(c.tail);
        ASSERT_EQ(run.control->entries.size(), 1u) << label;
        const RestartEntry& entry = run.control->entries[0];
        EXPECT_EQ(entry.root, c.root) << label;
        EXPECT_EQ(entry.key, c.key) << label;
        EXPECT_EQ(entry.valueName, u"6B8125B1") << label;
        EXPECT_EQ(entry.command, c.data) << label;
        EXPECT_EQ(run.control->calls, (std::vector<std::string>{"entry", "restart"})) << label;
    }
}

TEST(RestartEntry, TheNextRunDeletesExactlyTheNameThisRunWrote)
{
    for (const std::string code : {"{0A1B2C3D-0000-4000-8000-000000000000}", "{ffffeeee-1111-4222-8333-444455556666}"}) {
        ScriptBuilder script;
        script.productCode(code).add("Reboot and Resume", {});
        RestartRun first(script);
        first.go();
        ASSERT_EQ(first.control->entries.size(), 1u) << code;
        EXPECT_EQ(toUtf8(first.control->entries[0].valueName), code.substr(1, 8));

        ScriptBuilder again;
        again.productCode(code).add("Record", {"ran"});
        RestartRun second(again);
        second.go();
        EXPECT_EQ(second.run.script.host.restartEntriesDeleted,
                  std::vector<std::u16string>{first.control->entries[0].valueName})
            << code;
    }
}

TEST(RestartEntry, AnInstanceWithItsOwnProductCodeNamesTheEntryAsItsRunsDeleteIt)
{
    // An "instance.dat" beside the engine gives the instance a product code of
    // its own; every run of it deletes the entries by that code.
    ScriptBuilder script;
    script.add("Set Variable", {"PRODUCTCODE", "{99999999-0000-4000-8000-000000000000}"}).add("Reboot and Login", {});
    RestartRun run(script);
    run.run.script.environment->identity.productCode = u"{1234ABCD-0000-4000-8000-000000000000}";
    run.go();
    ASSERT_EQ(run.control->entries.size(), 1u);
    EXPECT_EQ(run.control->entries[0].valueName, u"1234ABCD");
    EXPECT_EQ(run.run.script.host.restartEntriesDeleted, std::vector<std::u16string>{u"1234ABCD"});
}

TEST(RestartEntry, AProductCodeTooShortToNameAnEntryWritesNoneButStillRestarts)
{
    // Copying characters 2 to 9 of "{AB}" would name the value "AB}", which
    // the next run never deletes: the setup would start at every logon.
    ScriptBuilder script;
    script.productCode("{AB}").add("Reboot and Login", {});
    RestartRun run(script);
    run.go();
    EXPECT_TRUE(run.control->entries.empty());
    EXPECT_EQ(run.control->calls, std::vector<std::string>{"restart"});
    EXPECT_EQ(restartEntryName(u"{12345678"), u"12345678");
    EXPECT_EQ(restartEntryName(u"{1234567"), u"");
}

TEST(RestartCommands, RequestTheRestartMarkTheRunAndStopTheScript)
{
    for (const char* command : {"Reboot Computer", "Reboot and Resume", "Reboot and Login"}) {
        ScriptBuilder script;
        script.add("Record", {"before"}).add(command, {}).add("Record", {"never"}).add("Reboot Computer", {});
        RestartRun run(script);
        run.run.script.settings.exitCode = 5;
        EXPECT_FALSE(run.run.services.restarting);
        run.go();
        EXPECT_EQ(run.run.script.recorded, std::vector<std::u16string>{u"before"}) << command;
        EXPECT_TRUE(run.run.services.restarting) << command;
        EXPECT_EQ(std::count(run.control->calls.begin(), run.control->calls.end(), "restart"), 1) << command;
        EXPECT_EQ(run.run.script.settings.exitCode, 5) << command;
        EXPECT_TRUE(run.run.script.host.errors.empty()) << command;
    }
    ScriptBuilder script;
    script.add("Reboot Computer", {});
    RestartRun run(script);
    run.go();
    EXPECT_TRUE(run.control->entries.empty());
}

FakeWindow window(uintptr_t handle, const char16_t* className, const char16_t* title, bool closesAtOnce = false)
{
    return {{handle, className, title}, closesAtOnce};
}

TEST(TerminateProgram, PostsEveryPassToTheFirstWindowBothTextsMatch)
{
    const std::vector<FakeWindow> desktop = {
        window(1, u"Shell_TrayWnd", u""),
        window(2, u"Notepad", u"readme.txt - Notepad"),
        window(3, u"Notepad", u"Untitled - Notepad"),
        window(4, u"TLexwizForm", u"Lexwiz"),
    };
    const std::vector<uintptr_t> none;
    const std::vector<uintptr_t> tenTimes2(10, 2);
    const std::vector<uintptr_t> tenTimes3(10, 3);
    const std::vector<uintptr_t> tenTimes4(10, 4);
    const struct {
        const char* title;
        const char* className;
        const std::vector<uintptr_t>& posted;
    } cases[] = {
        {"", "Notepad", tenTimes2},             // an empty title text matches any title
        {"Untitled", "", tenTimes3},            // an empty class text matches any class
        {"Untitled", "Notepad", tenTimes3},     // both texts must hold
        {"Lexwiz", "Notepad", none},
        {"", "notepad", none},                  // letter case counts
        {"LEXWIZ", "", none},
        {"wiz", "Form", tenTimes4},             // parts of either text
        {"$WHICH$", "", tenTimes4},             // path-expanded
        {"", "", none},                         // both empty: nothing at all
        {"Calculator", "", none},
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"WHICH", "Lexwiz"})
            .add("Terminate Program", {c.title, c.className})
            .add("Record", {"after"});
        RestartRun run(script);
        run.control->windows = desktop;
        run.go();
        const std::string label = std::string("title '") + c.title + "' class '" + c.className + "'";
        EXPECT_EQ(run.control->posted(), c.posted) << label;
        // The command neither ends the run nor restarts anything.
        EXPECT_EQ(run.run.script.recorded, std::vector<std::u16string>{u"after"}) << label;
        EXPECT_FALSE(run.run.services.restarting) << label;
    }
}

TEST(TerminateProgram, BothTextsEmptyDoesNotEvenLookAtTheWindows)
{
    ScriptBuilder script;
    script.add("Terminate Program", {"", ""});
    RestartRun run(script);
    run.control->windows = {window(1, u"Notepad", u"x")};
    run.go();
    EXPECT_TRUE(run.control->calls.empty());
}

TEST(TerminateProgram, AWindowThatClosesAtOnceLetsTheNextPassReachTheNextMatch)
{
    ScriptBuilder script;
    script.add("Terminate Program", {"Report", ""});
    RestartRun run(script);
    run.control->windows = {
        window(7, u"A", u"Report 1", true),
        window(8, u"B", u"Other"),
        window(9, u"C", u"Report 2", true),
        window(10, u"D", u"Report 3"),  // stays open: the rest of the passes find it
    };
    run.go();
    EXPECT_EQ(run.control->posted(), (std::vector<uintptr_t>{7, 9, 10, 10, 10, 10, 10, 10, 10, 10}));
    EXPECT_EQ(std::count(run.control->calls.begin(), run.control->calls.end(), "windows"), terminateProgramPasses);
}

TEST(TerminateProgram, PathExpansionCollapsesDoubledBackslashesInBothTexts)
{
    ScriptBuilder script;
    script.add("Terminate Program", {"C:\\\\Tools\\\\x", "Cls\\\\A"});
    RestartRun run(script);
    run.control->windows = {window(5, u"Cls\\A", u"C:\\Tools\\x.txt")};
    run.go();
    EXPECT_EQ(run.control->posted().size(), 10u);
}

}  // namespace
