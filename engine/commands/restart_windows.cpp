// The Windows answer to the restart seam: the restart entry in the registry,
// the reboot request with the shutdown privilege, and the top-level windows
// "Terminate Program" reads and posts to.

#include <windows.h>

#include "common/wide.h"
#include "common/windows_handles.h"
#include "engine/commands/restart_control.h"

namespace pellion {

namespace {

constexpr int textBuffer = 260;

// The privilege Windows demands of a process that asks to restart; on the 95
// family there is no token and nothing to enable.
void enableShutdownPrivilege()
{
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive()))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

std::u16string classNameOf(HWND window)
{
    wchar_t buffer[textBuffer] = {};
    const int length = GetClassNameW(window, buffer, textBuffer);
    return length > 0 ? fromWide(std::wstring(buffer, static_cast<size_t>(length))) : std::u16string();
}

std::u16string titleOf(HWND window)
{
    wchar_t buffer[textBuffer] = {};
    const int length = GetWindowTextW(window, buffer, textBuffer);
    return length > 0 ? fromWide(std::wstring(buffer, static_cast<size_t>(length))) : std::u16string();
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<TopWindow>*>(list)->push_back(
        {reinterpret_cast<uintptr_t>(window), classNameOf(window), titleOf(window)});
    return TRUE;
}

class WindowsRestartControl : public RestartControl {
public:
    void writeEntry(const RestartEntry& entry) override
    {
        UniqueKey key;
        if (RegCreateKeyExW(predefinedKey(entry.root), toWide(entry.key).c_str(), 0, nullptr, 0, restartEntryAccess,
                            nullptr, key.receive(), nullptr)
            != ERROR_SUCCESS)
            return;
        const std::wstring data = toWide(entry.command);
        RegSetValueExW(key.get(), toWide(entry.valueName).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }

    void requestRestart() override
    {
        enableShutdownPrivilege();
        ExitWindowsEx(EWX_REBOOT, 0);
    }

    // EnumWindows walks the same children of the desktop from the top, over a
    // list taken at once: a GetWindow walk can loop or stop short while other
    // programs open, close and reorder their windows.
    std::vector<TopWindow> topLevelWindows() override
    {
        std::vector<TopWindow> windows;
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
        return windows;
    }

    void postCancelAndClose(uintptr_t handle) override
    {
        const HWND window = reinterpret_cast<HWND>(handle);
        PostMessageW(window, WM_CANCELMODE, 0, 0);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
};

}  // namespace

std::unique_ptr<RestartControl> makeSystemRestartControl()
{
    return std::make_unique<WindowsRestartControl>();
}

}  // namespace pellion
