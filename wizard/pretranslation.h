// Pre-translation: filling a translation project's translated list of one
// language from one language pack, row group by row group, and rewriting the
// list (after a backup) when everything was read.
#pragma once

#include <string>
#include <string_view>

#include "wizard/wizard_state.h"

namespace pellion {

// 0 when the translated list of the pack's language was rewritten, otherwise
// an error code (see ErrorText). keyListPath is the project's ".mtx" file.
// Nothing in the project folder changes before the final rewrite.
int TranslateProject(WizardState& state, int packId, std::u16string_view keyListPath, bool overwrite,
                     bool useWellKnown);

// The text translated line by line through the well-known pairs of the pack
// whose indexes are loaded; blanks before and after each line are kept.
std::u16string TranslateWellKnown(const WizardState& state, std::u16string_view text);

}  // namespace pellion
