// Changing archives: update modes, deleting by pattern, and failures that must leave
// the existing archive exactly as it was.

#include "archive_test_support.h"

#include "outside/entry_names.h"
#include "outside/source_selection.h"
#include "outside/switch_text.h"

namespace pellion::archive::testing {
namespace {

class ArchiveEdit : public ArchiveFolder {
protected:
    void SetUp() override
    {
        ArchiveFolder::SetUp();
        write("in/a.txt", "A1");
        write("in/b.txt", "B1");
        write("in/docs/c.txt", "C1");
        write("in/docs/sub/d.bin", "D1");
        const std::vector<SourceEntry> sources = {
            {path("in/a.txt"), u"a.txt"},
            {path("in/b.txt"), u"b.txt"},
            {path("in/docs/c.txt"), u"docs/c.txt"},
            {path("in/docs/sub/d.bin"), u"docs/sub/d.bin"},
        };
        ASSERT_TRUE(createArchive(files, path("a.zip"), sources).ok());
    }

    std::vector<std::string> names()
    {
        std::vector<EntryInfo> listed;
        EXPECT_TRUE(listArchive(files, path("a.zip"), listed).ok());
        std::vector<std::string> result;
        for (const auto& entry : listed)
            result.push_back(toUtf8(entry.name));
        return result;
    }

    std::string contentOf(const std::u16string& name)
    {
        std::filesystem::remove_all(root / "check");
        ExtractOptions options;
        options.names = {name};
        EXPECT_TRUE(extractArchive(files, path("a.zip"), path("check"), options).ok());
        return read("check/" + toUtf8(name));
    }

    void setAge(const std::string& relative, int64_t secondsFromNow)
    {
        std::filesystem::last_write_time(root / relative,
                                         std::filesystem::file_time_type::clock::now() + std::chrono::seconds(secondsFromNow));
    }
};

TEST_F(ArchiveEdit, AddReplaceKeepsOtherEntriesAndReplacesEqualNamesWithoutCase)
{
    write("in/a2.txt", "A2");
    write("in/e.txt", "E");
    CreateOptions options;
    options.mode = UpdateMode::addReplace;
    const std::vector<SourceEntry> sources = {{path("in/a2.txt"), u"A.TXT"}, {path("in/e.txt"), u"e.txt"}};
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources, options).ok());
    EXPECT_EQ(names(), (std::vector<std::string>{"b.txt", "docs/c.txt", "docs/sub/d.bin", "A.TXT", "e.txt"}));
    EXPECT_EQ(contentOf(u"A.TXT"), "A2");
    EXPECT_EQ(contentOf(u"docs/sub/d.bin"), "D1");
    EXPECT_TRUE(testArchive(files, path("a.zip")).ok());
}

TEST_F(ArchiveEdit, UpdateNewerReplacesOnlyWithNewerFiles)
{
    write("in/older.txt", "old");
    write("in/newer.txt", "new");
    setAge("in/older.txt", -3600);
    setAge("in/newer.txt", 3600);
    CreateOptions options;
    options.mode = UpdateMode::updateNewer;
    const std::vector<SourceEntry> sources = {{path("in/older.txt"), u"a.txt"}, {path("in/newer.txt"), u"b.txt"}};
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources, options).ok());
    EXPECT_EQ(contentOf(u"a.txt"), "A1");
    EXPECT_EQ(contentOf(u"b.txt"), "new");
}

TEST_F(ArchiveEdit, CreateNewReplacesTheWholeArchive)
{
    const std::vector<SourceEntry> sources = {{path("in/b.txt"), u"only.txt"}};
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources).ok());
    EXPECT_EQ(names(), (std::vector<std::string>{"only.txt"}));
}

TEST_F(ArchiveEdit, LaterDuplicateSourcesWin)
{
    const std::vector<SourceEntry> sources = {{path("in/a.txt"), u"x.txt"}, {path("in/b.txt"), u"X.txt"}};
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources).ok());
    EXPECT_EQ(names(), (std::vector<std::string>{"X.txt"}));
    EXPECT_EQ(contentOf(u"X.txt"), "B1");
}

TEST_F(ArchiveEdit, AFailedUpdateLeavesTheArchiveUntouched)
{
    const std::string before = read("a.zip");
    struct Case {
        const char* label;
        std::vector<SourceEntry> sources;
        bool cancel;
        ErrorCode code;
    };
    const Case cases[] = {
        {"missing source", {{path("in/a.txt"), u"new.txt"}, {path("in/missing.txt"), u"m.txt"}}, false,
         ErrorCode::cannotReadSource},
        {"source is a folder", {{path("in/docs"), u"docs.txt"}}, false, ErrorCode::cannotReadSource},
        {"unsafe name", {{path("in/a.txt"), u"../a.txt"}}, false, ErrorCode::unsafeName},
        {"cancelled", {{path("in/a.txt"), u"new.txt"}}, true, ErrorCode::cancelled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CreateOptions options;
        options.mode = UpdateMode::addReplace;
        if (c.cancel)
            options.progress = [](std::u16string_view, uint64_t, uint64_t) { return false; };
        EXPECT_EQ(createArchive(files, path("a.zip"), c.sources, options).code, c.code);
        EXPECT_EQ(read("a.zip"), before);
        EXPECT_FALSE(exists("a.zip.oxatmp"));
    }

    write("damaged.zip", before.substr(0, before.size() / 2));
    CreateOptions options;
    options.mode = UpdateMode::addReplace;
    const std::vector<SourceEntry> sources = {{path("in/a.txt"), u"new.txt"}};
    EXPECT_EQ(createArchive(files, path("damaged.zip"), sources, options).code, ErrorCode::notAnArchive)
        << "a damaged archive is not silently replaced";
}

TEST_F(ArchiveEdit, DeletePatternsSelectEntriesAndFolders)
{
    struct Case {
        std::vector<std::u16string> patterns;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{u"docs\\*"}, {"a.txt", "b.txt"}},
        {{u"DOCS"}, {"a.txt", "b.txt"}},
        {{u"*.txt"}, {"docs/sub/d.bin"}},
        {{u"docs/sub"}, {"a.txt", "b.txt", "docs/c.txt"}},
        {{u"a.txt", u"b.?xt"}, {"docs/c.txt", "docs/sub/d.bin"}},
        {{u"nothing.txt"}, {"a.txt", "b.txt", "docs/c.txt", "docs/sub/d.bin"}},
        {{u"*"}, {}},
    };
    const std::string original = read("a.zip");
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.patterns[0]));
        write("a.zip", original);
        ASSERT_TRUE(deleteFromArchive(files, path("a.zip"), c.patterns).ok());
        EXPECT_EQ(names(), c.left);
        EXPECT_TRUE(testArchive(files, path("a.zip")).ok());
    }
    write("a.zip", original);
    ASSERT_TRUE(deleteFromArchive(files, path("a.zip"), std::vector<std::u16string>{u"a.txt"}).ok());
    EXPECT_EQ(contentOf(u"docs/sub/d.bin"), "D1");
}

