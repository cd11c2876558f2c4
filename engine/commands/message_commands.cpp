// "MessageBox", "MessageBalloon" and "System Tray": the parameter handling, the
// silent rule, the style and result tables, the tray flags and the taskbar
// state kept in PROGRESSMODE. What is drawn on screen is the seams' business.

#include "engine/commands/message_commands.h"

#include <algorithm>

#include "common/numbers.h"
#include "engine/commands/command_services.h"
#include "engine/script/command_table.h"
#include "engine/script/script_environment.h"
#include "engine/script/script_error.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

constexpr uint32_t styleIconError = 0x10;
constexpr uint32_t styleOk = 0x00;
constexpr char16_t taskbarContext[] = u"Taskbar State";

struct IconRow {
    uint32_t style;
    TaskDialogIcon taskIcon;
};
// Indexed by the icon code. The question icon has no task dialog form.
constexpr IconRow iconRows[] = {
    {0x40, TaskDialogIcon::information},
    {0x20, TaskDialogIcon::none},
    {0x30, TaskDialogIcon::warning},
    {0x10, TaskDialogIcon::error},
};

struct ButtonRow {
    uint32_t style;
    uint32_t taskButtons;
};
// Indexed by the button code. Abort/Retry/Ignore becomes Cancel/Retry/Close.
constexpr ButtonRow buttonRows[] = {
    {2, taskCancelButton | taskRetryButton | taskCloseButton},
    {0, taskOkButton},
    {1, taskOkButton | taskCancelButton},
    {5, taskRetryButton | taskCancelButton},
    {4, taskYesButton | taskNoButton},
    {3, taskYesButton | taskNoButton | taskCancelButton},
};

template <typename Row, size_t count>
const Row* rowOf(const Row (&rows)[count], int64_t code)
{
    return code >= 0 && code < static_cast<int64_t>(count) ? &rows[code] : nullptr;
}

}  // namespace

std::optional<MessageForm> messageForm(int64_t iconCode, int64_t buttonCode)
{
    const IconRow* icon = rowOf(iconRows, iconCode);
    const ButtonRow* buttons = rowOf(buttonRows, buttonCode);
    if (!icon || !buttons)
        return std::nullopt;
    MessageForm form;
    form.style = icon->style | buttons->style;
    form.icon = icon->taskIcon;
    form.taskButtons = buttons->taskButtons;
    form.buttonCode = static_cast<int>(buttonCode);
    return form;
}

std::optional<int> taskDialogAnswer(int buttonId, int buttonCode)
{
    switch (buttonId) {
    case answerOk:
    case answerRetry:
    case answerYes:
    case answerNo:
        return buttonId;
    case answerCancel:
        return buttonCode == 0 ? answerAbort : answerCancel;
    case taskCloseId:
        return answerIgnore;
    default:
        return std::nullopt;
    }
}

std::optional<std::u16string> resultWord(int answer)
{
    static const char16_t* const words[] = {u"OK", u"CANCEL", u"ABORT", u"RETRY", u"IGNORE", u"YES", u"NO"};
    if (answer < answerOk || answer > answerNo)
        return std::nullopt;
    return std::u16string(words[answer - 1]);
}

uint32_t balloonMilliseconds(int64_t seconds)
{
    return static_cast<uint32_t>(std::clamp<int64_t>(seconds, 10, 30) * 1000);
}

std::optional<BalloonIcon> balloonIcon(int64_t code)
{
    static constexpr BalloonIcon icons[] = {BalloonIcon::information, BalloonIcon::warning, BalloonIcon::error};
    const BalloonIcon* icon = rowOf(icons, code);
    return icon ? std::optional<BalloonIcon>(*icon) : std::nullopt;
}

TaskbarProgress taskbarProgressOf(std::u16string_view progressMode)
{
    if (progressMode == u"MARQUEE")
        return TaskbarProgress::indeterminate;
    if (progressMode == u"ERROR")
        return TaskbarProgress::error;
    if (progressMode == u"PAUSE")
        return TaskbarProgress::paused;
    return TaskbarProgress::normal;
}

