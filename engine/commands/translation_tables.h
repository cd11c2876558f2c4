// The three parallel tables of the setup language in effect (keys, translated
// texts, original texts) and the rule that replaces a parameter's raw text by
// its translation. Reading the files goes through the project reader.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellion {

class FileSystem;

struct TranslationTables {
    std::u16string language;  // empty: no language loaded
    std::vector<std::u16string> keys;
    std::vector<std::u16string> translated;
    std::vector<std::u16string> original;
    // Upper-cased key -> its first row.
    std::unordered_map<std::u16string, size_t> firstRow;

    // supportDir ends with "\". A missing file leaves its table empty.
    static TranslationTables load(FileSystem& files, std::u16string_view supportDir, std::u16string_view title,
                                  std::u16string_view language);
    void index();
};

// The localized-variable key of a name: "ZIVIDIRU$" + name + "$ZIVIDIRU".
std::u16string localizedVariableKey(std::u16string_view name);

// The translated-parameter rule. `mode` is LOCMODE after compiler
// substitution (the caller passes "NEWONLY" when there is none);
// `substituted` receives the chosen row for its compiler references.
template <typename Substitute>
std::u16string translateParameter(const TranslationTables& tables, std::u16string_view mode, std::u16string_view key,
                                  int ordinal, std::u16string_view raw, Substitute substituted);

// The rule without the compiler substitution: the row of the translated list
// that replaces `raw`, or nothing.
const std::u16string* translationOf(const TranslationTables& tables, std::u16string_view mode, std::u16string_view key,
                                    int ordinal, std::u16string_view raw);

template <typename Substitute>
std::u16string translateParameter(const TranslationTables& tables, std::u16string_view mode, std::u16string_view key,
                                  int ordinal, std::u16string_view raw, Substitute substituted)
{
    if (const std::u16string* row = translationOf(tables, mode, key, ordinal, raw))
        return substituted(*row);
    return std::u16string(raw);
}

}  // namespace pellion
