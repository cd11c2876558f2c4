// Windows version and bitness queries.

#include "common/windows_system.h"

#include "common/wide.h"

namespace pellion {

WindowsVersion windowsVersion()
{
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (rtlGetVersion && rtlGetVersion(&info) == 0)
            return {info.dwMajorVersion, info.dwMinorVersion};
    }
    return {};
}

bool windows64Bit()
{
    if (sizeof(void*) == 8)
        return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::u16string ownProgramPath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return fromWide(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace pellion
