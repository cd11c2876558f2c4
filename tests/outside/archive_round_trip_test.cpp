// Archives the core writes come back intact: listed, extracted (all, named, flat),
// tested, and readable by other zip tools.

#include "archive_test_support.h"

#include <cstdlib>

namespace pellion::archive::testing {
namespace {

struct Format {
    const char* label;
    Compression compression;
    const char* password;
};

class RoundTrip : public ArchiveFolder, public ::testing::WithParamInterface<Format> {
protected:
    void makeSources()
    {
        write("in/readme.txt", "hello\r\n");
        write("in/empty.dat", "");
        write("in/big.txt", sampleText(3 * 1024 * 1024 + 17, 7));
        write("in/Übersetzung 名前.txt", "unicode name");
    }

    std::vector<SourceEntry> sources()
    {
        return {
            {path("in/readme.txt"), u"readme.txt"},
            {path("in/empty.dat"), u"data\\empty.dat"},
            {path("in/big.txt"), u"data/deep/big.txt"},
            {path("in/Übersetzung 名前.txt"), u"lang/Übersetzung 名前.txt"},
            {u"", u"empty folder/"},
        };
    }

    CreateOptions createOptions() const
    {
        CreateOptions options;
        options.compression = GetParam().compression;
        options.password = GetParam().password;
        return options;
    }

    PasswordFunction passwordFunction() const
    {
        const std::string password = GetParam().password;
        return [password]() -> std::optional<std::string> {
            if (password.empty())
                return std::nullopt;
            return password;
        };
    }
};

TEST_P(RoundTrip, EveryEntryComesBackAsWritten)
{
    makeSources();
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources(), createOptions()).ok());

    std::vector<EntryInfo> listed;
    ASSERT_TRUE(listArchive(files, path("a.zip"), listed).ok());
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(listed[0].name, u"readme.txt");
    EXPECT_EQ(listed[1].name, u"data/empty.dat");
    EXPECT_EQ(listed[2].name, u"data/deep/big.txt");
    EXPECT_EQ(listed[2].size, 3u * 1024 * 1024 + 17);
    EXPECT_EQ(listed[3].name, u"lang/Übersetzung 名前.txt");
    EXPECT_EQ(listed[4].name, u"empty folder");
    EXPECT_TRUE(listed[4].folder);
    EXPECT_EQ(listed[2].encrypted, *GetParam().password != 0);
    if (GetParam().compression == Compression::deflate && !*GetParam().password) {
        EXPECT_LT(listed[2].packedSize, listed[2].size);
    }

    ExtractOptions options;
    options.password = passwordFunction();
    ASSERT_TRUE(extractArchive(files, path("a.zip"), path("out"), options).ok());
    EXPECT_EQ(read("out/readme.txt"), "hello\r\n");
    EXPECT_TRUE(exists("out/data/empty.dat"));
    EXPECT_EQ(read("out/data/empty.dat"), "");
    EXPECT_EQ(read("out/data/deep/big.txt"), read("in/big.txt"));
    EXPECT_EQ(read("out/lang/Übersetzung 名前.txt"), "unicode name");
    EXPECT_TRUE(std::filesystem::is_directory(root / "out/empty folder"));

    TestOptions test;
    test.password = passwordFunction();
    EXPECT_TRUE(testArchive(files, path("a.zip"), test).ok());
}

