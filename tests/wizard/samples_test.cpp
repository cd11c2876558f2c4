// The samples end to end on the real file system: the German pack made from
// its source by the pack builder's library, installed beside a wizard folder,
// and the sample project pre-translated with it. In the Wine build this runs
// the Windows code (wide paths, CNG, the system code page) under Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "authoring/packbuilder/pack_source.h"
#include "common/text.h"
#include "tests/wizard/wizard_testbed.h"
#include "wizard/pack_scan.h"
#include "wizard/pretranslation.h"
#ifdef _WIN32
#include "common/wide.h"
#endif

using namespace pellion;
using namespace pellion::testing;

namespace {

namespace fs = std::filesystem;

std::u16string pathText(const fs::path& path)
{
#ifdef _WIN32
    return fromWide(path.wstring());
#else
    return toUtf16(path.string());
#endif
}

// The source tree as this program sees it: under Wine, Linux paths are on
// drive Z:.
std::u16string sourceFolder()
{
    std::u16string folder = toUtf16(PELLION_SOURCE_DIR);
#ifdef _WIN32
    if (folder.starts_with(u"/"))
        folder = u"Z:" + folder;
#endif
    return withTrailingBackslash(folder);
}

class TempFolder {
public:
    TempFolder()
    {
        std::random_device seed;
        path_ = fs::temp_directory_path() / fs::path(u"Lexwiz Übung " + toUtf16(std::to_string(seed())));
        fs::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::u16string folder(std::u16string_view name) const
    {
        fs::create_directories(path_ / fs::path(std::u16string(name)));
        return withTrailingBackslash(pathText(path_ / fs::path(std::u16string(name))));
    }

private:
    fs::path path_;
};

TEST(Samples, GermanPackPreTranslatesTheSampleProject)
{
    NativeFileSystem files;
    const auto parsed = readPackSource(files, sourceFolder() + u"samples\\german-pack");
    ASSERT_TRUE(parsed.pack) << parsed.error;

    TempFolder temp;
    const std::u16string programFolder = temp.folder(u"Language Packs");
    const std::u16string packFolder = temp.folder(u"Language Packs/German");
    const Windows1252CodePage packMakersCodePage;
    ASSERT_TRUE(writePackFiles(files, packFolder, buildPackFiles(*parsed.pack, packMakersCodePage)));

    const std::u16string projectSource = sourceFolder() + u"samples\\translation-project\\";
    const std::u16string project = temp.folder(u"Übersetzungsprojekt");
    const auto projectFiles = files.listFolder(projectSource);
    ASSERT_TRUE(projectFiles);
    for (const auto& entry : *projectFiles)
        ASSERT_TRUE(files.copyFile(projectSource + entry.name, project + entry.name));

#ifdef _WIN32
    const SystemAnsiCodePage codePage;
#else
    const Windows1252CodePage codePage;
#endif
    CollectedMessages messages;
    WizardState state(files, codePage, messages);
    ASSERT_EQ(ScanLanguagePacks(state, programFolder), 0);
    ASSERT_EQ(state.packs.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.packs[0].name, u"German");
    const auto keyList = findKeyList(files, project);
    ASSERT_EQ(keyList, project + u"Sample Setup.mtx");

    ASSERT_EQ(TranslateProject(state, 1, *keyList, false, true), 0);

    const auto keys = readProjectList(files, *keyList);
    const auto originals = readProjectList(files, project + u"translations.original");
    const auto maps = readProjectList(files, project + u"translations.map");
    const auto translated = readProjectList(files, project + u"translations.German");
    const auto backup = readWholeFile(files, project + u"backup of translations.German");
    ASSERT_TRUE(keys && originals && maps && translated && backup);
    EXPECT_EQ(*backup, *readWholeFile(files, projectSource + u"translations.German"));
    ASSERT_EQ(translated->size(), originals->size());

    std::map<std::string, std::string> byPlace;  // "map|key" -> translated line
    for (size_t row = 0; row < keys->size(); ++row) {
        const std::string place = std::string(maps->line(row)) + "|" + std::string(keys->line(row));
        byPlace[place] = translated->line(row);
        const bool dialog = maps->line(row).ends_with(".dfm");
        // Every dialog but the readme, whose author added a control, has its pack text.
        if (dialog && maps->line(row) != "readme.dfm") {
            EXPECT_NE(translated->line(row), originals->line(row)) << place;
        }
        if (keys->line(row).starts_with("ZIVIDIRU$")) {
            EXPECT_EQ(translated->line(row), originals->line(row)) << place;
        }
    }
    EXPECT_EQ(byPlace["welcome.dfm|TitleLabel"], "Willkommen beim Setup-Assistenten f\xC3\xBCr $TITLE$");
    EXPECT_EQ(byPlace["finish.dfm|FinishButton"], "&Fertig stellen");
    // The readme dialog went through the well-known pairs line by line.
    EXPECT_EQ(byPlace["readme.dfm|TitleLabel"], "Informationen");
    EXPECT_EQ(byPlace["readme.dfm|NextButton"], "&Weiter >");
    EXPECT_EQ(byPlace["readme.dfm|BackButton"], "< &Zur\xC3\xBC" "ck");
    EXPECT_EQ(byPlace["readme.dfm|SubtitleLabel"], "Please read the following important information before continuing.");
    EXPECT_EQ(byPlace["readme.dfm|LicenseLink"], "View the license agreement");
    EXPECT_EQ(byPlace["MessageBox 2|" + std::string(keys->line(keys->size() - 1))],
              "Das Setup ist abgeschlossen. Bitte starten Sie Ihren Computer neu.");
}

}  // namespace
