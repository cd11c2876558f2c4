// The Windows side of the setup language selection: the user's locale and the
// modal "Select Setup Language" window (Windows builds only).
#pragma once

#include "engine/startup/setup_language.h"

namespace pellion {

class WindowsSetupLanguageUi : public SetupLanguageUi {
public:
    std::u16string preferredLanguage() override;
    std::u16string messageLanguage() override;
    std::optional<Answer> choose(std::u16string_view caption, std::u16string_view text,
                                 const std::vector<std::u16string>& names, std::optional<size_t> preselected) override;
};

}  // namespace pellion
