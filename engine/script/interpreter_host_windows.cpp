// The statement loop's requests to Windows: the message pump, the error box,
// ExitProcess, the single-instance marker, the restart entries and the
// removable-media test.

#include <windows.h>

#include "common/wide.h"
#include "engine/script/windows_script_host.h"

namespace pellion {

void WindowsInterpreterHost::pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WindowsInterpreterHost::showRuntimeError(const std::u16string& text, const std::u16string& caption)
{
    MessageBoxW(nullptr, toWide(text).c_str(), toWide(caption).c_str(), MB_OK | MB_ICONERROR);
}

void WindowsInterpreterHost::endProcessNow(int32_t exitCode)
{
    ExitProcess(static_cast<UINT>(exitCode));
}

bool WindowsInterpreterHost::fileExists(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WindowsInterpreterHost::createEmptyFile(const std::u16string& path)
{
    HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

void WindowsInterpreterHost::deleteFile(const std::u16string& path)
{
    DeleteFileW(toWide(path).c_str());
}

void WindowsInterpreterHost::deleteRestartEntries(const std::u16string& valueName)
{
    const std::wstring name = toWide(valueName);
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        for (const wchar_t* path : {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\",
                                    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\"}) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(hive, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueW(key, name.c_str());
                RegCloseKey(key);
            }
        }
}

bool WindowsInterpreterHost::setupMediaRemoved(const std::u16string& exeDir)
{
    if (exeDir.size() < 2)
        return false;
    const std::wstring root = toWide(exeDir.substr(0, 2)) + L"\\";
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED)
        return false;
    const DWORD attributes = GetFileAttributesW(toWide(exeDir).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES;
}

}  // namespace pellion
