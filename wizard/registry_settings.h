// Lexwiz's settings in the registry: the values under the current user's
// key "Software\Brennic\Vantrel\Lexwiz". Failures are silent, as the
// settings are a convenience: a value that cannot be read is missing, one
// that cannot be written is not saved.
#pragma once

#include "wizard/wizard_settings.h"

namespace pellion {

class RegistrySettings final : public SettingsStore {
public:
    std::optional<StoredValue> read(std::u16string_view name) override;
    void writeText(std::u16string_view name, std::u16string_view text) override;
    void writeNumber(std::u16string_view name, uint32_t number) override;
};

}  // namespace pellion
