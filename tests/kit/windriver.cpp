// Window driver for GUI tests: finds a top-level window and reads or works its
// controls, so no test ever leaves a window (a message box above all) waiting.
//   windriver find   SELECTOR [--timeout MS]        prints "<hwnd> <class> <caption>"
//   windriver texts  SELECTOR [--timeout MS]        prints "<id>\t<class>\t<text>" per control
//   windriver click  SELECTOR BUTTON [--timeout MS] presses the button captioned BUTTON ("&" ignored)
//   windriver close  SELECTOR [--timeout MS]        asks the window to close
//   windriver gone   SELECTOR [--timeout MS]        waits until no such window is left
//   windriver controls SELECTOR                     prints "<id>\t<class>\t<visible>\t<enabled>\t<checked>\t<x,y,w,h>\t<text>"
//                                                   per control (1/0; checked "-" for non-check boxes; place in
//                                                   the window's client area)
//   windriver key    SELECTOR KEY                   posts a key press (Return, Escape, F1, Tab, Space, Up, Down)
//                                                   to the window's focused control
//   windriver list-items  SELECTOR                  prints "<index>\t<checked>\t<selected>\t<text>" per row of
//                                                   the first visible list view
//   windriver list-check  SELECTOR INDEX 1|0        checks or unchecks a row's check box
//   windriver list-select SELECTOR INDEX            highlights a row (and only it)
//   windriver tree-select SELECTOR PART...          selects the tree item reached through the item texts PART
//                                                   (letter case ignored; "Z:" also names an item "... (Z:)"),
//                                                   selecting and opening each on the way
//   windriver kill   SELECTOR [--timeout MS]        ends the process that owns the window (a failed test's
//                                                   cleanup, when a message box keeps the window from closing)
//   windriver tree-selected SELECTOR                prints the texts from the root to the selected tree item,
//                                                   joined by "\"; nothing when none is selected
//   windriver combo-items SELECTOR                  prints "<index>\t<selected>\t<text>" per entry of the first
//                                                   visible combo box
//   windriver combo-select SELECTOR TEXT            selects the combo box entry TEXT (letter case ignored) and
//                                                   tells the window as a user's choice would
// SELECTOR: --title TEXT | --title-part TEXT | --class NAME (combinable).
// The list and tree actions read and write the other program's memory, so the
// driver and the program must be built for the same pointer size.
// Exit codes: 0 done, 1 window or control not found in time, 2 usage.

#include <windows.h>
#include <commctrl.h>

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

// Memory inside the window's process, for the list and tree messages whose
// parameters point at structures.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t size) : size_(size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, processId);
        if (process_)
            base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory()
    {
        if (base_)
            VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    bool ok() const { return base_ != nullptr; }
    char* at(size_t offset) const { return base_ + offset; }
    bool write(size_t offset, const void* data, size_t size)
    {
        return offset + size <= size_ && WriteProcessMemory(process_, base_ + offset, data, size, nullptr);
    }
    bool read(size_t offset, void* data, size_t size)
    {
        return offset + size <= size_ && ReadProcessMemory(process_, base_ + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_;
};

constexpr size_t remoteTextOffset = 1024;
constexpr size_t remoteTextLength = 1024;
constexpr size_t remoteSize = remoteTextOffset + remoteTextLength * sizeof(wchar_t);

// The first visible control of the class, waiting for it up to the timeout.
HWND findControl(HWND window, const wchar_t* className, DWORD timeout)
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND child : children(window))
            if (IsWindowVisible(child) && windowClass(child) == className)
                return child;
        if (GetTickCount() - start >= timeout)
            return nullptr;
        Sleep(100);
    }
}

std::wstring remoteText(RemoteMemory& memory)
{
    std::vector<wchar_t> text(remoteTextLength, L'\0');
    memory.read(remoteTextOffset, text.data(), text.size() * sizeof(wchar_t));
    text.back() = L'\0';
    return text.data();
}

std::wstring listItemText(HWND list, RemoteMemory& memory, int index)
{
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at(remoteTextOffset));
    item.cchTextMax = static_cast<int>(remoteTextLength);
    memory.write(0, &item, sizeof item);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(memory.at(0)));
    return remoteText(memory);
}

bool setListItemState(HWND list, RemoteMemory& memory, int index, UINT mask, UINT state)
{
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    return memory.write(0, &item, sizeof item)
           && SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(memory.at(0)));
}

std::wstring treeItemText(HWND tree, RemoteMemory& memory, HTREEITEM handle)
{
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = handle;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at(remoteTextOffset));
    item.cchTextMax = static_cast<int>(remoteTextLength);
    memory.write(0, &item, sizeof item);
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.at(0))))
        return {};
    return remoteText(memory);
}

HTREEITEM treeNext(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool sameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// An item text names the part exactly, or "Z:" names "Local Disk (Z:)".
bool treePartMatches(const std::wstring& text, const std::wstring& part)
{
    if (sameText(text, part))
        return true;
    const std::wstring suffix = L"(" + part + L")";
    return text.size() > suffix.size() && sameText(text.substr(text.size() - suffix.size()), suffix);
}

UINT virtualKey(const std::wstring& name)
{
    struct Key {
        const wchar_t* name;
        UINT code;
    };
    static const Key keys[] = {
        {L"Return", VK_RETURN}, {L"Escape", VK_ESCAPE}, {L"F1", VK_F1}, {L"Tab", VK_TAB},
        {L"Space", VK_SPACE},   {L"Up", VK_UP},         {L"Down", VK_DOWN},
    };
    for (const auto& key : keys)
        if (sameText(name, key.name))
            return key.code;
    return 0;
}

void printUtf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// The entry texts of a combo box. Combo box messages carry their texts
// across processes themselves, so local buffers serve.
std::vector<std::wstring> comboItems(HWND combo)
{
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        items.push_back(text);
    }
    return items;
}

