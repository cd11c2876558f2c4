// "MessageBox", "MessageBalloon" and "System Tray" over fake windows: the
// result word of every button under both message forms, the silent rule, the
// refused codes, the balloon's time and icon, the order of the tray flags,
// the taskbar state kept in PROGRESSMODE and the icon's removal at the end.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "command_fixture.h"
#include "common/text.h"
#include "engine/commands/message_commands.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

constexpr int idOk = 1, idCancel = 2, idRetry = 4, idYes = 6, idNo = 7, idClose = 8;

// Every seam at once; each call leaves a line in `calls`.
struct FakeMessages : MessageDisplay, NotificationArea, TaskbarButton, SetupWindows {
    bool taskDialogsOn = true;
    bool taskDialogMissing = false;
    bool taskbarOn = true;
    WindowHandle dialog = 0;
    std::deque<int> answers;  // pressed button ids or box answers, in turn
    std::vector<std::string> calls;
    std::vector<MessageForm> forms;
    std::vector<std::u16string> progressModesWhileUp;
    const TVariableManager* store = nullptr;
    TrayEvents* events = nullptr;

    int next()
    {
        if (answers.empty())
            return 0;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void shown(const char* kind, WindowHandle owner, const MessageForm& form)
    {
        calls.push_back(std::string(kind) + ":" + std::to_string(owner));
        forms.push_back(form);
        if (store)
            progressModesWhileUp.push_back(store->GetItem(u"PROGRESSMODE"));
    }

    bool taskDialogs() override { return taskDialogsOn; }
    int messageBox(WindowHandle owner, const MessageForm& form) override
    {
        shown("box", owner, form);
        return next();
    }
    std::optional<int> taskDialog(WindowHandle owner, const MessageForm& form) override
    {
        if (taskDialogMissing)
            return std::nullopt;
        shown("task", owner, form);
        return next();
    }

    void connect(TrayEvents& to) override { events = &to; }
    void showIcon(std::u16string_view toolTip) override { calls.push_back("icon:" + toUtf8(toolTip)); }
    void hideIcon() override { calls.push_back("hideIcon"); }
    void showBalloon(std::u16string_view title, std::u16string_view text, BalloonIcon icon,
                     uint32_t milliseconds) override
    {
        calls.push_back("balloon:" + toUtf8(title) + "|" + toUtf8(text) + "|" + std::to_string(static_cast<int>(icon))
                        + "|" + std::to_string(milliseconds));
    }
    void startTimer(uint32_t milliseconds) override { calls.push_back("timer:" + std::to_string(milliseconds)); }
    void stopTimer() override { calls.push_back("stopTimer"); }

    bool available() override { return taskbarOn; }
    void setProgressState(TaskbarProgress state) override
    {
        static const char* const names[] = {"normal", "indeterminate", "error", "paused"};
        calls.push_back(std::string("progress:") + names[static_cast<int>(state)]);
    }
    void setOverlay(std::u16string_view description) override { calls.push_back("overlay:" + toUtf8(description)); }
    void removeOverlay() override { calls.push_back("noOverlay"); }

    WindowHandle currentDialog() override { return dialog; }
    void hideSetupWindow() override { calls.push_back("hideWindow"); }
    void bringBackSetupWindow(bool restore) override { calls.push_back(restore ? "restoreWindow" : "showWindow"); }
    void showWaitingDialog() override { calls.push_back("waitingDialog"); }

    MessageCenter center{*this, *this, *this, *this};
};

// A run of the built-in commands whose services carry the fake center, as
// the engine's own run carries the Windows one.
struct MessageRun {
    explicit MessageRun(const ScriptBuilder& script) : run(script)
    {
        run.services.messages = &fakes.center;
        fakes.store = &run.script.store;
    }
    // Runs the script; `calls` then holds what it asked, without the exit
    // steps that end every run (the timer stopped, the icon removed).
    MessageRun& go()
    {
        fakes.calls.clear();
        run.run();
        const std::vector<std::string> exitSteps{"stopTimer", "hideIcon"};
        auto& calls = fakes.calls;
        if (calls.size() >= 2 && std::equal(exitSteps.begin(), exitSteps.end(), calls.end() - 2))
            calls.resize(calls.size() - 2);
        else
            ADD_FAILURE() << "the run's exit steps left the tray icon";
        return *this;
    }
    std::u16string variable(const char16_t* name) const { return run.variable(name); }
    const std::vector<std::u16string>& errors() const { return run.script.host.errors; }

