// Lexwiz's page flow and settings rules without a window: a recording view
// and an in-memory settings store over the wizard testbed.

#include "wizard/wizard_flow.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/numbers.h"
#include "common/text.h"
#include "tests/wizard/wizard_testbed.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

class MemorySettings final : public SettingsStore {
public:
    std::map<std::u16string, StoredValue> values;

    std::optional<StoredValue> read(std::u16string_view name) override
    {
        const auto found = values.find(std::u16string(name));
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }
    void writeText(std::u16string_view name, std::u16string_view text) override
    {
        values[std::u16string(name)] = {StoredValue::Kind::text, std::u16string(text), 0};
    }
    void writeNumber(std::u16string_view name, uint32_t number) override
    {
        values[std::u16string(name)] = {StoredValue::Kind::number, {}, number};
    }
};

StoredValue textValue(std::u16string text)
{
    return {StoredValue::Kind::text, std::move(text), 0};
}

StoredValue numberValue(uint32_t number)
{
    return {StoredValue::Kind::number, {}, number};
}

StoredValue otherValue()
{
    return {StoredValue::Kind::other, {}, 0};
}

class RecordingView final : public WizardView {
public:
    int shownPage = 0;
    ButtonStates buttons;
    std::u16string treeSelection;
    std::vector<std::u16string> selectCalls;
    std::vector<PackListRow> packList;
    std::vector<int> checked;
    TranslationOptions checkBoxes{true, false};  // the opposite of the defaults
    std::u16string progressTitle;
    std::vector<std::u16string> progressRows;
    std::vector<RowStatus> statuses;
    std::vector<int> scrolls;
    int eventRuns = 0;
    // What the view showed when the flow let events run or showed a message.
    std::vector<std::vector<RowStatus>> statusesAtEvents;
    // Stands for the window events that arrive while the flow lets them run.
    std::function<void()> duringEvents;

    void showOnlyPage(int page) override { shownPage = page; }
    void setButtons(const ButtonStates& states) override { buttons = states; }
    std::u16string selectedFolder() override { return treeSelection; }
    void selectFolder(std::u16string_view folder) override
    {
        selectCalls.emplace_back(folder);
        treeSelection = folder;
    }
    void clearFolderSelection() override { treeSelection.clear(); }
    void fillPackList(const std::vector<PackListRow>& rows) override
    {
        packList = rows;
        checked.clear();
        for (const auto& row : rows)
            checked.push_back(row.packId);
    }
    std::vector<int> checkedPackIds() override { return checked; }
    TranslationOptions options() override { return checkBoxes; }
    void setOptions(TranslationOptions options) override { checkBoxes = options; }
    void setProgressTitle(std::u16string_view title) override { progressTitle = title; }
    void setProgressRows(const std::vector<std::u16string>& rows) override
    {
        progressRows = rows;
        statuses.assign(rows.size(), RowStatus::empty);
    }
    void setRowStatus(size_t row, RowStatus status) override { statuses.at(row) = status; }
    void scrollProgressTo(int y) override { scrolls.push_back(y); }
    void letEventsRun() override
    {
        ++eventRuns;
        statusesAtEvents.push_back(statuses);
        if (duringEvents)
            duringEvents();
    }
};

// Three untranslated dialog rows the German pack knows as a whole.
std::vector<Row> welcomeDialog()
{
    return {
        untranslated("Label1", "Welcome", "welcome.dfm"),
        untranslated("NextButton", "&Next >", "welcome.dfm"),
        untranslated("CancelButton", "Cancel", "welcome.dfm"),
    };
}

PackSource packOf(std::u16string name, std::u16string extension)
{
    PackSource pack = emptyPack(std::move(name), std::move(extension));
    pack.dialogs = {{u"welcome.dfm.Label1.Welcome\nwelcome.dfm.NextButton.&Next >\nwelcome.dfm.CancelButton.Cancel",
                     u"Willkommen\r\n&Weiter >\r\nAbbrechen"}};
    return pack;
}

struct Flow : ::testing::Test {
    Testbed bed;
    MemorySettings settings;
    RecordingView view;
    WizardFlow flow{bed.state, settings, view};

