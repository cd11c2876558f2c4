// The language table of the packs. The spelling "portugese" is the one packs
// declare and must stay.

#include "language_table.h"

#include "common/letter_case.h"

namespace pellion {

namespace {

constexpr LanguageEntry languages[] = {
    {u"arabic", 1},
    {u"basque", 45},
    {u"catalan", 3},
    {u"chinese (prc)", 4},
    {u"chinese (taiwan)", 1028},
    {u"croatian", 26},
    {u"czech", 5},
    {u"danish", 6},
    {u"dutch", 19},
    {u"english", 9},
    {u"estonian", 37},
    {u"finnish", 11},
    {u"french", 12},
    {u"german", 7},
    {u"greek", 8},
    {u"hebrew", 13},
    {u"hungarian", 14},
    {u"italian", 16},
    {u"japanese", 17},
    {u"korean", 18},
    {u"latvian", 38},
    {u"lithuanian", 39},
    {u"norwegian", 20},
    {u"polish", 21},
    {u"portugese (brazil)", 1046},
    {u"portugese (portugal)", 2070},
    {u"romanian", 24},
    {u"russian", 25},
    {u"slovak", 27},
    {u"slovenian", 36},
    {u"spanish", 10},
    {u"swedish", 29},
    {u"thai", 30},
    {u"turkish", 31},
    {u"vietnamese", 42},
};

std::u16string_view withoutBlanks(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::span<const LanguageEntry> languageTable()
{
    return languages;
}

int LanguageCodeOf(std::u16string_view name)
{
    const std::u16string wanted = lowerCase(withoutBlanks(name));
    for (const auto& language : languages)
        if (language.name == wanted)
            return language.code;
    return 0;
}

}  // namespace pellion