    FakeMessages fakes;
    CommandRun run;
};

ScriptBuilder askInto(const std::string& iconCode, const std::string& buttonCode, const std::string& result = "ANSWER")
{
    ScriptBuilder script;
    script.add("Set Variable", {"ANSWER", "before"}).add("MessageBox", {"Question", "Go on?", iconCode, buttonCode, result});
    return script;
}

TEST(MessageBoxAnswers, EveryTaskDialogButtonStoresItsWord)
{
    const struct {
        const char* buttonCode;
        int pressed;
        const char16_t* word;
    } cases[] = {
        {"0", idCancel, u"ABORT"},   // the Abort role under button code 0
        {"0", idRetry, u"RETRY"},
        {"0", idClose, u"IGNORE"},   // the Ignore role under button code 0
        {"1", idOk, u"OK"},
        {"2", idOk, u"OK"},
        {"2", idCancel, u"CANCEL"},
        {"3", idRetry, u"RETRY"},
        {"3", idCancel, u"CANCEL"},
        {"4", idYes, u"YES"},
        {"4", idNo, u"NO"},
        {"5", idYes, u"YES"},
        {"5", idNo, u"NO"},
        {"5", idCancel, u"CANCEL"},
        {"1", 0, u"before"},         // closed without a button: nothing stored
        {"1", 99, u"before"},
    };
    for (const auto& c : cases) {
        MessageRun run(askInto("0", c.buttonCode));
        run.fakes.answers = {c.pressed};
        run.go();
        EXPECT_EQ(run.variable(u"ANSWER"), c.word) << c.buttonCode << " " << c.pressed;
        ASSERT_EQ(run.fakes.forms.size(), 1u);
        EXPECT_TRUE(run.errors().empty());
    }
}

TEST(MessageBoxAnswers, EveryClassicAnswerStoresItsWord)
{
    const char16_t* const words[] = {u"OK", u"CANCEL", u"ABORT", u"RETRY", u"IGNORE", u"YES", u"NO"};
    for (int answer = 1; answer <= 7; ++answer) {
        MessageRun run(askInto("1", "0"));
        run.fakes.taskDialogsOn = false;
        run.fakes.answers = {answer};
        run.go();
        EXPECT_EQ(run.variable(u"ANSWER"), words[answer - 1]) << answer;
        EXPECT_EQ(run.fakes.calls[1], "box:0");
    }
}

TEST(MessageBoxForms, CodesGiveTheClassicStyleAndTheTaskDialogButtons)
{
    const struct {
        int icon, buttons;
        uint32_t style;
        TaskDialogIcon taskIcon;
        uint32_t taskButtons;
    } cases[] = {
        {0, 0, 0x42, TaskDialogIcon::information, taskCancelButton | taskRetryButton | taskCloseButton},
        {1, 1, 0x20, TaskDialogIcon::none, taskOkButton},
        {2, 2, 0x31, TaskDialogIcon::warning, taskOkButton | taskCancelButton},
        {3, 3, 0x15, TaskDialogIcon::error, taskRetryButton | taskCancelButton},
        {0, 4, 0x44, TaskDialogIcon::information, taskYesButton | taskNoButton},
        {3, 5, 0x13, TaskDialogIcon::error, taskYesButton | taskNoButton | taskCancelButton},
    };
    for (const auto& c : cases) {
        const auto form = messageForm(c.icon, c.buttons);
        ASSERT_TRUE(form) << c.icon << c.buttons;
        EXPECT_EQ(form->style, c.style) << c.icon << c.buttons;
        EXPECT_EQ(form->icon, c.taskIcon) << c.icon << c.buttons;
        EXPECT_EQ(form->taskButtons, c.taskButtons) << c.icon << c.buttons;
    }
    for (const auto& [icon, buttons] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 6}})
        EXPECT_FALSE(messageForm(icon, buttons)) << icon << " " << buttons;
}