MessageCenter::MessageCenter(MessageDisplay& display, NotificationArea& tray, TaskbarButton& taskbar,
                             SetupWindows& windows)
    : display_(display), tray_(tray), taskbar_(taskbar), windows_(windows)
{
    tray_.connect(*this);
}

std::optional<int> MessageCenter::show(const MessageForm& form)
{
    const WindowHandle owner = windows_.currentDialog();
    if (display_.taskDialogs())
        if (const auto pressed = display_.taskDialog(owner, form))
            return taskDialogAnswer(*pressed, form.buttonCode);
    int answer = display_.messageBox(owner, form);
    // The owner may be gone (or refuse); the question is still asked.
    if (answer == 0 && owner != 0)
        answer = display_.messageBox(0, form);
    if (answer < answerOk || answer > answerNo)
        return std::nullopt;
    return answer;
}

void MessageCenter::pauseTaskbar(EngineVariables& variables, bool error)
{
    if (!taskbar_.available())
        return;
    if (!savedProgressMode_)
        savedProgressMode_ = variables.GetVariable(u"PROGRESSMODE");
    variables.SetVariable(u"PROGRESSMODE", error ? u"ERROR" : u"PAUSE", taskbarContext);
    taskbar_.setProgressState(taskbarProgressOf(variables.GetVariable(u"PROGRESSMODE")));
}

void MessageCenter::restoreTaskbar(EngineVariables& variables)
{
    if (!taskbar_.available() || !savedProgressMode_)
        return;
    variables.SetVariable(u"PROGRESSMODE", *savedProgressMode_, taskbarContext);
    savedProgressMode_.reset();
    taskbar_.setProgressState(taskbarProgressOf(variables.GetVariable(u"PROGRESSMODE")));
}

void MessageCenter::showBalloon(EngineVariables& variables, std::u16string_view title, std::u16string_view text,
                                BalloonIcon icon, uint32_t milliseconds)
{
    tray_.showIcon(variables.GetVariable(u"TITLE"));
    pauseTaskbar(variables, false);
    timerVariables_ = &variables;
    tray_.startTimer(milliseconds);
    tray_.showBalloon(title, text, icon, milliseconds);
}

void MessageCenter::showTrayIcon(std::u16string_view title)
{
    tray_.showIcon(title);
    if (taskbar_.available())
        taskbar_.setOverlay(title);
}

void MessageCenter::systemTray(std::u16string_view title, bool silent, bool hide, bool showIcon, bool bringBack,
                               bool removeIcon)
{
    // The overlay marks a window that sits in the notification area, so it
    // goes whenever the window comes back.
    const auto comeBack = [&] {
        if (taskbar_.available())
            taskbar_.removeOverlay();
        windows_.bringBackSetupWindow(true);
        inTray_ = false;
    };
    if (hide) {
        if (!silent)
            showTrayIcon(title);
        windows_.hideSetupWindow();
        inTray_ = true;
    }
    if (showIcon && !silent)
        showTrayIcon(title);
    if (bringBack)
        comeBack();
    if (removeIcon) {
        tray_.hideIcon();
        comeBack();
    }
}

void MessageCenter::iconClicked()
{
    if (!inTray_) {
        windows_.bringBackSetupWindow(false);
        return;
    }
    inTray_ = false;
    if (taskbar_.available())
        taskbar_.removeOverlay();
    windows_.showWaitingDialog();
    windows_.bringBackSetupWindow(true);
}

void MessageCenter::balloonTimeUp()
{
    tray_.stopTimer();
    if (timerVariables_)
        restoreTaskbar(*timerVariables_);
}

void MessageCenter::exitSteps()
{
    tray_.stopTimer();
    timerVariables_ = nullptr;
    tray_.hideIcon();
}

