// Windows answers for the instance data and maintenance detection.

#include "engine/startup/instance_windows.h"

#include <windows.h>
#include <shlobj.h>
#include <winioctl.h>

#include "common/wide.h"
#include "common/windows_handles.h"
#include "engine/commands/registry_access.h"

namespace pellion {

namespace {

constexpr uint32_t machineRoot = 0x80000002;  // HKEY_LOCAL_MACHINE
constexpr uint32_t userRoot = 0x80000001;     // HKEY_CURRENT_USER

using QueryProductState = INT(WINAPI*)(LPCWSTR);
using GetProductInfo = UINT(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, LPDWORD);

int csidlOf(ShellFolder which)
{
    switch (which) {
    case ShellFolder::commonAppData: return CSIDL_COMMON_APPDATA;
    case ShellFolder::localAppData: return CSIDL_LOCAL_APPDATA;
    case ShellFolder::roamingAppData: return CSIDL_APPDATA;
    case ShellFolder::desktop: return CSIDL_DESKTOPDIRECTORY;
    case ShellFolder::commonFiles: return CSIDL_PROGRAM_FILES_COMMON;
    case ShellFolder::programFiles: return CSIDL_PROGRAM_FILES;
    }
    return CSIDL_PROGRAM_FILES;
}

// A text value's bytes: UTF-16 up to the first NUL.
std::u16string textOf(const RegistryValue& value)
{
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        return {};
    std::u16string text(value.data.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
    if (const size_t end = text.find(u'\0'); end != std::u16string::npos)
        text.erase(end);
    return text;
}

}  // namespace

WindowsInstanceMachine::~WindowsInstanceMachine()
{
    if (installer_)
        FreeLibrary(static_cast<HMODULE>(installer_));
}

std::optional<std::u16string> WindowsInstanceMachine::registryText(bool localMachine, std::u16string_view key,
                                                                    std::u16string_view value)
{
    RegistryPlace place;
    place.root = localMachine ? machineRoot : userRoot;
    place.key = std::u16string(key);
    const RegistryValue read = registry_.read(place, value);
    switch (read.outcome) {
    case RegistryOutcome::found: return textOf(read);
    case RegistryOutcome::noValue:
    case RegistryOutcome::readError: return std::u16string();
    default: return std::nullopt;
    }
}

std::u16string WindowsInstanceMachine::shellFolder(ShellFolder which)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidlOf(which), nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return fromWide(path);
}

bool WindowsInstanceMachine::bindInstaller()
{
    if (!bindTried_) {
        bindTried_ = true;
        if (HMODULE module = LoadLibraryW(L"msi.dll")) {
            installer_ = module;
            queryProductState_ = reinterpret_cast<void*>(GetProcAddress(module, "MsiQueryProductStateW"));
            getProductInfo_ = reinterpret_cast<void*>(GetProcAddress(module, "MsiGetProductInfoW"));
        }
    }
    return installer_ != nullptr;
}

std::optional<int32_t> WindowsInstanceMachine::msiProductState(std::u16string_view productCode)
{
    if (!bindInstaller() || !queryProductState_)
        return std::nullopt;
    const auto query = reinterpret_cast<QueryProductState>(queryProductState_);
    return static_cast<int32_t>(query(toWide(productCode).c_str()));
}

std::optional<std::u16string> WindowsInstanceMachine::msiPackageCode(std::u16string_view productCode)
{
    if (!bindInstaller() || !getProductInfo_)
        return std::nullopt;
    const auto query = reinterpret_cast<GetProductInfo>(getProductInfo_);
    wchar_t buffer[260] = {};
    DWORD size = 260;
    if (query(toWide(productCode).c_str(), L"PackageCode", buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return fromWide(buffer);
}

bool WindowsInstanceMachine::createFolder(std::u16string_view path)
{
    return CreateDirectoryW(toWide(path).c_str(), nullptr) != 0;
}

bool WindowsInstanceMachine::removeEmptyFolder(std::u16string_view path)
{
    return RemoveDirectoryW(toWide(path).c_str()) != 0;
}

void WindowsInstanceMachine::removeTree(std::u16string_view path)
{
    std::wstring folder = toWide(path);
    if (!folder.empty() && folder.back() != L'\\')
        folder.push_back(L'\\');
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = folder + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(fromWide(full));
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

bool WindowsInstanceMachine::deleteFile(std::u16string_view path)
{
    return DeleteFileW(toWide(path).c_str()) != 0;
}

bool WindowsInstanceMachine::replaceFile(std::u16string_view from, std::u16string_view to)
{
    return MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void WindowsInstanceMachine::setHidden(std::u16string_view path)
{
    SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

void WindowsInstanceMachine::setCompression(std::u16string_view path, bool on)
{
    UniqueHandle folder(CreateFileW(toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid())
        return;
    USHORT format = on ? COMPRESSION_FORMAT_LZNT1 : COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    DeviceIoControl(folder.get(), FSCTL_SET_COMPRESSION, &format, sizeof(format), nullptr, 0, &returned, nullptr);
}

std::optional<std::u16string> WindowsInstanceMachine::shortPath(std::u16string_view path)
{
    const std::wstring wide = toWide(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    buffer.resize(length);
    return fromWide(buffer);
}

}  // namespace pellion