TEST(MessageBoxForms, TaskDialogCarriesTheEngineCaptionAndTheExpandedTexts)
{
    const struct {
        const char* logo;
        const char16_t* caption;
    } cases[] = {{"", u"Dorvane - Vantrel Wizard"}, {"true", u"Dorvane"}};
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"TITLE", "Dorvane"})
            .add("Set Variable", {"QUAVLOGO", c.logo})
            .add("MessageBox", {"$TITLE$ Setup", "Line one$NEWLINE$line two", "2", "1", ""});
        MessageRun run(script);
        run.fakes.answers = {idOk};
        run.go();
        ASSERT_EQ(run.fakes.forms.size(), 1u);
        EXPECT_EQ(run.fakes.forms[0].caption, c.caption);
        EXPECT_EQ(run.fakes.forms[0].title, u"Dorvane Setup");
        EXPECT_EQ(run.fakes.forms[0].text, u"Line one\r\nline two");
    }
}

TEST(MessageBoxOwner, AClassicBoxThatCannotBeShownForItsOwnerIsShownWithoutOne)
{
    MessageRun run(askInto("0", "2"));
    run.fakes.taskDialogsOn = false;
    run.fakes.dialog = 77;
    run.fakes.answers = {0, idCancel};
    run.go();
    EXPECT_EQ(run.variable(u"ANSWER"), u"CANCEL");
    const std::vector<std::string> boxes{"box:77", "box:0"};
    EXPECT_EQ(std::vector<std::string>(run.fakes.calls.begin() + 1, run.fakes.calls.begin() + 3), boxes);
}

TEST(MessageBoxOwner, WithoutAnyTaskDialogTheClassicBoxAsks)
{
    MessageRun run(askInto("0", "4"));
    run.fakes.taskDialogMissing = true;
    run.fakes.dialog = 77;
    run.fakes.answers = {idNo};
    run.go();
    EXPECT_EQ(run.variable(u"ANSWER"), u"NO");
    ASSERT_EQ(run.fakes.forms.size(), 1u);
    EXPECT_EQ(run.fakes.forms[0].style, 0x44u);
}

TEST(MessageBoxResult, SilentRunShowsNothingAndKeepsThePreviousValue)
{
    ScriptBuilder script;
    script.add("Set Variable", {"ANSWER", "before"})
        .add("Set Variable", {"SILENT", "TRUE"})
        .add("MessageBox", {"Question", "Go on?", "3", "1", "ANSWER"})
        .add("MessageBox", {"Question", "Go on?", "3", "1", "FRESH"})
        .add("MessageBalloon", {"Note", "Text", "0", "10"});
    MessageRun run(script);
    run.fakes.answers = {idOk};
    run.go();
    EXPECT_EQ(run.variable(u"ANSWER"), u"before");
    EXPECT_FALSE(run.run.script.store.Exists(u"FRESH"));
    EXPECT_TRUE(run.fakes.calls.empty());
    EXPECT_EQ(run.variable(u"PROGRESSMODE"), u"");
}

TEST(MessageBoxResult, EmptyResultParameterShowsTheMessageAndStoresNothing)
{
    ScriptBuilder without;
    without.add("Record", {"x"});
    MessageRun plain(without);
    plain.go();
    ScriptBuilder script;
    script.add("MessageBox", {"Question", "Go on?", "0", "1", ""}).add("Record", {"x"});
    MessageRun run(script);
    run.fakes.answers = {idOk};
    run.go();
    EXPECT_EQ(run.fakes.forms.size(), 1u);
    EXPECT_EQ(run.run.script.store.Count(), plain.run.script.store.Count());
}