    // The German pack beside the program, the project, the wizard started.
    void startWithPacks(const std::vector<std::pair<std::u16string, PackSource>>& packs)
    {
        for (const auto& [folder, pack] : packs)
            bed.addPack(folder, pack);
        bed.addProject(welcomeDialog());
        ASSERT_TRUE(flow.start(programFolder));
    }
    void startWithGerman() { startWithPacks({{u"German", packOf(u"German", u"German")}}); }

    // From the welcome page to the options page with the project chosen.
    void goToOptions()
    {
        flow.next();
        view.treeSelection = std::u16string(projectFolder);
        flow.next();
        flow.next();
        ASSERT_EQ(flow.currentPage(), optionsPage);
    }

    const CollectedMessages::Message& onlyMessage() const
    {
        EXPECT_EQ(bed.messages.shown.size(), 1u);
        return bed.messages.shown.back();
    }
};

TEST(WizardSettings, StoredValuesReadByTheirTypeRules)
{
    struct Case {
        std::optional<StoredValue> value;
        int64_t fallback;
        int64_t number;
    };
    const Case cases[] = {
        {std::nullopt, 1, 1},
        {numberValue(0), 1, 0},
        {numberValue(7), 0, 7},
        {numberValue(0xFFFFFFFFu), 0, 0xFFFFFFFFll},
        {textValue(u"1"), 0, 1},
        {textValue(u"0"), 1, 0},
        {textValue(u"-3"), 0, -3},
        // A text that is no decimal number cannot be read as one: the default.
        {textValue(u"yes"), 1, 1},
        {textValue(u" 1"), 0, 0},
        {textValue(u""), 1, 1},
        // Any other type reads as 0, whatever the default.
        {otherValue(), 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberSetting(c.value, c.fallback), c.number)
            << (c.value ? toUtf8(c.value->text) + "/" + std::to_string(c.value->number) : "missing");

    EXPECT_EQ(textSetting(textValue(u"C:\\Project\\")), u"C:\\Project\\");
    EXPECT_EQ(textSetting(numberValue(1)), u"");
    EXPECT_EQ(textSetting(otherValue()), u"");
    EXPECT_EQ(textSetting(std::nullopt), u"");
}

TEST(WizardSettings, OptionsDefaultToKeepTranslationsAndUseWellKnownOnes)
{
    MemorySettings settings;
    EXPECT_EQ(readTranslationOptions(settings), (TranslationOptions{false, true}));

    settings.values[std::u16string(overwriteSetting)] = textValue(u"1");
    settings.values[std::u16string(wellKnownSetting)] = otherValue();
    EXPECT_EQ(readTranslationOptions(settings), (TranslationOptions{true, false}));

    settings.values[std::u16string(overwriteSetting)] = numberValue(2);
    settings.values[std::u16string(wellKnownSetting)] = textValue(u"nonsense");
    EXPECT_EQ(readTranslationOptions(settings), (TranslationOptions{true, true}));

    saveTranslationOptions(settings, {false, false});
    EXPECT_EQ(settings.values[std::u16string(overwriteSetting)].kind, StoredValue::Kind::number);
    EXPECT_EQ(readTranslationOptions(settings), (TranslationOptions{false, false}));
}

TEST(WizardTexts, PackRowsNameTheVersionOrMarkTestPacks)
{
    LanguagePack pack;
    pack.name = u"German";
    pack.format = 4;
    pack.major = 2;
    pack.minor = 0;
    pack.build = 11;
    EXPECT_EQ(packListText(pack), u"German (Version 2.0.11)");
    EXPECT_EQ(progressRowText(pack), u"German Language Pack");
    pack.format = 3;
    EXPECT_EQ(packListText(pack), u"German (Test)");
    EXPECT_EQ(progressRowText(pack), u"German Language Pack (Test)");
}

TEST(FlowStart, AScanWithoutPacksIsReportedAndEndsTheWizard)
{
    struct Case {
        bool folderExists;
        std::u16string reason;
    };
    const Case cases[] = {
        {true, u"No Language Packs found"},
        {false, u"Current working directory is invalid or unaccessible"},
    };
    for (const auto& c : cases) {
        Testbed bed;
        MemorySettings settings;
        RecordingView view;
        WizardFlow flow{bed.state, settings, view};
        if (c.folderExists)
            bed.files.addFolder(programFolder);
        EXPECT_FALSE(flow.start(programFolder));
        EXPECT_EQ(view.shownPage, welcomePage);
        ASSERT_EQ(bed.messages.shown.size(), 1u);
        EXPECT_EQ(bed.messages.shown[0].title, u"Error");
        EXPECT_EQ(bed.messages.shown[0].text,
                  u"During initialization this error occured: " + c.reason + u"\r\n\r\nThe wizard quits now.");
    }
}

TEST_F(Flow, StartFillsThePackListInPackOrderAllChecked)
{
    PackSource test = packOf(u"Probe", u"French");
    test.format = 3;
    PackSource german = packOf(u"German", u"German");
    german.major = 1;
    german.minor = 0;
    german.build = 3;
    startWithPacks({{u"A German", german}, {u"B Probe", test}});
    ASSERT_EQ(view.packList.size(), 2u);
    EXPECT_EQ(view.packList[0].packId, 1);
    EXPECT_EQ(view.packList[0].text, u"German (Version 1.0.3)");
    EXPECT_EQ(view.packList[1].packId, 2);
    EXPECT_EQ(view.packList[1].text, u"Probe (Test)");
    EXPECT_EQ(view.checked, (std::vector<int>{1, 2}));
    EXPECT_EQ(view.shownPage, welcomePage);
    EXPECT_FALSE(view.buttons.backEnabled);
    EXPECT_EQ(view.buttons.nextText, u"&Next >");
}

TEST_F(Flow, PagesOutsideOneToFiveChangeNothing)
{
    startWithGerman();
    flow.back();
    flow.showPage(0);
    flow.showPage(-4);
    EXPECT_EQ(flow.currentPage(), welcomePage);
    goToOptions();
    flow.next();
    ASSERT_EQ(flow.currentPage(), progressPage);
    const ButtonStates after = view.buttons;
    flow.next();  // Return on the last page
    flow.showPage(6);
    EXPECT_EQ(flow.currentPage(), progressPage);
    EXPECT_EQ(view.buttons, after);
    EXPECT_EQ(bed.messages.shown.size(), 0u);
}

TEST_F(Flow, LeavingTheProjectPageForwardNeedsAFolderWithAKeyList)
{
    startWithGerman();
    bed.files.addFolder(u"C:\\Empty\\");
    flow.next();
    ASSERT_EQ(flow.currentPage(), projectPage);

    struct Case {
        std::u16string selection;
        std::u16string shownFolder;
    };
    const Case refused[] = {
        {u"", u""},
        {u"C:\\Empty", u"C:\\Empty\\"},
        {u"C:\\Missing\\", u"C:\\Missing\\"},
    };
    for (const auto& c : refused) {
        bed.messages.shown.clear();
        view.treeSelection = c.selection;
        flow.next();
        EXPECT_EQ(flow.currentPage(), projectPage);
        EXPECT_EQ(onlyMessage().title, u"No Translation Project found");
        EXPECT_EQ(onlyMessage().text, u"The selected directory '" + c.shownFolder
                                          + u"' contains no translation project!\r\n\r\nPlease select the same "
                                            u"folder you have used by the Vantrel Localization Wizard.");
        EXPECT_FALSE(settings.read(translationProjectSetting));
    }

    // Back needs no project.
    bed.messages.shown.clear();
    flow.back();
    EXPECT_EQ(flow.currentPage(), welcomePage);
    EXPECT_TRUE(bed.messages.shown.empty());

    flow.next();
    view.treeSelection = u"C:\\Project";
    flow.next();
    EXPECT_EQ(flow.currentPage(), packsPage);
    EXPECT_EQ(flow.keyListPath(), keyListPath);
    EXPECT_EQ(textSetting(settings.read(translationProjectSetting)), u"C:\\Project\\");
}

TEST_F(Flow, ComingBackToTheProjectPageChecksTheFolderAgain)
{
    startWithGerman();
    flow.next();
    view.treeSelection = std::u16string(projectFolder);
    flow.next();
    ASSERT_EQ(flow.currentPage(), packsPage);

    bed.files.remove(keyListPath);
    flow.back();
    ASSERT_EQ(flow.currentPage(), projectPage);
    flow.next();
    EXPECT_EQ(flow.currentPage(), projectPage);
    EXPECT_EQ(onlyMessage().title, u"No Translation Project found");
}

TEST_F(Flow, TheProjectPageSelectsTheSavedFolderOnlyWhileItExists)
{
    startWithGerman();
    struct Case {
        std::optional<StoredValue> saved;
        std::u16string selection;  // what the tree selects afterwards
    };
    const Case cases[] = {
        {std::nullopt, u""},
        {textValue(u"C:\\Project"), u"C:\\Project\\"},
        {textValue(u"C:\\Project\\"), u"C:\\Project\\"},
        {textValue(u"C:\\Gone\\"), u""},
        {textValue(std::u16string(keyListPath)), u""},  // a file, not a folder
        {numberValue(1), u""},
    };
    for (const auto& c : cases) {
        settings.values.clear();
        if (c.saved)
            settings.values[std::u16string(translationProjectSetting)] = *c.saved;
        view.treeSelection = u"C:\\Earlier\\";
        flow.showPage(welcomePage);
        flow.next();
        EXPECT_EQ(view.treeSelection, c.selection) << toUtf8(c.saved ? c.saved->text : u"missing");
    }
}

TEST_F(Flow, LeavingThePacksPageEitherWayNeedsACheckedPack)
{
    startWithGerman();
    flow.next();
    view.treeSelection = std::u16string(projectFolder);
    flow.next();
    ASSERT_EQ(flow.currentPage(), packsPage);
    view.checked.clear();
    for (const int page : {projectPage, optionsPage}) {
        bed.messages.shown.clear();
        flow.showPage(page);
        EXPECT_EQ(flow.currentPage(), packsPage);
        EXPECT_EQ(onlyMessage().title, u"Attention");
        EXPECT_EQ(onlyMessage().text, u"Please select at least one Language Pack.");
    }
    view.checked = {1};
    bed.messages.shown.clear();
    flow.back();
    EXPECT_EQ(flow.currentPage(), projectPage);
    EXPECT_TRUE(bed.messages.shown.empty());
}

TEST_F(Flow, TheOptionsPageReadsItsCheckBoxesAndSavesThemEitherWay)
{
    startWithGerman();
    goToOptions();
    EXPECT_EQ(view.checkBoxes, (TranslationOptions{false, true}));
    EXPECT_EQ(view.buttons.nextText, u"Translate");
    EXPECT_TRUE(view.buttons.nextEnabled);

    view.checkBoxes = {true, false};
    flow.back();
    EXPECT_EQ(flow.currentPage(), packsPage);
    EXPECT_EQ(view.buttons.nextText, u"&Next >");
    EXPECT_EQ(numberSetting(settings.read(overwriteSetting), -1), 1);
    EXPECT_EQ(numberSetting(settings.read(wellKnownSetting), -1), 0);

    view.checkBoxes = {};
    flow.next();
    EXPECT_EQ(view.checkBoxes, (TranslationOptions{true, false}));
}

TEST_F(Flow, TranslatingRunsEveryCheckedPackAndEndsComplete)
{
    startWithGerman();
    goToOptions();
    view.checkBoxes = {false, false};
    flow.next();
    EXPECT_EQ(flow.currentPage(), progressPage);
    EXPECT_EQ(view.progressTitle, u"Translation complete");
    EXPECT_EQ(view.progressRows, (std::vector<std::u16string>{u"German Language Pack"}));
    EXPECT_EQ(view.statuses, (std::vector<RowStatus>{RowStatus::done}));
    EXPECT_EQ(view.buttons, (ButtonStates{u"Translate", false, true, true}));
    EXPECT_EQ(bed.translatedLines(), (std::vector<std::string>{"Willkommen", "&Weiter >", "Abbrechen"}));
    // The options saved when leaving the options page are the ones used.
    EXPECT_EQ(readTranslationOptions(settings), (TranslationOptions{false, false}));

    // Back returns to the options page, from where Translate runs again.
    flow.back();
    EXPECT_EQ(flow.currentPage(), optionsPage);
    EXPECT_EQ(view.buttons, (ButtonStates{u"Translate", true, true, true}));
}

TEST_F(Flow, AFailedPackStopsTheRunAndLeavesTheRestUntouched)
{
    startWithPacks({{u"A", packOf(u"German", u"German")},
                    {u"B", packOf(u"French", u"French")},
                    {u"C", packOf(u"Italian", u"Italian")}});
    bed.files.setFile(u"C:\\Project\\translations.Italian", "\xEF\xBB\xBFWelcome\r\n&Next >\r\nCancel\r\n");
    goToOptions();
    flow.next();

    EXPECT_EQ(view.statuses, (std::vector<RowStatus>{RowStatus::done, RowStatus::failed, RowStatus::empty}));
    EXPECT_EQ(view.progressTitle, u"Translation aborted");
    EXPECT_EQ(view.buttons, (ButtonStates{u"Translate", false, true, true}));
    EXPECT_EQ(onlyMessage().title, u"Error");
    EXPECT_EQ(onlyMessage().text, u"During translation this error occured: File 'translations.French' not found"
                                  u"\r\n\r\nTranslation process aborted");
    // The third pack never ran: its list is as it was.
    EXPECT_EQ(bed.files.file(u"C:\\Project\\translations.Italian"),
              std::string("\xEF\xBB\xBFWelcome\r\n&Next >\r\nCancel\r\n"));
    EXPECT_FALSE(bed.files.file(u"C:\\Project\\backup of translations.Italian"));
    // The failed image was drawn before the message box came up.
    EXPECT_EQ(view.statusesAtEvents.back(),
              (std::vector<RowStatus>{RowStatus::done, RowStatus::failed, RowStatus::empty}));
}

TEST_F(Flow, OnlyCheckedPacksRunInPackOrderWhateverOrderTheListGives)
{
    startWithPacks({{u"A", packOf(u"German", u"German")},
                    {u"B", packOf(u"French", u"French")},
                    {u"C", packOf(u"Nochmals", u"German")}});
    goToOptions();
    view.checked = {3, 1};
    flow.next();
    EXPECT_EQ(view.progressRows,
              (std::vector<std::u16string>{u"German Language Pack", u"Nochmals Language Pack"}));
    EXPECT_EQ(view.statuses, (std::vector<RowStatus>{RowStatus::done, RowStatus::done}));
    EXPECT_EQ(view.progressTitle, u"Translation complete");
}

TEST_F(Flow, MoreThanElevenRowsScrollSoTheCurrentRowStaysVisible)
{
    std::vector<std::pair<std::u16string, PackSource>> packs;
    for (int i = 0; i < 13; ++i) {
        const std::u16string folder = u"Pack" + std::u16string(i < 10 ? u"0" : u"") + formatInt(i);
        packs.push_back({folder, packOf(folder, u"German")});
    }
    startWithPacks(packs);
    goToOptions();
    flow.next();
    EXPECT_EQ(view.progressRows.size(), 13u);
    EXPECT_EQ(view.statuses, std::vector<RowStatus>(13, RowStatus::done));
    // Scrolled to the top first; rows 11 (y 220) and 12 (y 240) scroll.
    EXPECT_EQ(view.scrolls, (std::vector<int>{0, 20, 40}));
}

TEST_F(Flow, ClicksArrivingDuringAPageChangeChangeNothing)
{
    startWithGerman();
    // While the project page selects the saved folder, and while the packs
    // translate, the window events carry clicks on Back and Next.
    settings.writeText(translationProjectSetting, std::u16string(projectFolder));
    std::vector<int> pagesSeen;
    view.duringEvents = [&] {
        flow.back();
        flow.next();
        flow.showPage(welcomePage);
        pagesSeen.push_back(flow.currentPage());
    };
    flow.next();
    EXPECT_EQ(flow.currentPage(), projectPage);
    EXPECT_EQ(pagesSeen, (std::vector<int>{projectPage}));
    EXPECT_EQ(view.treeSelection, u"C:\\Project\\");

    pagesSeen.clear();
    flow.next();
    flow.next();
    flow.next();
    ASSERT_EQ(flow.currentPage(), progressPage);
    EXPECT_FALSE(pagesSeen.empty());
    for (const int page : pagesSeen)
        EXPECT_EQ(page, progressPage);
    EXPECT_EQ(view.progressTitle, u"Translation complete");
    EXPECT_TRUE(bed.messages.shown.empty());
}

}  // namespace
