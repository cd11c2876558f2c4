// Reading and writing the settings values with the registry functions. The
// key is created when a value is written and it is missing.

#include "registry_settings.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/wide.h"
#include "common/windows_handles.h"

namespace pellion {

namespace {

const std::wstring& keyPath()
{
    static const std::wstring path = toWide(settingsKeyPath);
    return path;
}

void writeValue(std::u16string_view name, DWORD type, const void* data, DWORD size)
{
    UniqueKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExW(key.get(), toWide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace

std::optional<StoredValue> RegistrySettings::read(std::u16string_view name)
{
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath().c_str(), 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring valueName = toWide(name);
    // The value may change between asking for its size and reading it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::vector<BYTE> data(size + sizeof(wchar_t));
        DWORD got = size;
        const LSTATUS status = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &got);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        StoredValue value;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            std::u16string text(got / sizeof(char16_t), u'\0');
            std::copy_n(data.data(), text.size() * sizeof(char16_t), reinterpret_cast<BYTE*>(text.data()));
            // Stored texts usually end with their terminator, and may hold more.
            const size_t end = text.find(u'\0');
            if (end != std::u16string::npos)
                text.resize(end);
            value.kind = StoredValue::Kind::text;
            value.text = std::move(text);
        } else if (type == REG_DWORD && got == sizeof(DWORD)) {
            DWORD number = 0;
            std::copy_n(data.data(), sizeof number, reinterpret_cast<BYTE*>(&number));
            value.kind = StoredValue::Kind::number;
            value.number = number;
        }
        return value;
    }
    return std::nullopt;
}

void RegistrySettings::writeText(std::u16string_view name, std::u16string_view text)
{
    const std::wstring data = toWide(text);
    writeValue(name, REG_SZ, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void RegistrySettings::writeNumber(std::u16string_view name, uint32_t number)
{
    const DWORD data = number;
    writeValue(name, REG_DWORD, &data, sizeof data);
}

}  // namespace pellion
