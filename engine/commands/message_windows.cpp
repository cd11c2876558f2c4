// Message boxes, task dialogs, the notification-area icon, the taskbar button
// and the setup's windows as Windows shows them.

#include "engine/commands/message_windows.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwchar>

#include "common/wide.h"
#include "common/windows_system.h"

namespace pellion {

namespace {

constexpr UINT trayCallback = WM_APP + 1;
constexpr UINT trayIconId = 1;
constexpr UINT_PTR balloonTimerId = 1;
constexpr wchar_t trayWindowClass[] = L"PellionTrayWindow";

HWND windowOf(WindowHandle handle)
{
    return reinterpret_cast<HWND>(handle);
}

// Copies as much of the text as the fixed field holds, always terminated.
template <size_t size>
void copyInto(wchar_t (&field)[size], const std::wstring& text)
{
    const size_t count = std::min(text.size(), size - 1);
    std::wmemcpy(field, text.c_str(), count);
    field[count] = L'\0';
}

PCWSTR taskDialogIcon(TaskDialogIcon icon)
{
    switch (icon) {
    case TaskDialogIcon::information: return TD_INFORMATION_ICON;
    case TaskDialogIcon::warning: return TD_WARNING_ICON;
    case TaskDialogIcon::error: return TD_ERROR_ICON;
    case TaskDialogIcon::none: break;
    }
    return nullptr;
}

}  // namespace

bool WindowsMessageDisplay::taskDialogs()
{
    return windowsVersion().atLeast(6, 0);
}

int WindowsMessageDisplay::messageBox(WindowHandle owner, const MessageForm& form)
{
    return MessageBoxW(windowOf(owner), toWide(form.text).c_str(), toWide(form.title).c_str(), form.style);
}

std::optional<int> WindowsMessageDisplay::taskDialog(WindowHandle owner, const MessageForm& form)
{
    using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    // Version 6 of the common controls exports it; the manifest selects that
    // version, and an older one simply lacks the function.
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    if (!controls)
        controls = LoadLibraryW(L"comctl32.dll");
    const auto show = controls ? reinterpret_cast<TaskDialogIndirectFunction>(
                                     reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")))
                               : nullptr;
    if (!show)
        return std::nullopt;
    const std::wstring caption = toWide(form.caption);
    const std::wstring instruction = toWide(form.title);
    const std::wstring content = toWide(form.text);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = windowOf(owner);
    config.dwCommonButtons = static_cast<TASKDIALOG_COMMON_BUTTON_FLAGS>(form.taskButtons);
    config.pszWindowTitle = caption.c_str();
    config.pszMainIcon = taskDialogIcon(form.icon);
    config.pszMainInstruction = instruction.c_str();
    config.pszContent = content.c_str();
    int pressed = 0;
    if (FAILED(show(&config, &pressed, nullptr, nullptr)))
        return std::nullopt;
    return pressed;
}

WindowsNotificationArea::~WindowsNotificationArea()
{
    hideIcon();
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK WindowsNotificationArea::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<WindowsNotificationArea*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        if (message == trayCallback) {
            const UINT mouse = LOWORD(lParam);
            if ((mouse == WM_LBUTTONUP || mouse == WM_LBUTTONDBLCLK) && self->events_)
                self->events_->iconClicked();
            return 0;
        }
        if (message == WM_TIMER && wParam == balloonTimerId) {
            // One-shot: the time-up handler also stops it, but a second
            // tick must not arrive before that.
            KillTimer(window, balloonTimerId);
            if (self->events_)
                self->events_->balloonTimeUp();
            return 0;
        }
        // Explorer started anew and forgot every icon.
        if (message == self->taskbarCreated_ && self->taskbarCreated_ != 0 && self->iconShown_) {
            NOTIFYICONDATAW data = self->iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
            Shell_NotifyIconW(NIM_ADD, &data);
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool WindowsNotificationArea::ensureWindow()
{
    if (window_)
        return true;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = trayWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    // A hidden top-level window: message-only windows do not hear Explorer's
    // "TaskbarCreated" broadcast.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, trayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                              nullptr);
    if (!window_)
        return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    icon_ = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!icon_)
        icon_ = LoadIconW(nullptr, IDI_APPLICATION);
    return true;
}

NOTIFYICONDATAW WindowsNotificationArea::iconData(UINT flags) const
{
    NOTIFYICONDATAW data{};
    // Before Windows 6.0 the shell refuses the larger structure.
    data.cbSize = windowsVersion().atLeast(6, 0) ? sizeof data : NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window_;
    data.uID = trayIconId;
    data.uFlags = flags;
    data.uCallbackMessage = trayCallback;
    data.hIcon = icon_;
    copyInto(data.szTip, toolTip_);
    return data;
}

void WindowsNotificationArea::showIcon(std::u16string_view toolTip)
{
    if (!ensureWindow())
        return;
    toolTip_ = toWide(toolTip);
    NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    if (iconShown_ && Shell_NotifyIconW(NIM_MODIFY, &data))
        return;
    iconShown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void WindowsNotificationArea::hideIcon()
{
    if (!iconShown_)
        return;
    NOTIFYICONDATAW data = iconData(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    iconShown_ = false;
}

void WindowsNotificationArea::showBalloon(std::u16string_view title, std::u16string_view text, BalloonIcon icon,
                                          uint32_t milliseconds)
{
    if (!ensureWindow())
        return;
    NOTIFYICONDATAW data = iconData(NIF_INFO);
    copyInto(data.szInfoTitle, toWide(title));
    copyInto(data.szInfo, toWide(text));
    data.uTimeout = milliseconds;
    data.dwInfoFlags = icon == BalloonIcon::error ? NIIF_ERROR : icon == BalloonIcon::warning ? NIIF_WARNING : NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void WindowsNotificationArea::startTimer(uint32_t milliseconds)
{
    if (ensureWindow())
        SetTimer(window_, balloonTimerId, milliseconds, nullptr);
}

void WindowsNotificationArea::stopTimer()
{
    if (window_)
        KillTimer(window_, balloonTimerId);
}

void WindowsSetupWindows::hideSetupWindow()
{
    if (setupWindow)
        ShowWindow(setupWindow, SW_HIDE);
}

void WindowsSetupWindows::bringBackSetupWindow(bool restore)
{
    if (!setupWindow)
        return;
    ShowWindow(setupWindow, SW_SHOW);
    BringWindowToTop(setupWindow);
    if (restore)
        SendMessageW(setupWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(setupWindow);
}

WindowsTaskbarButton::~WindowsTaskbarButton()
{
    if (taskbar_)
        taskbar_->Release();
    if (comStarted_)
        CoUninitialize();
}

bool WindowsTaskbarButton::available()
{
    if (tried_)
        return taskbar_ != nullptr;
    tried_ = true;
    if (!windowsVersion().atLeast(6, 1))
        return false;
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(started);
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar))))
        return false;
    if (FAILED(taskbar->HrInit())) {
        taskbar->Release();
        return false;
    }
    taskbar_ = taskbar;
    return true;
}

void WindowsTaskbarButton::setProgressState(TaskbarProgress state)
{
    if (!taskbar_ || !button())
        return;
    TBPFLAG flag = TBPF_NORMAL;
    switch (state) {
    case TaskbarProgress::indeterminate: flag = TBPF_INDETERMINATE; break;
    case TaskbarProgress::error: flag = TBPF_ERROR; break;
    case TaskbarProgress::paused: flag = TBPF_PAUSED; break;
    case TaskbarProgress::normal: break;
    }
    taskbar_->SetProgressState(button(), flag);
}

void WindowsTaskbarButton::setOverlay(std::u16string_view description)
{
    if (!taskbar_ || !button())
        return;
    const HICON icon = static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    taskbar_->SetOverlayIcon(button(), icon, toWide(description).c_str());
}

void WindowsTaskbarButton::removeOverlay()
{
    if (taskbar_ && button())
        taskbar_->SetOverlayIcon(button(), nullptr, nullptr);
}

}  // namespace pellion
