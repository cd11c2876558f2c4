// Window driver for GUI tests: finds a top-level window and reads or works its
// controls, so no test ever leaves a window (a message box above all) waiting.
//   windriver find   SELECTOR [--timeout MS]        prints "<hwnd> <class> <caption>"
//   windriver texts  SELECTOR [--timeout MS]        prints "<id>\t<class>\t<text>" per control
//   windriver click  SELECTOR BUTTON [--timeout MS] presses the button captioned BUTTON ("&" ignored)
//   windriver close  SELECTOR [--timeout MS]        asks the window to close
//   windriver gone   SELECTOR [--timeout MS]        waits until no such window is left
// SELECTOR: --title TEXT | --title-part TEXT | --class NAME (combinable).
// Exit codes: 0 done, 1 window or control not found in time, 2 usage.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Selector {
    std::wstring title;
    std::wstring titlePart;
    std::wstring className;
    bool any() const { return !title.empty() || !titlePart.empty() || !className.empty(); }
};

std::wstring windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::wstring windowClass(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring withoutAmpersands(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'&')
            out.push_back(c);
    return out;
}

bool matches(HWND window, const Selector& selector)
{
    if (!IsWindowVisible(window))
        return false;
    const std::wstring caption = windowText(window);
    if (!selector.title.empty() && caption != selector.title)
        return false;
    if (!selector.titlePart.empty() && caption.find(selector.titlePart) == std::wstring::npos)
        return false;
    if (!selector.className.empty() && windowClass(window) != selector.className)
        return false;
    return true;
}

struct Search {
    const Selector* selector;
    HWND found;
};

BOOL CALLBACK visitTopLevel(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    if (matches(window, *search->selector)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findWindow(const Selector& selector)
{
    Search search{&selector, nullptr};
    EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(const Selector& selector, DWORD timeout)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = findWindow(selector))
            return window;
        if (GetTickCount() - start >= timeout)
            return nullptr;
        Sleep(100);
    }
}

BOOL CALLBACK collectChild(HWND window, LPARAM context)
{
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> all;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

void printUtf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

int usage()
{
    std::fputs("usage: windriver find|texts|click|close|gone --title T|--title-part T|--class C [BUTTON] [--timeout MS]\n", stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return usage();
    const std::wstring action = argv[1];
    Selector selector;
    DWORD timeout = 10000;
    std::vector<std::wstring> rest;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--title" && hasValue) selector.title = argv[++i];
        else if (arg == L"--title-part" && hasValue) selector.titlePart = argv[++i];
        else if (arg == L"--class" && hasValue) selector.className = argv[++i];
        else if (arg == L"--timeout" && hasValue) timeout = wcstoul(argv[++i], nullptr, 10);
        else rest.push_back(arg);
    }
    if (!selector.any())
        return usage();

    if (action == L"gone") {
        const DWORD start = GetTickCount();
        while (findWindow(selector)) {
            if (GetTickCount() - start >= timeout)
                return 1;
            Sleep(100);
        }
        return 0;
    }

    HWND window = waitForWindow(selector, timeout);
    if (!window) {
        std::fputs("window not found\n", stderr);
        return 1;
    }

    if (action == L"find") {
        std::printf("%p ", static_cast<void*>(window));
        printUtf8(windowClass(window) + L" " + windowText(window) + L"\n");
        return 0;
    }
    if (action == L"texts") {
        for (HWND child : children(window)) {
            std::printf("%d\t", GetDlgCtrlID(child));
            printUtf8(windowClass(child) + L"\t" + windowText(child) + L"\n");
        }
        return 0;
    }
    if (action == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (action == L"click" && rest.size() == 1) {
        const std::wstring wanted = withoutAmpersands(rest[0]);
        const DWORD start = GetTickCount();
        for (;;) {
            for (HWND child : children(window)) {
                if (withoutAmpersands(windowText(child)) == wanted && IsWindowEnabled(child)) {
                    // Posted, not sent: the press may open a modal window, and
                    // the driver must not wait inside it.
                    PostMessageW(child, BM_CLICK, 0, 0);
                    return 0;
                }
            }
            if (GetTickCount() - start >= timeout)
                break;
            Sleep(100);
        }
        std::fputs("button not found\n", stderr);
        return 1;
    }
    return usage();
}