TEST(MessageBoxResult, ResultVariableIsCreatedInUpperCase)
{
    MessageRun run(askInto("0", "1", "fresh"));
    run.fakes.answers = {idOk};
    run.go();
    EXPECT_EQ(run.variable(u"FRESH"), u"OK");
    std::vector<std::u16string> names;
    run.run.script.store.ListNames(names);
    EXPECT_NE(std::find(names.begin(), names.end(), u"FRESH"), names.end());
}

TEST(MessageCodes, CodesOutsideTheTablesEndTheRunWithTheRuntimeError)
{
    const struct {
        const char* command;
        std::vector<std::string> parameters;
    } cases[] = {
        {"MessageBox", {"T", "X", "4", "1", "ANSWER"}},
        {"MessageBox", {"T", "X", "-1", "1", "ANSWER"}},
        {"MessageBox", {"T", "X", "0", "6", "ANSWER"}},
        {"MessageBox", {"T", "X", "zero", "1", "ANSWER"}},
        {"MessageBox", {"T", "X", "0", "", "ANSWER"}},
        {"MessageBalloon", {"T", "X", "3", "10"}},
        {"MessageBalloon", {"T", "X", "0", "ten"}},
    };
    for (const auto& c : cases) {
        for (const bool silent : {false, true}) {
            ScriptBuilder script;
            script.add("Set Variable", {"SILENT", silent ? "TRUE" : "FALSE"})
                .add(c.command, c.parameters)
                .add("Record", {"after"});
            MessageRun run(script);
            run.fakes.answers = {idOk};
            run.go();
            EXPECT_TRUE(run.run.script.recorded.empty()) << c.command << " " << c.parameters[2];
            EXPECT_EQ(run.errors().size(), silent ? 0u : 1u) << c.command << " " << c.parameters[2];
            EXPECT_TRUE(run.fakes.forms.empty());
            EXPECT_EQ(run.variable(u"ANSWER"), u"");
        }
    }
}

TEST(TaskbarState, PausedWhileAMessageIsUpAndPutBackAfterwards)
{
    const struct {
        const char* icon;
        const char* buttons;
        const char16_t* whileUp;
        const char* state;
    } cases[] = {
        {"3", "1", u"ERROR", "progress:error"},   // error icon with only OK
        {"3", "2", u"PAUSE", "progress:paused"},
        {"2", "1", u"PAUSE", "progress:paused"},
        {"0", "0", u"PAUSE", "progress:paused"},
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"PROGRESSMODE", "MARQUEE"}).add("MessageBox", {"T", "X", c.icon, c.buttons, ""});
        MessageRun run(script);
        run.fakes.answers = {idOk};
        run.go();
        ASSERT_EQ(run.fakes.progressModesWhileUp.size(), 1u);
        EXPECT_EQ(run.fakes.progressModesWhileUp[0], c.whileUp) << c.icon << c.buttons;
        EXPECT_EQ(run.variable(u"PROGRESSMODE"), u"MARQUEE");
        const std::vector<std::string> expected{c.state, "task:0", "progress:indeterminate"};
        EXPECT_EQ(run.fakes.calls, expected) << c.icon << c.buttons;
    }
}

TEST(TaskbarState, WithoutTaskbarButtonProgressModeIsLeftAlone)
{
    ScriptBuilder script;
    script.add("Set Variable", {"PROGRESSMODE", "MARQUEE"}).add("MessageBox", {"T", "X", "3", "1", ""});
    MessageRun run(script);
    run.fakes.taskbarOn = false;
    run.fakes.answers = {idOk};
    run.go();
    EXPECT_EQ(run.fakes.progressModesWhileUp, std::vector<std::u16string>{u"MARQUEE"});
    EXPECT_EQ(run.fakes.calls, std::vector<std::string>{"task:0"});
}

