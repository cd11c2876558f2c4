// Whole-file reads and writes.

#include "common/windows_files.h"

#include <windows.h>

#include "common/wide.h"

namespace pellion {

std::optional<std::string> readWholeFile(const std::u16string& path)
{
    HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size{};
    std::optional<std::string> content;
    if (GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF) {
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size()))
            content = std::move(bytes);
    }
    CloseHandle(file);
    return content;
}

bool writeWholeFile(const std::u16string& path, std::string_view bytes)
{
    HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

}  // namespace pellion
