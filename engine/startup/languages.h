// Setup language names and Windows language numbers, both directions. Used by
// the message localization, the language selection and "Apply Changes".
#pragma once

#include <string>
#include <string_view>

namespace pellion {

// An unknown name maps to 1033 (English); names compare without letter case.
int languageNumberOf(std::u16string_view name);

// An unknown number maps to the empty name.
std::u16string languageNameOf(int number);

}  // namespace pellion