namespace {

void messageBox(Statement& st, MessageCenter& center)
{
    MessageForm form;
    const auto title = st.translatedExpanded(1, 1);
    const auto text = st.translatedExpanded(2, 2);
    const auto iconCode = st.number(3);
    const auto buttonCode = st.number(4);
    // Codes outside the tables have no defined look or answer: refused like
    // codes that are no numbers at all.
    if (const auto known = messageForm(iconCode, buttonCode))
        form = *known;
    else
        throw ScriptError(u"MessageBox icon code " + formatInt(iconCode) + u" or button code " + formatInt(buttonCode)
                          + u" is not valid");
    ScriptEnvironment& environment = st.environment();
    if (environment.settings.silent)
        return;
    form.title = title;
    form.text = text;
    form.caption = environment.messageBoxCaption();
    EngineVariables& variables = environment.variables;
    center.pauseTaskbar(variables, form.style == (styleIconError | styleOk));
    const auto answer = center.show(form);
    center.restoreTaskbar(variables);
    if (st.raw(5).empty())
        return;
    const auto result = st.resultName(5);
    // A dialog closed without choosing a button stores nothing.
    if (const auto word = answer ? resultWord(*answer) : std::nullopt)
        st.store(result, *word);
}

void messageBalloon(Statement& st, MessageCenter& center)
{
    const auto title = st.translatedExpanded(1, 1);
    const auto text = st.translatedExpanded(2, 2);
    const auto iconCode = st.number(3);
    const auto milliseconds = balloonMilliseconds(st.number(4));
    const auto icon = balloonIcon(iconCode);
    if (!icon)
        throw ScriptError(u"MessageBalloon icon code " + formatInt(iconCode) + u" is not valid");
    if (st.environment().settings.silent)
        return;
    center.showBalloon(st.environment().variables, title, text, *icon, milliseconds);
}

// Each flag counts only as the exact word "TRUE".
bool exactlyTrue(const Statement& st, int k)
{
    return st.raw(k) == u"TRUE";
}

void systemTray(Statement& st, MessageCenter& center)
{
    const bool hide = exactlyTrue(st, 1);
    const bool showIcon = exactlyTrue(st, 2);
    const bool bringBack = exactlyTrue(st, 3);
    const bool removeIcon = exactlyTrue(st, 4);
    ScriptEnvironment& environment = st.environment();
    center.systemTray(environment.variables.GetVariable(u"TITLE"), environment.settings.silent, hide, showIcon,
                      bringBack, removeIcon);
}

// Seams for a run without a user interface: nothing is shown and no button
// is ever chosen.
struct NoMessages : MessageDisplay, NotificationArea, TaskbarButton {
    bool taskDialogs() override { return false; }
    int messageBox(WindowHandle, const MessageForm&) override { return 0; }
    std::optional<int> taskDialog(WindowHandle, const MessageForm&) override { return std::nullopt; }
    void connect(TrayEvents&) override {}
    void showIcon(std::u16string_view) override {}
    void hideIcon() override {}
    void showBalloon(std::u16string_view, std::u16string_view, BalloonIcon, uint32_t) override {}
    void startTimer(uint32_t) override {}
    void stopTimer() override {}
    bool available() override { return false; }
    void setProgressState(TaskbarProgress) override {}
    void setOverlay(std::u16string_view) override {}
    void removeOverlay() override {}

    SetupWindows windows;
    MessageCenter center{*this, *this, *this, windows};
};

}  // namespace

void registerMessageCommands(CommandTable& commands, MessageCenter& center)
{
    commands.add(u"MessageBox", [&center](Statement& st) { messageBox(st, center); });
    commands.add(u"MessageBalloon", [&center](Statement& st) { messageBalloon(st, center); });
    commands.add(u"System Tray", [&center](Statement& st) { systemTray(st, center); });
}

void registerMessageCommands(CommandTable& commands, CommandServices& services)
{
    // Without a center the parameters are still checked; nothing is shown.
    const auto withCenter = [&services](void (*command)(Statement&, MessageCenter&)) {
        return [&services, command](Statement& st) {
            if (MessageCenter* center = services.messages) {
                command(st, *center);
                return;
            }
            NoMessages none;
            command(st, none.center);
        };
    };
    commands.add(u"MessageBox", withCenter(messageBox));
    commands.add(u"MessageBalloon", withCenter(messageBalloon));
    commands.add(u"System Tray", withCenter(systemTray));
}

}  // namespace pellion