TEST_F(ArchiveEdit, EncryptedEntriesSurviveEditsOfTheirNeighbours)
{
    CreateOptions options;
    options.mode = UpdateMode::addReplace;
    options.password = "pw";
    const std::vector<SourceEntry> sources = {{path("in/a.txt"), u"locked.txt"}};
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources, options).ok());
    ASSERT_TRUE(deleteFromArchive(files, path("a.zip"), std::vector<std::u16string>{u"b.txt"}).ok());
    ExtractOptions extract;
    extract.names = {u"locked.txt"};
    extract.password = [] { return std::optional<std::string>("pw"); };
    ASSERT_TRUE(extractArchive(files, path("a.zip"), path("out"), extract).ok());
    EXPECT_EQ(read("out/locked.txt"), "A1");
}

TEST_F(ArchiveEdit, FileListItemsExpandToEntries)
{
    struct Case {
        std::vector<std::string> items;
        std::vector<std::u16string> excluded;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {{"in/a.txt"}, {}, {"a.txt"}},
        {{"in/docs"}, {}, {"docs/", "docs/c.txt", "docs/sub/", "docs/sub/d.bin"}},
        {{"in/docs/"}, {}, {"docs/", "docs/c.txt", "docs/sub/", "docs/sub/d.bin"}},
        {{"in/*.txt"}, {}, {"a.txt", "b.txt"}},
        {{"in/docs/*"}, {}, {"c.txt", "sub/", "sub/d.bin"}},
        {{"in/*"}, {u"*.bin", u"b.txt"}, {"a.txt", "docs/", "docs/c.txt", "docs/sub/"}},
        {{"in/docs"}, {u"docs/sub"}, {"docs/", "docs/c.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items[0]);
        std::vector<std::u16string> items;
        for (const auto& item : c.items)
            items.push_back(path(item));
        std::vector<SourceEntry> entries;
        ASSERT_TRUE(selectSources(files, items, c.excluded, entries).ok());
        std::vector<std::string> names;
        for (const auto& entry : entries)
            names.push_back(toUtf8(entry.entryName));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.entries);
    }
    std::vector<SourceEntry> entries;
    const std::vector<std::u16string> missing = {path("in/missing.txt")};
    EXPECT_EQ(selectSources(files, missing, {}, entries).code, ErrorCode::cannotReadSource);
}

TEST(SwitchText, CompressionFollowsTheLastMethodSwitch)
{
    struct Case {
        const char16_t* switches;
        Compression compression;
        int level;
    };
    const Case cases[] = {
        {u"", Compression::deflate, 9},
        {u"-ssw -mhe=off -mmt=2 -ms=off -mhc=off -m0=None -m0=Copy ", Compression::stored, 9},
        {u"-ssw -mhe=on -mmt=2 -ms=on -mhc=on -m0=BCJ2 -m1=LZMA2 -m1d=23 -m1mf=hc4 -m1fb=64 ", Compression::deflate, 9},
        {u"-mx=0", Compression::stored, 9},
        {u"-MX5", Compression::deflate, 5},
        {u"-mx=0 -mm=Deflate", Compression::deflate, 9},
        {u"-mm=copy", Compression::stored, 9},
    };
    for (const auto& c : cases) {
        const auto choice = compressionFromSwitches(c.switches);
        EXPECT_EQ(choice.compression, c.compression) << toUtf8(c.switches);
        EXPECT_EQ(choice.level, c.level) << toUtf8(c.switches);
    }
}

TEST(EntryPatterns, PatternsSelectNamesFoldersAndLastParts)
{
    struct Case {
        const char16_t* pattern;
        const char16_t* name;
        bool selected;
    };
    const Case cases[] = {
        {u"docs\\*", u"docs/sub/d.bin", true},
        {u"docs/*", u"docsx/a", false},
        {u"DOCS", u"docs/c.txt", true},
        {u"*.txt", u"a/b/c.TXT", true},
        {u"a/b", u"a/bc", false},
        {u"a/b", u"a/b/c", true},
        {u"?", u"ab", false},
        {u"*a*b*c*", u"xaxbxcx", true},
        {u"", u"a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(patternSelects(c.pattern, c.name), c.selected) << toUtf8(c.pattern) << " " << toUtf8(c.name);
}

}  // namespace
}  // namespace pellion::archive::testing
