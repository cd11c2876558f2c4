// The engine's fixed texts: a table of 126 localizable messages with English
// defaults, and the reader of localization files that replaces them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace pellion {

// Numbers of the messages the engine refers to by name (1-based, as in the
// localization files). The rest are reached by number.
enum class Message : int {
    CommonControlsMissing = 1,
    ResourceNotFound = 2,
    ResourceDecompressionFailure = 3,
    DatabaseNotFound = 4,
    RuntimeErrorInInstall = 5,
    UndefinedVariableGet = 9,
    UndefinedVariableSet = 10,
    GeneralSetupFailure = 19,
    RuntimeErrorInScript = 20,
    WizardCaption = 23,
    Preparing = 24,
    Ok = 38,
    Cancel = 39,
    PendingOperations = 88,
    SelectLanguageCaption = 89,
    SelectLanguageText = 90,
    SetupCancelled = 116,
};

class EngineMessages {
public:
    static constexpr int count = 126;

    EngineMessages();

    const std::u16string& text(Message message) const { return text(static_cast<int>(message)); }
    const std::u16string& text(int number) const;

    // Reads a localization file's text (UTF-8, optional byte-order mark): the
    // first block, then language entries up to and including the one named
    // userLanguage (letter case ignored). A block cut short by the end of the
    // file changes only the lines it has; placeholders are never loaded.
    void load(std::string_view fileText, std::u16string_view userLanguage);

private:
    std::array<std::u16string, count> texts_;
};

// The caption of every engine message box: TITLE alone when QUAVLOGO is
// "TRUE", otherwise TITLE + " - Vantrel Wizard", or "Vantrel Wizard" alone
// without a title.
std::u16string messageBoxCaption(std::u16string_view title, bool quavLogo);

}  // namespace pellion
