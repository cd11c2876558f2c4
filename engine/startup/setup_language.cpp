// The setup language's decisions: offered files, preselection, maintenance.

#include "engine/startup/setup_language.h"

#include <algorithm>

#include "common/letter_case.h"
#include "common/translation_project.h"

namespace pellion {

namespace {

constexpr std::u16string_view translationsPrefix = u"translations.";

bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool containsNoCase(std::u16string_view text, std::u16string_view part)
{
    return upperCase(text).find(upperCase(part)) != std::u16string::npos;
}

std::optional<size_t> indexOf(const std::vector<std::u16string>& names, std::u16string_view wanted)
{
    if (wanted.empty())
        return std::nullopt;
    for (size_t i = 0; i < names.size(); ++i)
        if (equalsNoCase(names[i], wanted))
            return i;
    return std::nullopt;
}

// MSIFILE with its extension replaced; the folder part is kept.
std::u16string withExtension(std::u16string_view path, std::u16string_view extension)
{
    const size_t nameStart = folderOfPath(path).size();
    const size_t dot = path.rfind(u'.');
    const size_t end = dot == std::u16string_view::npos || dot < nameStart ? path.size() : dot;
    return std::u16string(path.substr(0, end)) + std::u16string(extension);
}

}  // namespace

std::vector<std::u16string> offeredLanguages(FileSystem& files, std::u16string_view supportDir,
                                             std::u16string_view title)
{
    std::vector<std::u16string> names;
    const std::u16string folder(supportDir);
    if (!fileExists(files, folder + std::u16string(title) + std::u16string(keyListExtension)))
        return names;
    const auto entries = files.listFolder(folder);
    if (!entries)
        return names;
    for (const FolderEntry& entry : *entries) {
        if (entry.isFolder || !startsWithNoCase(entry.name, translationsPrefix))
            continue;
        const std::u16string_view name = std::u16string_view(entry.name).substr(translationsPrefix.size());
        if (name.empty() || equalsNoCase(entry.name, mapListName) || equalsNoCase(entry.name, originalListName)
            || containsNoCase(entry.name, u"shared"))
            continue;
        names.emplace_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::u16string& a, const std::u16string& b) { return compareNoCase(a, b) < 0; });
    return names;
}

std::u16string patchFileOf(std::u16string_view msiFile)
{
    return withExtension(msiFile, u".msp");
}

std::u16string languageFileOf(std::u16string_view msiFile, std::u16string_view productCacheFolder)
{
    const std::u16string name = withExtension(msiFile.substr(folderOfPath(msiFile).size()), u".lan");
    return withTrailingBackslash(productCacheFolder) + name;
}

LanguagePlan planSetupLanguage(FileSystem& files, const LanguageSelectionInputs& inputs)
{
    LanguagePlan plan;
    plan.language = inputs.defaultLanguage;
    const bool patch = !inputs.msiFile.empty() && fileExists(files, patchFileOf(inputs.msiFile));
    if (inputs.maintenance || patch) {
        // A maintenance run speaks the language the product was installed in.
        if (!inputs.productCacheFolder.empty() && !inputs.msiFile.empty())
            if (const auto remembered = readProjectList(files, languageFileOf(inputs.msiFile, inputs.productCacheFolder)))
                plan.language = remembered->size() > 0 ? remembered->text(0) : std::u16string();
        return plan;
    }
    if (!inputs.selectionFlag)
        return plan;
    plan.offered = offeredLanguages(files, inputs.supportDir, inputs.title);
    plan.preselected = indexOf(plan.offered, inputs.userLanguage);
    if (!plan.preselected)
        plan.preselected = indexOf(plan.offered, inputs.defaultLanguage);
    if (plan.preselected)
        plan.language = plan.offered[*plan.preselected];
    return plan;
}

std::optional<std::u16string> selectSetupLanguage(FileSystem& files, const LanguageSelectionInputs& inputs,
                                                  bool silent, SetupLanguageUi& ui, std::u16string_view caption,
                                                  std::u16string_view text)
{
    LanguagePlan plan = planSetupLanguage(files, inputs);
    if (plan.offered.empty() || silent)
        return plan.language;
    const auto answer = ui.choose(caption, text, plan.offered, plan.preselected);
    if (!answer)
        return std::nullopt;
    if (answer->chosen && *answer->chosen < plan.offered.size())
        return plan.offered[*answer->chosen];
    return plan.language;
}

}  // namespace pellion
