// System facts read from Windows: token membership and elevation, the
// registered owner in the 64-bit registry view, desktop composition, the
// user locale's date and time, shell folders.

#include <windows.h>
#include <shlobj.h>

#include "common/wide.h"
#include "common/windows_system.h"
#include "common/windows_system.h"
#include "engine/script/windows_script_host.h"

namespace pellion {

namespace {

std::u16string currentVersionValue(const wchar_t* name)
{
    HKEY key = nullptr;
    const REGSAM access = KEY_QUERY_VALUE | (windows64Bit() ? KEY_WOW64_64KEY : 0);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\", 0, access, &key)
        != ERROR_SUCCESS)
        return {};
    std::u16string value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS
        && (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS)
            value = fromWide(buffer.c_str());
    }
    RegCloseKey(key);
    return value;
}

std::u16string shellFolder(int folder)
{
    wchar_t buffer[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
        return {};
    return fromWide(buffer);
}

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name)
{
    HMODULE module = LoadLibraryW(library);  // kept loaded: asked again per run at most
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

bool WindowsSystemFacts::administratorDefault()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators, &member))
        member = FALSE;
    FreeSid(administrators);
    if (!member)
        return false;
    if (windowsVersion().major < 6)
        return true;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)
                       && elevation.TokenIsElevated != 0;
    CloseHandle(token);
    return elevated;
}

std::u16string WindowsSystemFacts::registeredOwner()
{
    return currentVersionValue(L"RegisteredOwner");
}

std::u16string WindowsSystemFacts::registeredOrganization()
{
    return currentVersionValue(L"RegisteredOrganization");
}

bool WindowsSystemFacts::glass()
{
    using CompositionFunction = HRESULT(WINAPI*)(BOOL*);
    using ThemeFunction = BOOL(WINAPI*)();
    if (auto compositionEnabled = systemFunction<CompositionFunction>(L"dwmapi.dll", "DwmIsCompositionEnabled")) {
        BOOL enabled = FALSE;
        if (SUCCEEDED(compositionEnabled(&enabled)) && enabled)
            return true;
    }
    if (windowsVersion().major < 6)
        return false;
    auto themeActive = systemFunction<ThemeFunction>(L"uxtheme.dll", "IsThemeActive");
    return themeActive && themeActive();
}

std::u16string WindowsSystemFacts::dateText()
{
    wchar_t buffer[128] = {};
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 128);
    return length > 0 ? fromWide(buffer) : std::u16string();
}

std::u16string WindowsSystemFacts::timeText()
{
    wchar_t buffer[128] = {};
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 128);
    return length > 0 ? fromWide(buffer) : std::u16string();
}

uint32_t WindowsSystemFacts::tickCount()
{
    return GetTickCount();
}

std::u16string WindowsSystemFacts::engineFile()
{
    return ownProgramPath();
}

std::u16string WindowsSystemFacts::programFilesFolder()
{
    return shellFolder(CSIDL_PROGRAM_FILES);
}

std::u16string WindowsSystemFacts::documentsFolder()
{
    return shellFolder(CSIDL_PERSONAL);
}

}  // namespace pellion
