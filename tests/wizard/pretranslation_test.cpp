#include "wizard/pretranslation.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/text.h"

#include "tests/wizard/wizard_testbed.h"
#include "wizard/error_text.h"
#include "wizard/pack_indexes.h"
#include "wizard/pack_scan.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

using Lines = std::vector<std::string>;

// A dialog of two controls and a statement of two parameters, and a pack
// that knows both groups and two well-known lines.
const std::string statementId = "{6F1A2B3C-0000-4000-8000-00000000AB01}";

std::vector<Row> welcomeAndStatement()
{
    return {
        untranslated("Label1", "Welcome", "welcome.dfm"),
        untranslated("Label2", "Cancel", "welcome.dfm"),
        untranslated(statementId, "Setup", "MessageBox 1"),
        untranslated(statementId, "Really cancel?", "MessageBox 2"),
    };
}

PackEntrySource welcomeEntry(std::u16string translation = u"Willkommen\r\nAbbrechen")
{
    return {u"welcome.dfm.Label1.Welcome\nwelcome.dfm.Label2.Cancel", std::move(translation)};
}

PackEntrySource statementEntry(std::u16string translation = u"Installation\r\nWirklich abbrechen?")
{
    return {text(statementId) + u"\nMessageBox 1\nSetup\nMessageBox 2\nReally cancel?", std::move(translation)};
}

PackSource germanPack()
{
    PackSource pack = emptyPack(u"German");
    pack.dialogs = {welcomeEntry()};
    pack.scripts = {statementEntry()};
    pack.wellKnown = {{u"Cancel", u"Abbrechen"}, {u"Setup", u"Einrichtung"}};
    return pack;
}

struct Translated : ::testing::Test {
    Testbed bed;

    void prepare(const std::vector<Row>& rows, const PackSource& pack = germanPack())
    {
        bed.addPack(u"German", pack);
        bed.addProject(rows);
        ASSERT_EQ(bed.scan(), 0);
    }
};

TEST_F(Translated, GroupsTakeThePackTextOnlyWhileUntranslatedUnlessOverwriting)
{
    struct Case {
        const char* label2Translation;  // the dialog's second row; the first stays "Welcome"
        bool overwrite;
        Lines dialogRows;
    };
    const Case cases[] = {
        {"Cancel", false, {"Willkommen", "Abbrechen"}},
        {"Cancel", true, {"Willkommen", "Abbrechen"}},
        // One row that differs from its original makes the whole group translated.
        {"Abbruch", false, {"Welcome", "Abbruch"}},
        {"Abbruch", true, {"Willkommen", "Abbrechen"}},
    };
    for (const auto& c : cases) {
        Testbed fresh;
        auto rows = welcomeAndStatement();
        rows[1].translated = c.label2Translation;
        fresh.addPack(u"German", germanPack());
        fresh.addProject(rows);
        ASSERT_EQ(fresh.scan(), 0);
        ASSERT_EQ(fresh.translate(1, c.overwrite), 0);
        Lines expected = c.dialogRows;
        expected.insert(expected.end(), {"Installation", "Wirklich abbrechen?"});
        EXPECT_EQ(fresh.translatedLines(), expected) << c.label2Translation << " overwrite " << c.overwrite;
    }
}

