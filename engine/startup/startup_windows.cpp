// Splash and "preparing" windows drawn with plain Win32 controls.

#include "engine/startup/startup_windows.h"

#include <commctrl.h>

#include "common/windows_system.h"
#include "engine/startup/splash_layout.h"

namespace pellion {

namespace {

constexpr wchar_t splashClass[] = L"PellionSplash";
constexpr wchar_t preparingClass[] = L"PellionPreparing";
constexpr int clientWidth = 369;
constexpr int clientHeight = 89;

LRESULT CALLBACK splashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        auto picture = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (picture) {
            BITMAP info{};
            GetObjectW(picture, sizeof info, &info);
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, picture);
            BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClasses(HINSTANCE instance)
{
    static bool registered = false;  // window classes are process-wide by nature
    if (registered)
        return;
    registered = true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_APPSTARTING);
    windowClass.lpfnWndProc = splashProc;
    windowClass.lpszClassName = splashClass;
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = preparingClass;
    RegisterClassExW(&windowClass);
}

HFONT dialogFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

void StartupWindows::open(const std::wstring& splashPicture, const std::wstring& preparingText, const std::wstring& caption)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClasses(instance);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    picture_ = static_cast<HBITMAP>(
        LoadImageW(nullptr, splashPicture.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    Box splashBox;
    if (picture_) {
        BITMAP info{};
        GetObjectW(picture_, sizeof info, &info);
        const Point at = centredOnScreen(info.bmWidth, info.bmHeight, screenWidth, screenHeight);
        splashBox = {at.x, at.y, info.bmWidth, info.bmHeight};
        splash_ = CreateWindowExW(WS_EX_TOOLWINDOW, splashClass, L"", WS_POPUP, at.x, at.y, info.bmWidth, info.bmHeight,
                                  nullptr, nullptr, instance, nullptr);
        SetWindowLongPtrW(splash_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture_));
        ShowWindow(splash_, SW_SHOWNOACTIVATE);
        UpdateWindow(splash_);
    }

    // Windows 10 shows the window without a caption; 8 and 8.1 draw it
    // slightly see-through.
    const WindowsVersion version = windowsVersion();
    const bool windows10 = version.atLeast(10, 0);
    const DWORD style = windows10 ? (WS_POPUP | WS_BORDER) : (WS_POPUP | WS_CAPTION | WS_BORDER);
    const DWORD extendedStyle = (!windows10 && version.atLeast(6, 2)) ? WS_EX_LAYERED : 0;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const Point at = splash_ ? preparingWindowBesideSplash(splashBox, width, height, screenWidth, screenHeight)
                             : centredOnScreen(width, height, screenWidth, screenHeight);
    preparing_ = CreateWindowExW(extendedStyle, preparingClass, caption.c_str(), style, at.x, at.y, width, height, nullptr,
                                 nullptr, instance, nullptr);
    if (extendedStyle & WS_EX_LAYERED)
        SetLayeredWindowAttributes(preparing_, 0, 224, LWA_ALPHA);
    HFONT font = dialogFont();
    HWND icon = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 16, 16, 32, 32, preparing_,
                                nullptr, instance, nullptr);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_APPLICATION)), 0);
    HWND label = CreateWindowExW(0, L"STATIC", preparingText.c_str(), WS_CHILD | WS_VISIBLE, 64, 12, clientWidth - 76, 40,
                                 preparing_, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 64, 58, clientWidth - 76, 16,
                                preparing_, nullptr, instance, nullptr);
    ShowWindow(preparing_, SW_SHOWNOACTIVATE);
    UpdateWindow(preparing_);
    pumpWindowMessages();
}

void StartupWindows::setProgress(int position, int maximum)
{
    if (!progress_)
        return;
    SendMessageW(progress_, PBM_SETRANGE32, 0, maximum);
    SendMessageW(progress_, PBM_SETPOS, position, 0);
    UpdateWindow(preparing_);
    pumpWindowMessages();
}

void StartupWindows::close()
{
    if (preparing_)
        DestroyWindow(preparing_);
    if (splash_)
        DestroyWindow(splash_);
    if (picture_)
        DeleteObject(picture_);
    preparing_ = splash_ = progress_ = nullptr;
    picture_ = nullptr;
}

void showEngineError(HWND owner, const std::wstring& text, const std::wstring& caption)
{
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void pumpWindowMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace pellion