TEST_P(RoundTrip, OtherZipToolsReadTheArchive)
{
    if (std::system("command -v unzip >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "unzip is not installed";
    makeSources();
    ASSERT_TRUE(createArchive(files, path("a.zip"), sources(), createOptions()).ok());
    const std::string password = *GetParam().password ? std::string(" -P ") + GetParam().password : "";
    const std::string archive = (root / "a.zip").string();
    EXPECT_EQ(std::system(("unzip -qq -t" + password + " '" + archive + "' >/dev/null").c_str()), 0);
    EXPECT_EQ(std::system(("cd '" + root.string() + "' && unzip -qq" + password + " a.zip -d unzipped").c_str()), 0);
    EXPECT_EQ(read("unzipped/data/deep/big.txt"), read("in/big.txt"));
    EXPECT_EQ(read("unzipped/lang/Übersetzung 名前.txt"), "unicode name");
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         ::testing::Values(Format{"deflated", Compression::deflate, ""},
                                           Format{"stored", Compression::stored, ""},
                                           Format{"deflatedEncrypted", Compression::deflate, "s3cret"},
                                           Format{"storedEncrypted", Compression::stored, "s3cret"}),
                         [](const auto& info) { return std::string(info.param.label); });

class Extraction : public ArchiveFolder {
protected:
    void SetUp() override
    {
        ArchiveFolder::SetUp();
        write("in/a.txt", "A");
        write("in/b.txt", "B");
        const std::vector<SourceEntry> sources = {{path("in/a.txt"), u"one/a.txt"}, {path("in/b.txt"), u"two/b.txt"}};
        ASSERT_TRUE(createArchive(files, path("a.zip"), sources).ok());
    }
};

TEST_F(Extraction, NamedEntriesAloneAreWritten)
{
    ExtractOptions options;
    options.names = {u"two\\b.txt"};
    ASSERT_TRUE(extractArchive(files, path("a.zip"), path("out"), options).ok());
    EXPECT_EQ(filesBelow("out"), (std::vector<std::string>{"two", "two/b.txt"}));
}

TEST_F(Extraction, AMissingNamedEntryFailsBeforeAnythingIsWritten)
{
    ExtractOptions options;
    options.names = {u"one/a.txt", u"three/c.txt"};
    EXPECT_EQ(extractArchive(files, path("a.zip"), path("out"), options).code, ErrorCode::entryNotFound);
    EXPECT_TRUE(filesBelow("out").empty());
}

TEST_F(Extraction, WithoutPathsEveryFileLandsInTheTargetFolder)
{
    ExtractOptions options;
    options.keepPaths = false;
    ASSERT_TRUE(extractArchive(files, path("a.zip"), path("out"), options).ok());
    EXPECT_EQ(filesBelow("out"), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(Extraction, TheAnswerForAnExistingFileDecidesWhatHappens)
{
    struct Case {
        ExistingFile answer;
        ErrorCode code;
        const char* existing;  // content of one/a.txt afterwards
        bool renamedCopy;      // one/a_1.txt holds the entry
    };
    const Case cases[] = {
        {ExistingFile::overwrite, ErrorCode::none, "A", false},
        {ExistingFile::rename, ErrorCode::none, "old", true},
        {ExistingFile::skip, ErrorCode::none, "old", false},
        {ExistingFile::cancel, ErrorCode::cancelled, "old", false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(root / "out");
        write("out/one/a.txt", "old");
        ExtractOptions options;
        options.onExisting = [&](std::u16string_view) { return c.answer; };
        EXPECT_EQ(extractArchive(files, path("a.zip"), path("out"), options).code, c.code);
        EXPECT_EQ(read("out/one/a.txt"), c.existing);
        EXPECT_EQ(exists("out/one/a_1.txt"), c.renamedCopy);
        if (c.renamedCopy) {
            EXPECT_EQ(read("out/one/a_1.txt"), "A");
        }
        EXPECT_FALSE(exists("out/one/a.txt.oxapart"));
    }
}

TEST_F(Extraction, ProgressCoversEveryByteAndCanCancel)
{
    uint64_t lastDone = 0;
    uint64_t lastTotal = 0;
    ExtractOptions options;
    options.progress = [&](std::u16string_view, uint64_t done, uint64_t total) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastTotal = total;
        return true;
    };
    ASSERT_TRUE(extractArchive(files, path("a.zip"), path("out"), options).ok());
    EXPECT_EQ(lastTotal, 2u);
    EXPECT_EQ(lastDone, 2u);

    int calls = 0;
    options.progress = [&](std::u16string_view, uint64_t, uint64_t) { return ++calls < 2; };
    EXPECT_EQ(extractArchive(files, path("a.zip"), path("cancelled"), options).code, ErrorCode::cancelled);
    EXPECT_EQ(filesBelow("cancelled"), (std::vector<std::string>{"one", "one/a.txt"}));
}

TEST_F(Extraction, ArchivesOfOtherToolsAreRead)
{
    if (std::system("command -v zip >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "zip is not installed";
    write("tree/x/y.txt", sampleText(200000, 3));
    write("tree/z.txt", "z");
    ASSERT_EQ(std::system(("cd '" + (root / "tree").string() + "' && zip -qr ../other.zip x z.txt").c_str()), 0);
    ASSERT_TRUE(extractArchive(files, path("other.zip"), path("out")).ok());
    EXPECT_EQ(read("out/x/y.txt"), read("tree/x/y.txt"));
    EXPECT_EQ(read("out/z.txt"), "z");
}

TEST_F(Extraction, AWrongOrMissingPasswordFailsAndAsksOnlyBoundedly)
{
    write("in/s.txt", "secret");
    CreateOptions create;
    create.password = "right";
    const std::vector<SourceEntry> sources = {{path("in/s.txt"), u"s1.txt"}, {path("in/s.txt"), u"s2.txt"}};
    ASSERT_TRUE(createArchive(files, path("locked.zip"), sources, create).ok());

    EXPECT_EQ(extractArchive(files, path("locked.zip"), path("none")).code, ErrorCode::wrongPassword);

    int asked = 0;
    ExtractOptions wrong;
    wrong.password = [&]() -> std::optional<std::string> {
        ++asked;
        return std::string("wrong");
    };
    EXPECT_EQ(extractArchive(files, path("locked.zip"), path("wrong"), wrong).code, ErrorCode::wrongPassword);
    EXPECT_LE(asked, 16);
    EXPECT_FALSE(exists("wrong/s1.txt"));

    asked = 0;
    ExtractOptions right;
    right.password = [&]() -> std::optional<std::string> {
        ++asked;
        return std::string("right");
    };
    ASSERT_TRUE(extractArchive(files, path("locked.zip"), path("right"), right).ok());
    EXPECT_EQ(asked, 1) << "a password that worked is used for the following entries";
    EXPECT_EQ(read("right/s2.txt"), "secret");
}

}  // namespace
}  // namespace pellion::archive::testing
