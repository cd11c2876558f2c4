// Lexwiz's remembered settings: the names of the three values under the
// current user's key, their defaults, and how a stored value of any type is
// read. Where the values live (the registry) belongs to the store behind
// SettingsStore, so these rules are the same for the window and the tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellion {

inline constexpr std::u16string_view settingsKeyPath = u"Software\\Brennic\\Vantrel\\Lexwiz";
inline constexpr std::u16string_view translationProjectSetting = u"Translation Project";
inline constexpr std::u16string_view overwriteSetting = u"Overwrite Translations";
inline constexpr std::u16string_view wellKnownSetting = u"Use Well Known Translations";

// A value as the store found it.
struct StoredValue {
    enum class Kind { text, number, other };
    Kind kind = Kind::other;
    std::u16string text;  // kind text
    uint32_t number = 0;  // kind number
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the value is missing or cannot be read.
    virtual std::optional<StoredValue> read(std::u16string_view name) = 0;
    // Failures are silent: the value is then simply not saved.
    virtual void writeText(std::u16string_view name, std::u16string_view text) = 0;
    virtual void writeNumber(std::u16string_view name, uint32_t number) = 0;
};

// A number setting: a stored number as it is; a text holding a decimal
// number as that number; a value of another type as 0; a missing value, or
// a text that is no number (it cannot be read as one), as the fallback.
int64_t numberSetting(const std::optional<StoredValue>& value, int64_t fallback);

// A text setting: a stored text as it is; anything else as the empty text.
std::u16string textSetting(const std::optional<StoredValue>& value);

// The two translation options of the options page.
struct TranslationOptions {
    bool overwrite = false;
    bool useWellKnown = true;
    bool operator==(const TranslationOptions&) const = default;
};

// Missing values take the defaults (overwrite 0, well-known 1); any number
// other than 0 counts as checked.
TranslationOptions readTranslationOptions(SettingsStore& settings);
void saveTranslationOptions(SettingsStore& settings, TranslationOptions options);

}  // namespace pellion
