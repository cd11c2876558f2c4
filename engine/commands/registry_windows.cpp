// The Windows answer to the registry seam: keys reached through the
// predefined roots or RegConnectRegistry, every opening with the view flag.

#include <windows.h>

#include "common/wide.h"
#include "common/windows_handles.h"
#include "engine/commands/registry_access.h"

namespace pellion {

namespace {

constexpr REGSAM readRights = 0x20019;    // KEY_READ
constexpr REGSAM deleteRights = 0x2001F;  // KEY_READ, KEY_SET_VALUE, KEY_CREATE_SUB_KEY

using Key = UniqueKey;

// The root on the place's computer; nothing when the connection fails.
std::optional<Key> connect(const RegistryPlace& place)
{
    if (place.computer.empty())
        return Key(predefinedKey(place.root), false);
    HKEY remote = nullptr;
    if (RegConnectRegistryW(toWide(place.computer).c_str(), predefinedKey(place.root), &remote) != ERROR_SUCCESS)
        return std::nullopt;
    return Key(remote, true);
}

std::optional<Key> open(const Key& base, const RegistryPlace& place, REGSAM rights)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(base.get(), toWide(place.key).c_str(), 0, rights | place.view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    return Key(key, true);
}

class WindowsRegistry : public RegistryAccess {
public:
    RegistryValue read(const RegistryPlace& place, std::u16string_view value) override
    {
        const auto base = connect(place);
        if (!base)
            return {RegistryOutcome::noComputer, 0, {}};
        const auto key = open(*base, place, readRights);
        if (!key)
            return {RegistryOutcome::noKey, 0, {}};
        const auto name = toWide(value);
        RegistryValue result{RegistryOutcome::found, 0, {}};
        // The value may grow between the size query and the read; ask again then.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            LONG status = RegQueryValueExW(key->get(), name.c_str(), nullptr, &type, nullptr, &size);
            if (status == ERROR_FILE_NOT_FOUND)
                return {RegistryOutcome::noValue, 0, {}};
            if (status != ERROR_SUCCESS)
                return {RegistryOutcome::readError, 0, {}};
            result.data.assign(size, 0);
            status = RegQueryValueExW(key->get(), name.c_str(), nullptr, &type, result.data.data(), &size);
            if (status == ERROR_MORE_DATA)
                continue;
            if (status != ERROR_SUCCESS)
                return {RegistryOutcome::readError, 0, {}};
            result.type = type;
            result.data.resize(size);
            return result;
        }
        return {RegistryOutcome::readError, 0, {}};
    }

    std::optional<std::vector<std::u16string>> names(const RegistryPlace& place, bool subkeys) override
    {
        const auto base = connect(place);
        if (!base)
            return std::nullopt;
        const auto key = open(*base, place, readRights);
        if (!key)
            return std::nullopt;
        std::vector<std::u16string> found;
        std::wstring buffer(16384, L'\0');  // the longest key or value name, and its end
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(buffer.size());
            const LONG status
                = subkeys ? RegEnumKeyExW(key->get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                          : RegEnumValueW(key->get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (status != ERROR_SUCCESS)
                break;
            found.push_back(fromWide(std::wstring_view(buffer.data(), length)));
        }
        return found;
    }

    void deleteKey(const RegistryPlace& place) override
    {
        const auto base = connect(place);
        if (!base)
            return;
        if (const auto key = open(*base, place, deleteRights | DELETE))
            RegDeleteTreeW(key->get(), nullptr);
        RegDeleteKeyExW(base->get(), toWide(place.key).c_str(), place.view, 0);
    }

    void deleteValue(const RegistryPlace& place, std::u16string_view value) override
    {
        const auto base = connect(place);
        if (!base)
            return;
        if (const auto key = open(*base, place, deleteRights))
            RegDeleteValueW(key->get(), toWide(value).c_str());
    }
};

}  // namespace

std::unique_ptr<RegistryAccess> makeSystemRegistry()
{
    return std::make_unique<WindowsRegistry>();
}

}  // namespace pellion
