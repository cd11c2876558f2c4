// Messages and notifications: "MessageBox", "MessageBalloon" and "System Tray".
// The decisions (styles, buttons, result words, the silent rule, the balloon
// time, the order of the tray flags, the taskbar state kept in PROGRESSMODE)
// are here; the windows, the notification-area icon and the taskbar button are
// reached through the seams below (message_windows.cpp on Windows).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pellion {

class CommandTable;
class EngineVariables;
struct CommandServices;

// A window of the engine as the seams pass it around; 0 is "no window".
using WindowHandle = std::uintptr_t;

// The classic message box's return values.
enum MessageAnswer : int {
    answerOk = 1,
    answerCancel = 2,
    answerAbort = 3,
    answerRetry = 4,
    answerIgnore = 5,
    answerYes = 6,
    answerNo = 7,
};

// The buttons a task dialog reports (TDCBF_* flags to show, IDs back).
inline constexpr uint32_t taskOkButton = 0x01, taskYesButton = 0x02, taskNoButton = 0x04, taskCancelButton = 0x08,
                          taskRetryButton = 0x10, taskCloseButton = 0x20;
inline constexpr int taskCloseId = 8;  // IDCLOSE

enum class TaskDialogIcon { none, information, warning, error };

struct MessageForm {
    std::u16string caption;  // the task dialog's window caption
    std::u16string title;    // the classic box's caption, the task dialog's main instruction
    std::u16string text;
    uint32_t style = 0;      // MB_ icon flag plus MB_ buttons flag
    TaskDialogIcon icon = TaskDialogIcon::none;
    uint32_t taskButtons = 0;
    int buttonCode = 0;
};

// The message form of an icon code 0 to 3 and a button code 0 to 5; nothing
// for a code outside those tables.
std::optional<MessageForm> messageForm(int64_t iconCode, int64_t buttonCode);
// The answer a pressed task dialog button stands for (Cancel is Abort and
// Close is Ignore under button code 0); nothing for any other id.
std::optional<int> taskDialogAnswer(int buttonId, int buttonCode);
// "OK", "CANCEL", ... for an answer 1 to 7; nothing for any other.
std::optional<std::u16string> resultWord(int answer);

// A balloon's time in milliseconds: the seconds brought into 10 to 30.
uint32_t balloonMilliseconds(int64_t seconds);

enum class BalloonIcon { information, warning, error };
std::optional<BalloonIcon> balloonIcon(int64_t code);

// Modal message windows.
class MessageDisplay {
public:
    virtual ~MessageDisplay() = default;
    // Windows 6.0 or later: messages are task dialogs.
    virtual bool taskDialogs() = 0;
    // MessageBoxW: its return value, 0 when no box could be shown.
    virtual int messageBox(WindowHandle owner, const MessageForm& form) = 0;
    // The pressed button's id (0 when none was); nothing when no task dialog
    // can be shown at all, and the classic box then stands in.
    virtual std::optional<int> taskDialog(WindowHandle owner, const MessageForm& form) = 0;
};

// What the notification-area icon reports back (on the main thread).
class TrayEvents {
public:
    virtual ~TrayEvents() = default;
    virtual void iconClicked() = 0;
    virtual void balloonTimeUp() = 0;
};

// The engine's one notification-area icon and its one-shot timer.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    virtual void connect(TrayEvents& events) = 0;
    virtual void showIcon(std::u16string_view toolTip) = 0;
    virtual void hideIcon() = 0;
    virtual void showBalloon(std::u16string_view title, std::u16string_view text, BalloonIcon icon,
                             uint32_t milliseconds) = 0;
    // Calls TrayEvents::balloonTimeUp once after the time; a new start replaces it.
    virtual void startTimer(uint32_t milliseconds) = 0;
    virtual void stopTimer() = 0;
};

enum class TaskbarProgress { normal, indeterminate, error, paused };

// The setup's taskbar button (ITaskbarList3). Failures pass silently.
class TaskbarButton {
public:
    virtual ~TaskbarButton() = default;
    // Windows 6.1 or later and the interface could be created.
    virtual bool available() = 0;
    virtual void setProgressState(TaskbarProgress state) = 0;
    virtual void setOverlay(std::u16string_view description) = 0;
    virtual void removeOverlay() = 0;
};

// The windows of the wizard: the dialog on screen owns the messages, the
// setup's window goes into the notification area and comes back. Until the
// dialogs exist there are none, and hiding and showing do nothing.
class SetupWindows {
public:
    virtual ~SetupWindows() = default;
    virtual WindowHandle currentDialog() { return 0; }
    virtual void hideSetupWindow() {}
    // Shown and brought to the top; restored (SC_RESTORE) when asked; made
    // the foreground window.
    virtual void bringBackSetupWindow(bool restore) { (void)restore; }
    // A dialog that waits to be shown while the setup sits in the tray.
    virtual void showWaitingDialog() {}
};

// The state the three commands share with the tray icon's events and the
// loop's exit steps: the in-tray flag and the saved PROGRESSMODE.
class MessageCenter : public TrayEvents {
public:
    MessageCenter(MessageDisplay& display, NotificationArea& tray, TaskbarButton& taskbar, SetupWindows& windows);
    MessageCenter(const MessageCenter&) = delete;
    MessageCenter& operator=(const MessageCenter&) = delete;

    // The answer to a message (1 to 7), or nothing when no button was chosen.
    std::optional<int> show(const MessageForm& form);

    // PROGRESSMODE becomes "PAUSE" (or "ERROR"), its value saved unless one
    // already is; the taskbar follows. Nothing without a taskbar button.
    void pauseTaskbar(EngineVariables& variables, bool error);
    // The saved PROGRESSMODE put back; the taskbar follows.
    void restoreTaskbar(EngineVariables& variables);

    void showBalloon(EngineVariables& variables, std::u16string_view title, std::u16string_view text,
                     BalloonIcon icon, uint32_t milliseconds);
    // The four flags of "System Tray", in their order.
    void systemTray(std::u16string_view title, bool silent, bool hide, bool showIcon, bool bringBack,
                    bool removeIcon);

    bool inTray() const { return inTray_; }

    void iconClicked() override;
    void balloonTimeUp() override;
    // The loop's exit steps: the icon goes and its timer stops.
    void exitSteps();

private:
    void showTrayIcon(std::u16string_view title);

    MessageDisplay& display_;
    NotificationArea& tray_;
    TaskbarButton& taskbar_;
    SetupWindows& windows_;
    bool inTray_ = false;
    std::optional<std::u16string> savedProgressMode_;
    // The store the running balloon's timer restores PROGRESSMODE in.
    EngineVariables* timerVariables_ = nullptr;
};

// The progress state a PROGRESSMODE value stands for.
TaskbarProgress taskbarProgressOf(std::u16string_view progressMode);

void registerMessageCommands(CommandTable& commands, MessageCenter& center);
// The engine's registration: the handlers reach the message center the run's
// command extensions carry (see CommandExtensions::messages); a run without
// one shows nothing, as a silent run would.
void registerMessageCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