TEST(TaskbarState, FollowsProgressModeWords)
{
    EXPECT_EQ(taskbarProgressOf(u"MARQUEE"), TaskbarProgress::indeterminate);
    EXPECT_EQ(taskbarProgressOf(u"ERROR"), TaskbarProgress::error);
    EXPECT_EQ(taskbarProgressOf(u"PAUSE"), TaskbarProgress::paused);
    EXPECT_EQ(taskbarProgressOf(u""), TaskbarProgress::normal);
    EXPECT_EQ(taskbarProgressOf(u"marquee"), TaskbarProgress::normal);
}

TEST(MessageBalloon, TimeIsBroughtIntoTenToThirtySeconds)
{
    const struct {
        const char* seconds;
        const char* milliseconds;
    } cases[] = {{"5", "10000"}, {"10", "10000"}, {"17", "17000"}, {"30", "30000"}, {"60", "30000"},
                 {"-3", "10000"}, {"99999999999", "30000"}};
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("MessageBalloon", {"Note", "Text", "0", c.seconds});
        MessageRun run(script);
        run.go();
        const auto& calls = run.fakes.calls;
        EXPECT_NE(std::find(calls.begin(), calls.end(), std::string("timer:") + c.milliseconds), calls.end())
            << c.seconds;
        EXPECT_NE(std::find(calls.begin(), calls.end(), std::string("balloon:Note|Text|0|") + c.milliseconds),
                  calls.end())
            << c.seconds;
    }
}

TEST(MessageBalloon, ShowsTheIconWithTitleTipPausesAndRestoresWhenTheTimerFires)
{
    ScriptBuilder script;
    script.add("Set Variable", {"TITLE", "Dorvane"})
        .add("Set Variable", {"PROGRESSMODE", "MARQUEE"})
        .add("Set Variable", {"NOTE", "ready"})
        .add("MessageBalloon", {"$NOTE$", "All $NOTE$", "2", "12"})
        .add("Record", {"$PROGRESSMODE$"})
        .add("Time Up", {})
        .add("Record", {"$PROGRESSMODE$"});
    MessageRun run(script);
    // The timer's message arrives while the loop pumps between statements.
    run.run.script.commands.add(u"Time Up", [&](Statement&) { run.fakes.events->balloonTimeUp(); });
    run.go();
    EXPECT_EQ(run.run.script.recorded, (std::vector<std::u16string>{u"PAUSE", u"MARQUEE"}));
    const std::vector<std::string> calls{"icon:Dorvane", "progress:paused", "timer:12000",
                                         "balloon:ready|All ready|2|12000", "stopTimer", "progress:indeterminate"};
    EXPECT_EQ(run.fakes.calls, calls);
}

TEST(MessageBalloon, IconCodesChooseTheBalloonIcon)
{
    EXPECT_EQ(balloonIcon(0), BalloonIcon::information);
    EXPECT_EQ(balloonIcon(1), BalloonIcon::warning);
    EXPECT_EQ(balloonIcon(2), BalloonIcon::error);
    EXPECT_FALSE(balloonIcon(3));
    EXPECT_FALSE(balloonIcon(-1));
}

TEST(TaskbarState, AMessageDuringABalloonRestoresTheValueFromBeforeBoth)
{
    ScriptBuilder script;
    script.add("Set Variable", {"PROGRESSMODE", "MARQUEE"})
        .add("MessageBalloon", {"Note", "Text", "0", "10"})
        .add("MessageBox", {"T", "X", "3", "1", ""});
    MessageRun run(script);
    run.fakes.answers = {idOk};
    run.go();
    EXPECT_EQ(run.fakes.progressModesWhileUp, std::vector<std::u16string>{u"ERROR"});
    EXPECT_EQ(run.variable(u"PROGRESSMODE"), u"MARQUEE");
    run.fakes.events->balloonTimeUp();  // nothing saved any more: nothing changes
    EXPECT_EQ(run.variable(u"PROGRESSMODE"), u"MARQUEE");
}

