// Lexwiz's page flow: which page shows, what leaving a page checks and saves,
// what entering a page loads, and the translation runs of the progress page.
// The flow decides and the window draws: everything on screen goes through
// WizardView, so the whole flow runs in tests without a window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/wizard_settings.h"
#include "wizard/wizard_state.h"

namespace pellion {

inline constexpr int welcomePage = 1;
inline constexpr int projectPage = 2;
inline constexpr int packsPage = 3;
inline constexpr int optionsPage = 4;
inline constexpr int progressPage = 5;

// The progress page's rows: 20 pixels apart; a row at 201 or below scrolls
// the area so that it starts 200 above the row.
inline constexpr int progressRowSpacing = 20;
inline constexpr int progressScrollFrom = 201;
inline constexpr int progressScrollLead = 200;

enum class RowStatus { empty, inProgress, done, failed };

struct ButtonStates {
    std::u16string nextText;
    bool nextEnabled = true;
    bool backEnabled = false;
    bool quitEnabled = true;
    bool operator==(const ButtonStates&) const = default;
};

// One row of the pack list: the pack's id and its text.
struct PackListRow {
    int packId = 0;
    std::u16string text;
};

// What the flow needs from the window.
class WizardView {
public:
    virtual ~WizardView() = default;

    virtual void showOnlyPage(int page) = 0;
    virtual void setButtons(const ButtonStates& buttons) = 0;

    // The project page's folder tree. The selected folder is empty when the
    // tree selects nothing. selectFolder leaves the tree alone when it shows
    // that folder already; clearFolderSelection selects nothing.
    virtual std::u16string selectedFolder() = 0;
    virtual void selectFolder(std::u16string_view folder) = 0;
    virtual void clearFolderSelection() = 0;

    // The pack list: rows in pack order, all checked; the ids of the checked
    // rows, whether or not they are also highlighted.
    virtual void fillPackList(const std::vector<PackListRow>& rows) = 0;
    virtual std::vector<int> checkedPackIds() = 0;

    // The options page's two check boxes.
    virtual TranslationOptions options() = 0;
    virtual void setOptions(TranslationOptions options) = 0;

    // The progress page. setProgressRows replaces the rows (row k at
    // progressRowSpacing * k) and makes the area's inner height fit them.
    virtual void setProgressTitle(std::u16string_view title) = 0;
    virtual void setProgressRows(const std::vector<std::u16string>& rows) = 0;
    virtual void setRowStatus(size_t row, RowStatus status) = 0;
    virtual void scrollProgressTo(int y) = 0;

    // Handles the pending window events that keep the window drawn and drops
    // the user's input among them.
    virtual void letEventsRun() = 0;
};

// The pack list's text of a pack, and its row text on the progress page.
std::u16string packListText(const LanguagePack& pack);
std::u16string progressRowText(const LanguagePack& pack);

class WizardFlow {
public:
    WizardFlow(WizardState& state, SettingsStore& settings, WizardView& view);

    // Shows the welcome page, scans the packs of the program's folder and
    // fills the pack list. False when the scan found no usable pack: the
    // error has been shown and the wizard ends.
    bool start(std::u16string_view programFolder);

    // Validates and saves the page being left, then shows the page. Nothing
    // changes when validation fails, when the page does not exist, or while
    // another page change (the progress page's translation above all) runs.
    void showPage(int page);
    void next() { showPage(currentPage_ + 1); }
    void back() { showPage(currentPage_ - 1); }

    int currentPage() const { return currentPage_; }
    bool translating() const { return translating_; }
    // True while a page change (with its translation) runs.
    bool changingPage() const { return changingPage_; }
    const std::u16string& keyListPath() const { return keyListPath_; }

private:
    bool leaveProjectPage();
    bool leavePacksPage();
    void enterProjectPage();
    void translateWithChosenPacks();
    std::vector<const LanguagePack*> chosenPacks();
    void showButtons();

    WizardState& state_;
    SettingsStore& settings_;
    WizardView& view_;
    int currentPage_ = 0;
    bool translating_ = false;
    bool changingPage_ = false;
    std::u16string keyListPath_;
    ButtonStates buttons_;
};

}  // namespace pellion
