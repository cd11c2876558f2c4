// The Windows answers to the message seams: message boxes and task dialogs,
// the notification-area icon with its balloon and timer, the taskbar button
// and the setup's windows (Windows builds only).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "engine/commands/message_commands.h"

struct ITaskbarList3;

namespace pellion {

// MessageBoxW before Windows 6.0; from 6.0 on TaskDialogIndirect, looked up in
// comctl32.dll (version 6 through the program's manifest) when first needed,
// so the engine still starts where it is missing.
class WindowsMessageDisplay : public MessageDisplay {
public:
    bool taskDialogs() override;
    int messageBox(WindowHandle owner, const MessageForm& form) override;
    std::optional<int> taskDialog(WindowHandle owner, const MessageForm& form) override;
};

// One Shell_NotifyIconW icon served by a hidden window the first use creates;
// its timer and the icon's clicks are delivered while the main thread pumps.
class WindowsNotificationArea : public NotificationArea {
public:
    WindowsNotificationArea() = default;
    WindowsNotificationArea(const WindowsNotificationArea&) = delete;
    WindowsNotificationArea& operator=(const WindowsNotificationArea&) = delete;
    ~WindowsNotificationArea() override;

    void connect(TrayEvents& events) override { events_ = &events; }
    void showIcon(std::u16string_view toolTip) override;
    void hideIcon() override;
    void showBalloon(std::u16string_view title, std::u16string_view text, BalloonIcon icon,
                     uint32_t milliseconds) override;
    void startTimer(uint32_t milliseconds) override;
    void stopTimer() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool ensureWindow();
    NOTIFYICONDATAW iconData(UINT flags) const;

    TrayEvents* events_ = nullptr;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool iconShown_ = false;
    std::wstring toolTip_;
};

// The wizard's windows; none until the dialogs set them.
class WindowsSetupWindows : public SetupWindows {
public:
    WindowHandle currentDialog() override { return reinterpret_cast<WindowHandle>(currentDialogWindow); }
    void hideSetupWindow() override;
    void bringBackSetupWindow(bool restore) override;

    HWND currentDialogWindow = nullptr;
    HWND setupWindow = nullptr;
};

// ITaskbarList3 on the current dialog's button, created on first use on
// Windows 6.1 and later.
class WindowsTaskbarButton : public TaskbarButton {
public:
    explicit WindowsTaskbarButton(SetupWindows& windows) : windows_(windows) {}
    WindowsTaskbarButton(const WindowsTaskbarButton&) = delete;
    WindowsTaskbarButton& operator=(const WindowsTaskbarButton&) = delete;
    ~WindowsTaskbarButton() override;

    bool available() override;
    void setProgressState(TaskbarProgress state) override;
    void setOverlay(std::u16string_view description) override;
    void removeOverlay() override;

private:
    HWND button() const { return reinterpret_cast<HWND>(windows_.currentDialog()); }

    SetupWindows& windows_;
    bool tried_ = false;
    bool comStarted_ = false;
    ITaskbarList3* taskbar_ = nullptr;
};

// The message seams and their shared state, as the engine's run uses them.
struct WindowsMessages {
    WindowsSetupWindows windows;
    WindowsMessageDisplay display;
    WindowsNotificationArea tray;
    WindowsTaskbarButton taskbar{windows};
    MessageCenter center{display, tray, taskbar, windows};
};

}  // namespace pellion