TEST(SystemTray, FlagsActInTheirOrderAndOnlyAsExactTrue)
{
    const struct {
        std::vector<std::string> flags;
        bool silent;
        std::vector<std::string> calls;
        bool inTray;
    } cases[] = {
        {{"true", "true", "true", "true"}, false, {}, false},
        {{"-1", "True", "1", "yes"}, false, {}, false},
        {{"TRUE", "", "", ""}, false, {"icon:Dorvane", "overlay:Dorvane", "hideWindow"}, true},
        {{"TRUE", "", "", ""}, true, {"hideWindow"}, true},
        {{"", "TRUE", "", ""}, false, {"icon:Dorvane", "overlay:Dorvane"}, false},
        {{"", "TRUE", "", ""}, true, {}, false},
        {{"", "", "TRUE", ""}, false, {"noOverlay", "restoreWindow"}, false},
        {{"", "", "", "TRUE"}, false, {"hideIcon", "noOverlay", "restoreWindow"}, false},
        {{"", "", "", "TRUE"}, true, {"hideIcon", "noOverlay", "restoreWindow"}, false},
        {{"TRUE", "TRUE", "TRUE", "TRUE"},
         false,
         {"icon:Dorvane", "overlay:Dorvane", "hideWindow", "icon:Dorvane", "overlay:Dorvane", "noOverlay",
          "restoreWindow", "hideIcon", "noOverlay", "restoreWindow"},
         false},
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"TITLE", "Dorvane"})
            .add("Set Variable", {"SILENT", c.silent ? "TRUE" : "FALSE"})
            .add("System Tray", c.flags);
        MessageRun run(script);
        run.go();
        EXPECT_EQ(run.fakes.calls, c.calls) << c.flags[0] << c.flags[1] << c.flags[2] << c.flags[3] << c.silent;
        EXPECT_EQ(run.fakes.center.inTray(), c.inTray) << c.flags[0] << c.flags[1] << c.flags[2] << c.flags[3];
    }
}

TEST(SystemTray, AClickBringsTheWindowBackFromTheTrayOnce)
{
    ScriptBuilder script;
    script.add("System Tray", {"TRUE", "", "", ""});
    MessageRun run(script);
    run.go();
    ASSERT_TRUE(run.fakes.center.inTray());
    run.fakes.calls.clear();
    run.fakes.events->iconClicked();
    EXPECT_EQ(run.fakes.calls, (std::vector<std::string>{"noOverlay", "waitingDialog", "restoreWindow"}));
    EXPECT_FALSE(run.fakes.center.inTray());
    run.fakes.calls.clear();
    run.fakes.events->iconClicked();
    EXPECT_EQ(run.fakes.calls, std::vector<std::string>{"showWindow"});
}

TEST(SystemTray, TheRunsExitStepsRemoveTheIconAlsoAfterAnEnding)
{
    ScriptBuilder script;
    script.add("System Tray", {"", "TRUE", "", ""}).add("Terminate Install", {}).add("Record", {"never"});
    MessageRun run(script);
    run.go();  // fails unless the exit steps ran
    EXPECT_EQ(run.fakes.calls, (std::vector<std::string>{"icon:Pellion", "overlay:Pellion"}));
}

TEST(MessageCommandsWithoutCenter, ParametersAreCheckedAndNothingIsStored)
{
    ScriptBuilder script;
    script.add("MessageBox", {"T", "X", "0", "1", "ANSWER"}).add("System Tray", {"TRUE", "TRUE", "", ""});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.variable(u"ANSWER"), u"");
    EXPECT_TRUE(run.script.host.errors.empty());

    ScriptBuilder wrong;
    wrong.add("MessageBox", {"T", "X", "9", "1", "ANSWER"});
    CommandRun refused(wrong);
    refused.run();
    EXPECT_EQ(refused.script.host.errors.size(), 1u);
}

}  // namespace
