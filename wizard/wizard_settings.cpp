// The reading rules of Lexwiz's settings.

#include "wizard_settings.h"

#include "common/numbers.h"

namespace pellion {

int64_t numberSetting(const std::optional<StoredValue>& value, int64_t fallback)
{
    if (!value)
        return fallback;
    switch (value->kind) {
    case StoredValue::Kind::number:
        return value->number;
    case StoredValue::Kind::text:
        return parseInt64(value->text).value_or(fallback);
    case StoredValue::Kind::other:
        break;
    }
    return 0;
}

std::u16string textSetting(const std::optional<StoredValue>& value)
{
    if (value && value->kind == StoredValue::Kind::text)
        return value->text;
    return {};
}

TranslationOptions readTranslationOptions(SettingsStore& settings)
{
    TranslationOptions options;
    options.overwrite = numberSetting(settings.read(overwriteSetting), 0) != 0;
    options.useWellKnown = numberSetting(settings.read(wellKnownSetting), 1) != 0;
    return options;
}

void saveTranslationOptions(SettingsStore& settings, TranslationOptions options)
{
    settings.writeNumber(overwriteSetting, options.overwrite ? 1 : 0);
    settings.writeNumber(wellKnownSetting, options.useWellKnown ? 1 : 0);
}

}  // namespace pellion
