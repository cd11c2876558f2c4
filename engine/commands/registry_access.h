// The registry as the registry commands see it: the seam that reaches one
// value or one key's names (the Windows answer lives in registry_windows.cpp;
// host builds have no registry), and the portable decisions around it: hive
// codes, the computer behind "|", the view flag of the bitness mode and the
// text a stored value reads as.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// Where a command reaches: a root key, on a computer ("\\NAME", empty for this
// one), a key path below it and the view flag added to every opening.
struct RegistryPlace {
    uint32_t root = 0;
    std::u16string computer;
    std::u16string key;
    uint32_t view = 0;
};

enum class RegistryOutcome { found, noComputer, noKey, noValue, readError };

// A value as stored: its type code and its bytes.
struct RegistryValue {
    RegistryOutcome outcome = RegistryOutcome::readError;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;
    // One value of the key, opened for reading without creating it.
    virtual RegistryValue read(const RegistryPlace& place, std::u16string_view value) = 0;
    // The names of the key's subkeys or values in the order the registry
    // gives them; nothing when the computer or the key cannot be reached.
    virtual std::optional<std::vector<std::u16string>> names(const RegistryPlace& place, bool subkeys) = 0;
    // The key with all its subkeys and values; failures pass silently.
    virtual void deleteKey(const RegistryPlace& place) = 0;
    virtual void deleteValue(const RegistryPlace& place, std::u16string_view value) = 0;
};

// The registry of the machine the engine runs on.
std::unique_ptr<RegistryAccess> makeSystemRegistry();

// The predefined root key of a hive code 0 to 4; nothing for any other code.
std::optional<uint32_t> registryRoot(int64_t code);

// KEY_WOW64_64KEY outside "Win32" mode on 64-bit Windows, KEY_WOW64_32KEY in
// it, no flag on 32-bit Windows.
uint32_t registryViewFlag(bool windows64, std::u16string_view bitnessMode);

// A target parameter split at its first "|": the name (or hive code) and the
// computer, empty without a "|".
struct RegistryTarget {
    std::u16string name;
    std::u16string computer;
};
RegistryTarget splitRegistryTarget(std::u16string_view parameter);

// An expanded computer name as the connection wants it: "\\" in front unless
// it is empty or already starts so.
std::u16string networkComputer(std::u16string_view computer);

// The text "Check Registry" stores for a read: the value's text by its type,
// or one of the result words.
std::u16string registryResultText(const RegistryValue& value);

// "Read Registry" turns the result words into the empty value.
std::u16string withoutResultWord(std::u16string text);

}  // namespace pellion
