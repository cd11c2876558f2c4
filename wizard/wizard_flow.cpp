// The page flow of Lexwiz and the translation runs of its progress page.

#include "wizard_flow.h"

#include <algorithm>

#include "common/numbers.h"
#include "wizard/error_text.h"
#include "wizard/pack_scan.h"
#include "wizard/pretranslation.h"

namespace pellion {

namespace {

constexpr std::u16string_view nextText = u"&Next >";
constexpr std::u16string_view translateText = u"Translate";
constexpr std::u16string_view paragraphBreak = u"\r\n\r\n";

// Format 3 packs keep their texts plain: packs made for testing.
constexpr int testPackFormat = 3;

}  // namespace

std::u16string packListText(const LanguagePack& pack)
{
    if (pack.format == testPackFormat)
        return pack.name + u" (Test)";
    return pack.name + u" (Version " + formatInt(pack.major) + u"." + formatInt(pack.minor) + u"."
           + formatInt(pack.build) + u")";
}

std::u16string progressRowText(const LanguagePack& pack)
{
    std::u16string text = pack.name + u" Language Pack";
    if (pack.format == testPackFormat)
        text += u" (Test)";
    return text;
}

WizardFlow::WizardFlow(WizardState& state, SettingsStore& settings, WizardView& view)
    : state_(state), settings_(settings), view_(view)
{
    buttons_.nextText = nextText;
}

bool WizardFlow::start(std::u16string_view programFolder)
{
    showPage(welcomePage);
    // The scan's messages about skipped packs appear over the welcome page.
    const int result = ScanLanguagePacks(state_, programFolder);
    if (result != 0) {
        state_.messages.show(u"Error", u"During initialization this error occured: " + ErrorText(result)
                                           + std::u16string(paragraphBreak) + u"The wizard quits now.");
        return false;
    }
    std::vector<PackListRow> rows;
    for (const auto& pack : state_.packs)
        rows.push_back({pack.id, packListText(pack)});
    view_.fillPackList(rows);
    return true;
}

void WizardFlow::showPage(int page)
{
    // The window events that a page change lets run may carry another page
    // change (a posted click); it waits for none and changes nothing.
    if (page < welcomePage || page > progressPage || changingPage_)
        return;
    changingPage_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{changingPage_};
    const int leaving = currentPage_;
    if (leaving == projectPage && page > leaving && !leaveProjectPage())
        return;
    if (leaving == packsPage && page != leaving && !leavePacksPage())
        return;
    if (leaving == optionsPage)
        saveTranslationOptions(settings_, view_.options());

    currentPage_ = page;
    view_.showOnlyPage(page);
    buttons_.backEnabled = page != welcomePage;
    switch (page) {
    case projectPage:
        showButtons();
        enterProjectPage();
        break;
    case packsPage:
        buttons_.nextText = nextText;
        showButtons();
        break;
    case optionsPage:
        view_.setOptions(readTranslationOptions(settings_));
        buttons_.nextText = translateText;
        buttons_.nextEnabled = true;
        showButtons();
        break;
    case progressPage:
        translateWithChosenPacks();
        break;
    default:
        showButtons();
        break;
    }
}

bool WizardFlow::leaveProjectPage()
{
    std::u16string folder = view_.selectedFolder();
    if (!folder.empty())
        folder = withTrailingBackslash(folder);
    const auto keyList = folder.empty() ? std::nullopt : findKeyList(state_.files, folder);
    if (!keyList) {
        state_.messages.show(u"No Translation Project found",
                             u"The selected directory '" + folder + u"' contains no translation project!"
                                 + std::u16string(paragraphBreak)
                                 + u"Please select the same folder you have used by the Vantrel Localization Wizard.");
        return false;
    }
    keyListPath_ = *keyList;
    settings_.writeText(translationProjectSetting, folder);
    return true;
}

bool WizardFlow::leavePacksPage()
{
    if (!view_.checkedPackIds().empty())
        return true;
    state_.messages.show(u"Attention", u"Please select at least one Language Pack.");
    return false;
}

void WizardFlow::enterProjectPage()
{
    const std::u16string saved = textSetting(settings_.read(translationProjectSetting));
    if (saved.empty() || state_.files.entryInfo(saved).kind != EntryKind::folder) {
        view_.clearFolderSelection();
        return;
    }
    // The tree fills itself as the page shows; select once that has happened.
    view_.letEventsRun();
    view_.selectFolder(withTrailingBackslash(saved));
}

std::vector<const LanguagePack*> WizardFlow::chosenPacks()
{
    std::vector<int> ids = view_.checkedPackIds();
    std::sort(ids.begin(), ids.end());
    std::vector<const LanguagePack*> packs;
    for (const int id : ids)
        if (const LanguagePack* pack = state_.findPack(id))
            packs.push_back(pack);
    return packs;
}

void WizardFlow::translateWithChosenPacks()
{
    translating_ = true;
    buttons_.nextEnabled = false;
    buttons_.backEnabled = false;
    buttons_.quitEnabled = false;
    showButtons();
    view_.setProgressTitle(u"Translating...");

    const auto packs = chosenPacks();
    std::vector<std::u16string> rows;
    for (const LanguagePack* pack : packs)
        rows.push_back(progressRowText(*pack));
    view_.setProgressRows(rows);
    view_.scrollProgressTo(0);
    view_.letEventsRun();

    const TranslationOptions options = view_.options();
    bool failed = false;
    for (size_t row = 0; row < packs.size() && !failed; ++row) {
        view_.setRowStatus(row, RowStatus::inProgress);
        const int y = progressRowSpacing * static_cast<int>(row);
        if (y >= progressScrollFrom)
            view_.scrollProgressTo(y - progressScrollLead);
        view_.letEventsRun();
        const int code = TranslateProject(state_, packs[row]->id, keyListPath_, options.overwrite, options.useWellKnown);
        if (code != 0) {
            failed = true;
            view_.setRowStatus(row, RowStatus::failed);
            view_.letEventsRun();
            state_.messages.show(u"Error", u"During translation this error occured: "
                                               + ErrorText(code, packs[row]->extension)
                                               + std::u16string(paragraphBreak) + u"Translation process aborted");
        } else {
            view_.setRowStatus(row, RowStatus::done);
            view_.letEventsRun();
        }
    }

    view_.setProgressTitle(failed ? u"Translation aborted" : u"Translation complete");
    buttons_.backEnabled = true;
    buttons_.quitEnabled = true;
    showButtons();
    translating_ = false;
}

void WizardFlow::showButtons()
{
    view_.setButtons(buttons_);
}

}  // namespace pellion
