// Choosing the setup language before the first statement: which languages the
// support folder offers, which one is preselected, when the selection window
// is shown and what a maintenance run takes instead. The window itself and the
// user's locale are behind SetupLanguageUi, so the decisions run anywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

class FileSystem;

// What the language selection asks of the user and of the machine. The
// default stands for a machine without a user interface: no known user
// language, and the window answers with its preselection.
class SetupLanguageUi {
public:
    virtual ~SetupLanguageUi() = default;
    // The name (language table) of the user's default UI language, for the
    // preselection; empty when it is not in the table.
    virtual std::u16string preferredLanguage() { return {}; }
    // The name of the user's language for the engine message files.
    virtual std::u16string messageLanguage() { return {}; }
    // Shows the "Select Setup Language" window modally with `preselected`
    // selected. Nothing when the user cancels; otherwise the entry selected
    // when the user confirmed (none when nothing was). The default confirms
    // the preselection.
    struct Answer {
        std::optional<size_t> chosen;
    };
    virtual std::optional<Answer> choose(std::u16string_view /*caption*/, std::u16string_view /*text*/,
                                         const std::vector<std::u16string>& /*names*/,
                                         std::optional<size_t> preselected)
    {
        return Answer{preselected};
    }
};

struct LanguageSelectionInputs {
    std::u16string supportDir;  // with trailing "\"
    // The product title: the translation project's key list is supportDir + title + ".mtx".
    std::u16string title;
    bool selectionFlag = false;    // the package offers the selection window
    std::u16string defaultLanguage;  // the package's default language
    bool maintenance = false;      // MAINTENANCE is true
    std::u16string msiFile;        // MSIFILE: the patch and ".lan" files are named after it
    // The product cache folder with trailing "\"; empty when there is none.
    std::u16string productCacheFolder;
    std::u16string userLanguage;   // SetupLanguageUi::preferredLanguage()
};

// What the selection decided before asking anybody.
struct LanguagePlan {
    // The setup language when no window is shown or nothing is chosen in it.
    std::u16string language;
    // The names the window lists; empty when no window is prepared.
    std::vector<std::u16string> offered;
    // The entry selected when the window opens; nothing when neither the
    // user's language nor the default language is offered.
    std::optional<size_t> preselected;
};

// The language names of the "translations." files in the support folder,
// sorted without regard to letter case; none without the translation project.
// The map, the original list and names holding "shared" are not languages.
std::vector<std::u16string> offeredLanguages(FileSystem& files, std::u16string_view supportDir,
                                             std::u16string_view title);

// The patch file beside MSIFILE and the ".lan" file named like it in the cache folder.
std::u16string patchFileOf(std::u16string_view msiFile);
std::u16string languageFileOf(std::u16string_view msiFile, std::u16string_view productCacheFolder);

LanguagePlan planSetupLanguage(FileSystem& files, const LanguageSelectionInputs& inputs);

// The whole selection: the plan, the window unless silent. Nothing when the
// user cancelled, otherwise the setup language (empty for none).
std::optional<std::u16string> selectSetupLanguage(FileSystem& files, const LanguageSelectionInputs& inputs,
                                                  bool silent, SetupLanguageUi& ui, std::u16string_view caption,
                                                  std::u16string_view text);

}  // namespace pellion
