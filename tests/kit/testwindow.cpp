// A top-level window for tests of programs that close or end other programs'
// windows; it writes down what reaches it and never waits for anyone.
//   testwindow --class NAME --title TEXT [--log FILE] [--stubborn] [--lifetime MS]
// Each of WM_CANCELMODE, WM_CLOSE, WM_QUERYENDSESSION and WM_ENDSESSION appends
// a line "cancelmode", "close", "queryendsession" or "endsession" to FILE.
// WM_CLOSE closes the window and ends the program (exit code 0) unless
// --stubborn is given; after MS milliseconds (default 120000) the program ends
// anyway with exit code 3, so a failed test leaves nothing behind.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring logFile;
bool stubborn = false;
bool timedOut = false;
constexpr UINT_PTR lifetimeTimer = 1;

void note(const char* line)
{
    if (logFile.empty())
        return;
    FILE* file = _wfopen(logFile.c_str(), L"ab");
    if (!file)
        return;
    std::fprintf(file, "%s\n", line);
    std::fclose(file);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CANCELMODE:
        note("cancelmode");
        break;
    case WM_CLOSE:
        note("close");
        if (stubborn)
            return 0;
        break;
    case WM_QUERYENDSESSION:
        note("queryendsession");
        return TRUE;
    case WM_ENDSESSION:
        note("endsession");
        return 0;
    case WM_TIMER:
        if (wParam == lifetimeTimer) {
            timedOut = true;
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(timedOut ? 3 : 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring className;
    std::wstring title;
    UINT lifetime = 120000;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--class" && hasValue) className = argv[++i];
        else if (arg == L"--title" && hasValue) title = argv[++i];
        else if (arg == L"--log" && hasValue) logFile = argv[++i];
        else if (arg == L"--lifetime" && hasValue) lifetime = static_cast<UINT>(wcstoul(argv[++i], nullptr, 10));
        else if (arg == L"--stubborn") stubborn = true;
        else {
            std::fputs("usage: testwindow --class NAME --title TEXT [--log FILE] [--stubborn] [--lifetime MS]\n", stderr);
            return 2;
        }
    }
    if (className.empty()) {
        std::fputs("testwindow: --class is needed\n", stderr);
        return 2;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassW(&windowClass))
        return 1;
    const HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 320, 200,
                                        nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, lifetimeTimer, lifetime, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