TEST_F(Translated, OverwriteWithoutPackEntryFallsBackToOriginalOrWellKnown)
{
    const std::vector<Row> rows = {
        {"Label1", "Cancel", "other.dfm", "Abbruch"},
        {"Label2", "Unknown", "other.dfm", "Unbekannt"},
    };
    prepare(rows);
    ASSERT_EQ(bed.translate(1, true, false), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Cancel", "Unknown"}));

    bed.addProject(rows);
    ASSERT_EQ(bed.translate(1, true, true), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Abbrechen", "Unknown"}));
}

TEST_F(Translated, WellKnownLinesKeepTheirBlanks)
{
    prepare({
        untranslated("L1", "  Cancel", "other.dfm"),
        untranslated("L2", "Cancel  ", "other.dfm"),
        untranslated("L3", " Setup ", "other.dfm"),
        untranslated("L4", "cancel", "other.dfm"),
        untranslated("L5", "Unknown", "other.dfm"),
        untranslated("L6", "   ", "other.dfm"),
        untranslated("L7", "", "other.dfm"),
    });
    ASSERT_EQ(bed.translate(1, false, true), 0);
    EXPECT_EQ(bed.translatedLines(),
              (Lines{"  Abbrechen", "Abbrechen  ", " Einrichtung ", "cancel", "Unknown", "   ", ""}));
}

TEST_F(Translated, TranslateWellKnownWorksLineByLine)
{
    prepare({});
    ASSERT_EQ(LoadPackIndexes(bed.state, 1), 0);
    struct Case {
        std::u16string text;
        std::u16string translated;
    };
    const Case cases[] = {
        {u"  Cancel", u"  Abbrechen"},
        {u"Cancel\r\nUnknown\nSetup", u"Abbrechen\r\nUnknown\r\nEinrichtung"},
        {u"\nCancel\n", u"\r\nAbbrechen\r\n"},
        {u"Can\rcel", u"Abbrechen"},  // CR is removed before the lines are split
        {u"", u""},
        {u" ", u" "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslateWellKnown(bed.state, c.text), c.translated);
}

TEST_F(Translated, DialogMapInUpperCaseIsADialogRow)
{
    PackSource pack = germanPack();
    pack.dialogs = {{u"WELCOME.DFM.Label1.Welcome\nWELCOME.DFM.Label2.Cancel", u"Willkommen\r\nAbbrechen"}};
    prepare({untranslated("Label1", "Welcome", "WELCOME.DFM"), untranslated("Label2", "Cancel", "WELCOME.DFM")}, pack);
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Willkommen", "Abbrechen"}));
}

TEST_F(Translated, LookupTextsKeepLinesAsReadButTrimIds)
{
    struct Case {
        std::vector<Row> rows;
        std::u16string lookupText;
    };
    const Case cases[] = {
        {{untranslated(" Label1 ", "Welcome ", "welcome.dfm")}, u"welcome.dfm. Label1 .Welcome "},
        {{untranslated(" {X} ", "A", " M1 "), untranslated("{X}", "B", "M2")}, u"{X}\n M1 \nA\nM2\nB"},
        {{untranslated("Label1", "A", "welcome.dfm"), untranslated("Label2", "B", " welcome.dfm")},
         u"welcome.dfm.Label1.A\n welcome.dfm.Label2.B"},
    };
    for (const auto& c : cases) {
        Testbed fresh;
        PackSource pack = emptyPack(u"German");
        std::u16string translation;
        for (size_t i = 0; i < c.rows.size(); ++i)
            translation += (i ? u"\r\n" : u"") + std::u16string(u"T") + char16_t(u'1' + i);
        pack.dialogs = {{c.lookupText, translation}};
        pack.scripts = {{c.lookupText, translation}};
        fresh.addPack(u"German", pack);
        fresh.addProject(c.rows);
        ASSERT_EQ(fresh.scan(), 0);
        ASSERT_EQ(fresh.translate(1), 0);
        EXPECT_EQ(fresh.translatedLines().front(), "T1") << toUtf8(c.lookupText);
    }
}

TEST_F(Translated, VariableRowBetweenStatementsIsAGroupOfItsOwn)
{
    PackSource pack = emptyPack(u"German");
    pack.scripts = {
        {u"{S1}\nMessageBox 1\nSetup", u"Einrichtung"},
        {u"{S2}\nSet Progress Text 1\nCopying", u"Kopieren"},
        // An entry for the empty lookup text must not reach the variable row.
        {u"", u"falsch"},
    };
    pack.wellKnown = {{u"Value", u"Wert"}};
    prepare({
                untranslated("{S1}", "Setup", "MessageBox 1"),
                untranslated("ZIVIDIRU$V$ZIVIDIRU", "Value", "Localization Variable"),
                untranslated("{S2}", "Copying", "Set Progress Text 1"),
            },
            pack);
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Einrichtung", "Value", "Kopieren"}));
    bed.addProject({
        untranslated("{S1}", "Setup", "MessageBox 1"),
        untranslated("ZIVIDIRU$V$ZIVIDIRU", "Value", "Localization Variable"),
        untranslated("{S2}", "Copying", "Set Progress Text 1"),
    });
    ASSERT_EQ(bed.translate(1, false, true), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Einrichtung", "Wert", "Kopieren"}));
}

TEST_F(Translated, LeadingRowsBeforeTheFirstDialogKeepTheRowCount)
{
    prepare({
        untranslated("ZIVIDIRU$A$ZIVIDIRU", "Cancel", "Localization Variable"),
        untranslated("ZIVIDIRU$B$ZIVIDIRU", "Other", "Localization Variable"),
        untranslated("Label1", "Welcome", "welcome.dfm"),
        untranslated("Label2", "Cancel", "welcome.dfm"),
    });
    ASSERT_EQ(bed.translate(1, false, true), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Abbrechen", "Other", "Willkommen", "Abbrechen"}));
    bed.addProject({untranslated("ZIVIDIRU$A$ZIVIDIRU", "Cancel", "Localization Variable")});
    ASSERT_EQ(bed.translate(1, false, false), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Cancel"}));
}

TEST_F(Translated, PackTextMustHaveOneLinePerRow)
{
    struct Case {
        std::u16string packText;
        Lines dialogRows;
    };
    const Case cases[] = {
        {u"Willkommen\nAbbrechen", {"Willkommen", "Abbrechen"}},
        {u"Willkommen\rAbbrechen", {"Willkommen", "Abbrechen"}},
        {u"Willkommen\r\n", {"Willkommen", ""}},
        {u"Willkommen", {"Welcome", "Abbrechen"}},
        {u"Willkommen\r\nAbbrechen\r\n", {"Welcome", "Abbrechen"}},
        {u"A\r\nB\r\nC", {"Welcome", "Abbrechen"}},
    };
    for (const auto& c : cases) {
        Testbed fresh;
        PackSource pack = germanPack();
        pack.dialogs = {welcomeEntry(c.packText)};
        fresh.addPack(u"German", pack);
        fresh.addProject(welcomeAndStatement());
        ASSERT_EQ(fresh.scan(), 0);
        ASSERT_EQ(fresh.translate(1, false, true), 0);
        Lines expected = c.dialogRows;
        expected.insert(expected.end(), {"Installation", "Wirklich abbrechen?"});
        EXPECT_EQ(fresh.translatedLines(), expected) << toUtf8(c.packText);
    }
}

TEST_F(Translated, ListsOfUnequalLengthKeepTheTranslatedListsFurtherLines)
{
    prepare(welcomeAndStatement());
    const std::u16string folder(projectFolder);
    // The translated list holds two lines more than the other lists.
    bed.files.setFile(folder + u"translations.German",
                      "Welcome\r\nCancel\r\nSetup\r\nReally cancel?\r\nextra one\r\nextra two\r\n");
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.translatedLines(),
              (Lines{"Willkommen", "Abbrechen", "Installation", "Wirklich abbrechen?", "extra one", "extra two"}));

    // The translated list is the shortest: the statement's first row ends it.
    bed.files.setFile(folder + u"translations.German", "Welcome\r\nCancel\r\nSetup");
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Willkommen", "Abbrechen", "Setup"}));
}

TEST_F(Translated, RewrittenListHasByteOrderMarkAndCrLfWhateverItWasRead)
{
    prepare({});
    const std::u16string folder(projectFolder);
    bed.files.setFile(keyListPath, "Label1\nLabel2\r" + statementId + "\r\n" + statementId);
    bed.files.setFile(folder + u"translations.original", "Welcome\rCancel\nSetup\nReally cancel?\n");
    bed.files.setFile(folder + u"translations.map", "welcome.dfm\nwelcome.dfm\nMessageBox 1\nMessageBox 2");
    bed.files.setFile(folder + u"translations.German", "Welcome\nCancel\nSetup\nschon \xC3\xBC" "bersetzt");
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.files.file(folder + u"translations.German"),
              "\xEF\xBB\xBFWillkommen\r\nAbbrechen\r\nSetup\r\nschon \xC3\xBC" "bersetzt\r\n");
    EXPECT_EQ(bed.files.file(folder + u"backup of translations.German"),
              "Welcome\nCancel\nSetup\nschon \xC3\xBC" "bersetzt");
}

TEST_F(Translated, UntouchedGroupsKeepTheirBytes)
{
    prepare({{"Label1", "Welcome", "welcome.dfm", "Willkommen \xFF kaputt"}});
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Willkommen \xFF kaputt"}));
}

TEST_F(Translated, FormatThreePacksArePlain)
{
    PackSource pack = germanPack();
    pack.format = 3;
    prepare(welcomeAndStatement(), pack);
    EXPECT_TRUE(bed.state.packs[0].dataKey.empty());
    ASSERT_EQ(bed.translate(1), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Willkommen", "Abbrechen", "Installation", "Wirklich abbrechen?"}));
}

TEST(TwoPacks, SecondPackOfTheSameLanguageFillsOnlyWhatTheFirstLeft)
{
    Testbed bed;
    PackSource first = emptyPack(u"German A");
    first.dialogs = {welcomeEntry()};
    PackSource second = emptyPack(u"German B");
    second.dialogs = {welcomeEntry(u"Hallo\r\nAbbruch")};
    second.scripts = {statementEntry()};
    bed.addPack(u"GermanA", first);
    bed.addPack(u"GermanB", second);
    bed.addProject(welcomeAndStatement());
    ASSERT_EQ(bed.scan(), 0);
    ASSERT_EQ(bed.state.packs.size(), 2u);
    ASSERT_EQ(bed.state.packs[0].name, u"German A");

    ASSERT_EQ(bed.translate(1), 0);
    const auto afterFirst = bed.files.file(u"C:\\Project\\translations.German");
    ASSERT_EQ(bed.translate(2), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Willkommen", "Abbrechen", "Installation", "Wirklich abbrechen?"}));
    EXPECT_EQ(bed.files.file(u"C:\\Project\\backup of translations.German"), afterFirst);
}

// The configuration of the German pack with the dialog data's fingerprint in
// lower case, so the scan rejects that entry.
void addPackWithRejectedDialogData(Testbed& bed)
{
    const PackSource source = germanPack();
    auto files = buildPackFiles(source, bed.codePage);
    auto fields = configurationFieldsOf(source, files);
    for (auto& c : fields.entries[2].fingerprint)
        c = (c >= u'A' && c <= u'F') ? char16_t(c - u'A' + u'a') : c;
    files[0].bytes = configurationBytes(fields);
    bed.files.addFolder(bed.packFolder(u"German"));
    ASSERT_TRUE(writePackFiles(bed.files, bed.packFolder(u"German"), files));
}

TEST(RejectedDialogEntry, DialogGroupsFallBackWithoutAFileError)
{
    Testbed bed;
    addPackWithRejectedDialogData(bed);
    bed.addProject(welcomeAndStatement());
    ASSERT_EQ(bed.scan(), 0);
    EXPECT_TRUE(bed.messages.shown.empty());
    ASSERT_EQ(bed.state.packs.size(), 1u);
    EXPECT_TRUE(bed.state.packs[0].dialogDataPath.empty());
    EXPECT_TRUE(bed.state.packs[0].dialogDataFingerprint.empty());
    EXPECT_FALSE(bed.state.packs[0].dialogIndexPath.empty());
    // Not even a changed dialogs.dat matters now.
    bed.files.setFile(bed.packFolder(u"German") + u"dialogs.dat", "changed");

    ASSERT_EQ(bed.translate(1, false, true), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Welcome", "Abbrechen", "Installation", "Wirklich abbrechen?"}));
    bed.addProject(welcomeAndStatement());
    ASSERT_EQ(bed.translate(1, false, false), 0);
    EXPECT_EQ(bed.translatedLines(), (Lines{"Welcome", "Cancel", "Installation", "Wirklich abbrechen?"}));
}

TEST(FailedRuns, ModifiedDialogDataEndsTheRunBeforeAnyProjectFileIsOpened)
{
    Testbed bed;
    bed.addPack(u"German", germanPack());
    bed.addProject(welcomeAndStatement());
    ASSERT_EQ(bed.scan(), 0);
    bed.files.setFile(bed.packFolder(u"German") + u"dialogs.dat", "modified");
    bed.files.opened.clear();
    bed.files.changed.clear();

    EXPECT_EQ(bed.translate(1), -110);
    for (const auto& path : bed.files.opened)
        EXPECT_FALSE(path.starts_with(u"C:\\Project")) << toUtf8(path);
    EXPECT_TRUE(bed.files.changed.empty());
}

TEST(FailedRuns, NothingRunsBeforeTheScan)
{
    Testbed bed;
    bed.addPack(u"German", germanPack());
    bed.addProject(welcomeAndStatement());
    EXPECT_EQ(bed.translate(1), -100);
}

TEST(FailedRuns, EachFailureHasItsCodeAndLeavesTheProjectAsItWas)
{
    const std::u16string project(projectFolder);
    struct Case {
        const char* what;
        std::function<void(Testbed&)> spoil;
        int code;
        int packId = 1;
    };
    const Case cases[] = {
        {"unknown pack id", [](Testbed&) {}, -200, 7},
        {"index file gone", [](Testbed& b) { b.files.remove(b.packFolder(u"German") + u"dialogs.idx"); }, -201},
        {"well-known file gone", [](Testbed& b) { b.files.remove(b.packFolder(u"German") + u"translations.dat"); }, -201},
        {"key list missing", [](Testbed& b) { b.files.remove(keyListPath); }, -101},
        {"key list is a folder",
         [](Testbed& b) {
             b.files.remove(keyListPath);
             b.files.addFolder(keyListPath);
         },
         -101},
        {"original list missing", [&](Testbed& b) { b.files.remove(project + u"translations.original"); }, -102},
        {"map list missing", [&](Testbed& b) { b.files.remove(project + u"translations.map"); }, -103},
        {"translated list missing", [&](Testbed& b) { b.files.remove(project + u"translations.German"); }, -105},
        {"dialog data gone", [](Testbed& b) { b.files.remove(b.packFolder(u"German") + u"dialogs.dat"); }, -108},
        {"dialog data changed", [](Testbed& b) { b.files.setFile(b.packFolder(u"German") + u"dialogs.dat", "x"); }, -110},
        {"script data gone", [](Testbed& b) { b.files.remove(b.packFolder(u"German") + u"scripts.dat"); }, -109},
        {"script data changed", [](Testbed& b) { b.files.setFile(b.packFolder(u"German") + u"scripts.dat", "x"); }, -111},
        {"key list unreadable", [](Testbed& b) { b.files.unreadable.insert(std::u16string(keyListPath)); }, -101},
        {"original list unreadable", [&](Testbed& b) { b.files.unreadable.insert(project + u"translations.original"); }, -102},
        {"map list unreadable", [&](Testbed& b) { b.files.unreadable.insert(project + u"translations.map"); }, -103},
        {"translated list unreadable", [&](Testbed& b) { b.files.unreadable.insert(project + u"translations.german"); }, -105},
        {"backup fails", [](Testbed& b) { b.files.failCopy = true; }, -106},
        {"creation fails", [](Testbed& b) { b.files.failWrite = true; }, -107},
    };
    for (const auto& c : cases) {
        Testbed bed;
        bed.addPack(u"German", germanPack());
        bed.addProject(welcomeAndStatement());
        ASSERT_EQ(bed.scan(), 0);
        bed.files.changed.clear();
        c.spoil(bed);
        const auto before = bed.files.file(project + u"translations.German");
        EXPECT_EQ(bed.translate(c.packId), c.code) << c.what;
        EXPECT_EQ(bed.files.file(project + u"translations.German"), before) << c.what;
        for (const auto& path : bed.files.changed)
            EXPECT_EQ(path, project + u"backup of translations.German") << c.what;
    }
}

TEST(ErrorTexts, EveryCodeHasItsText)
{
    struct Case {
        int code;
        std::u16string text;
    };
    const Case cases[] = {
        {-1, u"No Language Packs found"},
        {-2, u"Current working directory is invalid or unaccessible"},
        {-99, u"Unknown error occured during initialization"},
        {-100, u"System not initialized"},
        {-101, u"Translation project (*.mtx) not found"},
        {-102, u"File 'translations.original' not found"},
        {-103, u"File 'translations.map' not found"},
        {-105, u"File 'translations.German' not found"},
        {-106, u"Backup of file 'translations.German.bak' failed"},
        {-107, u"Creation of file 'translations.German' failed"},
        {-108, u"File 'dialogs.dat' of current Language Pack not found"},
        {-109, u"File 'scripts.dat' of current Language Pack not found"},
        {-110, u"File 'dialogs.dat' modified externally"},
        {-111, u"File 'scripts.dat' modified externally"},
        {-199, u"Unknown error occured during project translation"},
        {-200, u"The selected Language Pack ID was not found"},
        {-201, u"Index files of Language Pack not accessible"},
        {-299, u"Unknown error occured during initialization of a Language Pack"},
        {-104, u"Unknown error code -104"},
        {0, u"Unknown error code 0"},
        {17, u"Unknown error code 17"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorText(c.code, u"German"), c.text) << c.code;
}

}  // namespace
