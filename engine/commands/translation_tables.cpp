// Loading the language tables and looking a parameter up in them.

#include "engine/commands/translation_tables.h"

#include "common/letter_case.h"
#include "common/translation_project.h"

namespace pellion {

namespace {

std::vector<std::u16string> linesOf(FileSystem& files, const std::u16string& path)
{
    if (auto list = readProjectList(files, path))
        return list->texts();
    return {};
}

}  // namespace

TranslationTables TranslationTables::load(FileSystem& files, std::u16string_view supportDir,
                                          std::u16string_view title, std::u16string_view language)
{
    TranslationTables tables;
    tables.language = std::u16string(language);
    const std::u16string folder(supportDir);
    tables.keys = linesOf(files, folder + std::u16string(title) + std::u16string(keyListExtension));
    tables.translated = linesOf(files, folder + translatedListName(language));
    tables.original = linesOf(files, folder + u"translations.Original");
    tables.index();
    return tables;
}

void TranslationTables::index()
{
    firstRow.clear();
    for (size_t row = 0; row < keys.size(); ++row)
        firstRow.try_emplace(upperCase(keys[row]), row);
}

std::u16string localizedVariableKey(std::u16string_view name)
{
    return u"ZIVIDIRU$" + std::u16string(name) + u"$ZIVIDIRU";
}

const std::u16string* translationOf(const TranslationTables& tables, std::u16string_view mode, std::u16string_view key,
                                    int ordinal, std::u16string_view raw)
{
    if (tables.language.empty() || ordinal < 1)
        return nullptr;
    if (equalsNoCase(mode, u"VARSONLY")
        && (key.find(u"ZIVIDIRU$") == std::u16string_view::npos || key.find(u"$ZIVIDIRU") == std::u16string_view::npos))
        return nullptr;
    const auto found = tables.firstRow.find(upperCase(key));
    if (found == tables.firstRow.end())
        return nullptr;
    const size_t row = found->second + static_cast<size_t>(ordinal) - 1;
    // Rows beyond a shorter list keep the text as written.
    if (equalsNoCase(mode, u"NEWONLY") && (row >= tables.original.size() || tables.original[row] != raw))
        return nullptr;
    if (row >= tables.translated.size())
        return nullptr;
    return &tables.translated[row];
}

}  // namespace pellion
