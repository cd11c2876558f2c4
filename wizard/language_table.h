// The languages a pack may declare: language extension and Windows language
// identifier.
#pragma once

#include <span>
#include <string_view>

namespace pellion {

struct LanguageEntry {
    std::u16string_view name;  // lower case
    int code;
};

std::span<const LanguageEntry> languageTable();

// The code of a language name, compared in lower case after blanks at both
// ends are removed; 0 when the name is not in the table.
int LanguageCodeOf(std::u16string_view name);

}  // namespace pellion
