// The language name/number table.

#include "engine/startup/languages.h"

#include "common/letter_case.h"

namespace pellion {

namespace {

struct Language {
    const char16_t* name;
    int number;
};

// The first entry with a number is its name; the two misspelt Portuguese names
// are accepted on input only.
constexpr Language languages[] = {
    {u"Arabic", 1025}, {u"Catalan", 1027}, {u"Chinese (Taiwan)", 1028}, {u"Chinese (PRC)", 2052},
    {u"Czech", 1029}, {u"Danish", 1030}, {u"German", 1031}, {u"Greek", 1032},
    {u"English", 1033}, {u"Spanish", 3082}, {u"Estonian", 1061}, {u"Finnish", 1035},
    {u"French", 1036}, {u"Hebrew", 1037}, {u"Hungarian", 1038}, {u"Italian", 1040},
    {u"Japanese", 1041}, {u"Korean", 1042}, {u"Lithuanian", 1063}, {u"Latvian", 1062},
    {u"Dutch", 1043}, {u"Norwegian", 1044}, {u"Polish", 1045}, {u"Basque", 1069},
    {u"Portuguese (Brazil)", 1046}, {u"Portuguese (Portugal)", 2070}, {u"Romanian", 1048}, {u"Russian", 1049},
    {u"Croatian", 1050}, {u"Slovak", 1051}, {u"Swedish", 1053}, {u"Thai", 1054},
    {u"Turkish", 1055}, {u"Slovenian", 1060}, {u"Vietnamese", 1066},
    {u"PORTUGESE (BRAZIL)", 1046}, {u"PORTUGESE (PORTUGAL)", 2070},
};

}  // namespace

int languageNumberOf(std::u16string_view name)
{
    for (const auto& language : languages)
        if (equalsNoCase(name, language.name))
            return language.number;
    return 1033;
}

std::u16string languageNameOf(int number)
{
    for (const auto& language : languages)
        if (language.number == number)
            return language.name;
    return {};
}

}  // namespace pellion