int usage()
{
    std::fputs("usage: windriver find|texts|click|close|gone|kill|controls|key|list-items|list-check|list-select|"
               "tree-select|tree-selected|combo-items|combo-select --title T|--title-part T|--class C [ARGS...] "
               "[--timeout MS]\n",
               stderr);
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
    if (action == L"kill") {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
        if (!process)
            return 1;
        const BOOL ended = TerminateProcess(process, 1);
        CloseHandle(process);
        return ended ? 0 : 1;
    }
    if (action == L"controls") {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        for (HWND child : children(window)) {
            RECT place{};
            GetWindowRect(child, &place);
            const std::wstring className = windowClass(child);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            const LONG kind = style & BS_TYPEMASK;
            const bool checkBox = className == L"Button"
                                  && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON
                                      || kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE);
            std::wstring checked = L"-";
            if (checkBox)
                checked = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0";
            std::printf("%d\t", GetDlgCtrlID(child));
            printUtf8(className + L"\t" + (IsWindowVisible(child) ? L"1" : L"0") + L"\t"
                      + (IsWindowEnabled(child) ? L"1" : L"0") + L"\t" + checked + L"\t"
                      + std::to_wstring(place.left - origin.x) + L"," + std::to_wstring(place.top - origin.y) + L","
                      + std::to_wstring(place.right - place.left) + L"," + std::to_wstring(place.bottom - place.top)
                      + L"\t" + windowText(child) + L"\n");
        }
        return 0;
    }
    if (action == L"key" && rest.size() == 1) {
        const UINT key = virtualKey(rest[0]);
        if (!key)
            return usage();
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        HWND target = window;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus)
            target = thread.hwndFocus;
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
        PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
        return 0;
    }
    if (action == L"list-items" || action == L"list-check" || action == L"list-select") {
        HWND list = findControl(window, L"SysListView32", timeout);
        RemoteMemory memory(window, remoteSize);
        if (!list || !memory.ok()) {
            std::fputs("list view not found\n", stderr);
            return 1;
        }
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        if (action == L"list-items") {
            for (int index = 0; index < count; ++index) {
                const UINT state = static_cast<UINT>(
                    SendMessageW(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK | LVIS_SELECTED));
                const bool checked = ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
                std::printf("%d\t%d\t%d\t", index, checked ? 1 : 0, (state & LVIS_SELECTED) ? 1 : 0);
                printUtf8(listItemText(list, memory, index) + L"\n");
            }
            return 0;
        }
        if (rest.empty())
            return usage();
        const int index = static_cast<int>(wcstol(rest[0].c_str(), nullptr, 10));
        if (index < 0 || index >= count) {
            std::fputs("no such row\n", stderr);
            return 1;
        }
        if (action == L"list-check" && rest.size() == 2) {
            const bool check = rest[1] == L"1";
            return setListItemState(list, memory, index, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(check ? 2 : 1)) ? 0 : 1;
        }
        if (action == L"list-select" && rest.size() == 1) {
            setListItemState(list, memory, -1, LVIS_SELECTED, 0);
            return setListItemState(list, memory, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED) ? 0 : 1;
        }
        return usage();
    }
    if (action == L"combo-items" || (action == L"combo-select" && rest.size() == 1)) {
        HWND combo = findControl(window, L"ComboBox", timeout);
        if (!combo) {
            std::fputs("combo box not found\n", stderr);
            return 1;
        }
        const std::vector<std::wstring> items = comboItems(combo);
        if (action == L"combo-items") {
            const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
            for (size_t index = 0; index < items.size(); ++index) {
                std::printf("%d\t%d\t", static_cast<int>(index), static_cast<LRESULT>(index) == selected ? 1 : 0);
                printUtf8(items[index] + L"\n");
            }
            return 0;
        }
        for (size_t index = 0; index < items.size(); ++index) {
            if (!sameText(items[index], rest[0]))
                continue;
            SendMessageW(combo, CB_SETCURSEL, index, 0);
            PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            return 0;
        }
        std::fputs("combo box entry not found\n", stderr);
        return 1;
    }
    if (action == L"tree-select" || action == L"tree-selected") {
        HWND tree = findControl(window, L"SysTreeView32", timeout);
        RemoteMemory memory(window, remoteSize);
        if (!tree || !memory.ok()) {
            std::fputs("tree view not found\n", stderr);
            return 1;
        }
        if (action == L"tree-selected") {
            std::vector<std::wstring> texts;
            for (HTREEITEM item = treeNext(tree, TVGN_CARET, nullptr); item; item = treeNext(tree, TVGN_PARENT, item))
                texts.insert(texts.begin(), treeItemText(tree, memory, item));
            std::wstring path;
            for (const auto& text : texts)
                path += (path.empty() ? L"" : L"\\") + text;
            if (!texts.empty())
                printUtf8(path + L"\n");
            return 0;
        }
        if (rest.empty())
            return usage();
        HTREEITEM parent = nullptr;
        for (const auto& part : rest) {
            HTREEITEM found = nullptr;
            HTREEITEM item = parent ? treeNext(tree, TVGN_CHILD, parent) : treeNext(tree, TVGN_ROOT, nullptr);
            for (; item && !found; item = treeNext(tree, TVGN_NEXT, item))
                if (treePartMatches(treeItemText(tree, memory, item), part))
                    found = item;
            if (!found) {
                std::fputs("tree item not found: ", stderr);
                printUtf8(part + L"\n");
                return 1;
            }
            // Selecting lets the program list the folder's children; opening shows them.
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
            SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(found));
            parent = found;
        }
        SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(parent));
        return 0;
    }
    return usage();
}
