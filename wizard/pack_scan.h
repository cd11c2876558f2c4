// Finding the language packs: the scan of the wizard's folder that validates
// each pack's configuration.dat and its file entries and builds the pack list.
#pragma once

#include <string>
#include <string_view>

#include "wizard/wizard_state.h"

namespace pellion {

// 0 when at least one pack was found, -1 when none, -2 when the folder cannot
// be examined, -99 on an unexpected failure. Each pack folder skipped for its
// header, format or extension gets a message.
int ScanLanguagePacks(WizardState& state, std::u16string_view folder);

}  // namespace pellion
