// File-system answers for "Convert Path" and "Get Temporary File", and the
// switch of WOW64 file-system redirection.

#include "engine/commands/windows_services.h"

#include <windows.h>

#include <vector>

#include "common/wide.h"
#include "common/windows_system.h"

namespace pellion {

namespace {

// Calls `fill(buffer, size)` until the buffer is large enough; empty on failure.
template <typename Fill>
std::u16string grown(Fill fill)
{
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int round = 0; round < 4; ++round) {
        const DWORD needed = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0)
            return {};
        if (needed < buffer.size())
            return fromWide(std::wstring(buffer.data(), needed));
        buffer.resize(needed + 1);
    }
    return {};
}

}  // namespace

std::u16string WindowsPathSystem::expandEnvironment(std::u16string_view text)
{
    const std::wstring source = toWide(text);
    std::u16string out = grown([&](wchar_t* buffer, DWORD size) {
        const DWORD needed = ExpandEnvironmentStringsW(source.c_str(), buffer, size);
        // The count includes the terminating zero when it fits.
        return needed == 0 ? 0 : (needed <= size ? needed - 1 : needed);
    });
    return out;
}

std::u16string WindowsPathSystem::fullPath(std::u16string_view path)
{
    const std::wstring source = toWide(path);
    return grown([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(source.c_str(), size, buffer, nullptr); });
}

bool WindowsPathSystem::exists(std::u16string_view path)
{
    return GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::u16string> WindowsPathSystem::shortPath(std::u16string_view path)
{
    const std::wstring source = toWide(path);
    std::u16string out =
        grown([&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(source.c_str(), buffer, size); });
    if (out.empty())
        return std::nullopt;
    return out;
}

std::optional<std::u16string> WindowsPathSystem::foundName(std::u16string_view path)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(toWide(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FindClose(search);
    return fromWide(found.cFileName);
}

std::optional<std::u16string> WindowsPathSystem::createTemporaryFile(std::u16string_view folder)
{
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempFileNameW(toWide(folder).c_str(), L"oxa", 0, name) == 0)
        return std::nullopt;
    return fromWide(name);
}

bool WindowsRedirectionControl::windows64()
{
    return windows64Bit();
}

bool WindowsRedirectionControl::switchOff()
{
    using Disable = BOOL(WINAPI*)(PVOID*);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto disable =
        kernel ? reinterpret_cast<Disable>(reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")))
               : nullptr;
    return disable && disable(&previous_);
}

void WindowsRedirectionControl::switchBack()
{
    using Revert = BOOL(WINAPI*)(PVOID);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto revert =
        kernel ? reinterpret_cast<Revert>(reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")))
               : nullptr;
    if (revert)
        revert(previous_);
}

}  // namespace pellion
