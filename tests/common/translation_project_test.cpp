#include "common/translation_project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/text.h"
#ifdef _WIN32
#include "common/wide.h"
#endif

using namespace pellion;

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

// A fresh folder under the system's temporary folder, removed afterwards. Its
// name holds letters outside ASCII so the wide-path edge is crossed as well.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device seed;
        path_ = fs::temp_directory_path() / fs::path(u"Übersetzung " + toUtf16(std::to_string(seed())));
        fs::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    // The folder as the programs name it, with a trailing "\".
    std::u16string text() const { return withTrailingBackslash(pathText(path_)); }
    fs::path file(std::u16string_view name) const { return path_ / fs::path(std::u16string(name)); }

    void write(std::u16string_view name, std::string_view bytes) const
    {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string read(std::u16string_view name) const
    {
        std::ifstream stream(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), {});
    }
    std::vector<std::u16string> names() const
    {
        std::vector<std::u16string> result;
        for (const auto& entry : fs::directory_iterator(path_))
            result.push_back(pathText(entry.path().filename()));
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    fs::path path_;
};

// Passes everything to the machine's file system except the operations a
// test makes fail.
class FailingFileSystem final : public FileSystem {
public:
    bool failCopy = false;
    bool failWrite = false;

    EntryInfo entryInfo(std::u16string_view path) override { return native_.entryInfo(path); }
    std::optional<std::vector<FolderEntry>> listFolder(std::u16string_view folder) override
    {
        return native_.listFolder(folder);
    }
    std::unique_ptr<InputFile> openForReading(std::u16string_view path) override
    {
        return native_.openForReading(path);
    }
    bool writeFile(std::u16string_view path, std::span<const std::string_view> pieces) override
    {
        return !failWrite && native_.writeFile(path, pieces);
    }
    bool copyFile(std::u16string_view from, std::u16string_view to) override
    {
        return !failCopy && native_.copyFile(from, to);
    }

private:
    NativeFileSystem native_;
};

std::vector<std::string> linesOf(const ProjectList& list)
{
    std::vector<std::string> lines;
    for (size_t row = 0; row < list.size(); ++row)
        lines.emplace_back(list.line(row));
    return lines;
}

TEST(ProjectLists, LineBreaksByteOrderMarkAndBlanks)
{
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\xEF\xBB\xBF", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"\xEF\xBB\xBF" "a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb\r", {"a", "", "b"}},
        {"  padded  \r\n\tx ", {"  padded  ", "\tx "}},
        // A byte order mark after the start is text, not a marker.
        {"a\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(ProjectList::fromBytes(c.bytes)), c.lines) << testing::PrintToString(c.bytes);
}

TEST(ProjectLists, TextsAreUtf16WithMalformedBytesReplaced)
{
    const auto list = ProjectList::fromBytes("Gr\xC3\xBC\xC3\x9F" "e\r\nbad \xFF\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.text(0), u"Grüße");
    EXPECT_EQ(list.text(1), u"bad \uFFFD");
    EXPECT_EQ(list.line(1), "bad \xFF");  // the bytes themselves stay as stored
}

TEST(ProjectFiles, NamesMatchWithoutLetterCase)
{
    TempFolder folder;
    folder.write(u"translations.Map", "welcome.dfm\r\n");
    folder.write(u"translations.original", "Welcome\r\n");
    NativeFileSystem files;

    const auto map = readProjectList(files, folder.text() + u"translations.map");
    ASSERT_TRUE(map);
    EXPECT_EQ(linesOf(*map), std::vector<std::string>{"welcome.dfm"});
    EXPECT_TRUE(readProjectList(files, folder.text() + u"translations.Original"));
    EXPECT_EQ(files.entryInfo(folder.text() + u"TRANSLATIONS.MAP").kind, EntryKind::file);
    EXPECT_FALSE(readProjectList(files, folder.text() + u"translations.German"));
}

TEST(ProjectFiles, KeyListIsTheFirstMtxFileOfTheFolder)
{
    TempFolder folder;
    NativeFileSystem files;
    EXPECT_FALSE(findKeyList(files, folder.text()));
    fs::create_directory(folder.file(u"folder.mtx"));
    folder.write(u"notes.txt", "");
    folder.write(u".mtx", "");
    EXPECT_FALSE(findKeyList(files, folder.text()));
    folder.write(u"Sample Setup.MTX", "");
    EXPECT_EQ(findKeyList(files, folder.text()), folder.text() + u"Sample Setup.MTX");
    EXPECT_FALSE(findKeyList(files, folder.text() + u"missing\\"));
}

TEST(TranslatedListRewrite, BacksUpThenWritesByteOrderMarkAndRows)
{
    TempFolder folder;
    folder.write(u"translations.German", "old one\r\nold two\r\n");
    folder.write(u"backup of translations.German", "older backup");
    NativeFileSystem files;

    EXPECT_EQ(rewriteTranslatedList(files, folder.text(), u"German", "neu eins\r\nneu zwei\r\n"),
              RewriteResult::rewritten);
    EXPECT_EQ(folder.read(u"backup of translations.German"), "old one\r\nold two\r\n");
    EXPECT_EQ(folder.read(u"translations.German"), "\xEF\xBB\xBF" "neu eins\r\nneu zwei\r\n");
}

TEST(TranslatedListRewrite, EmptyListIsNotBackedUp)
{
    TempFolder folder;
    folder.write(u"translations.German", "");
    folder.write(u"backup of translations.German", "older backup");
    NativeFileSystem files;

    EXPECT_EQ(rewriteTranslatedList(files, folder.text(), u"German", "x\r\n"), RewriteResult::rewritten);
    EXPECT_EQ(folder.read(u"backup of translations.German"), "older backup");
    EXPECT_EQ(folder.read(u"translations.German"), "\xEF\xBB\xBF" "x\r\n");
}

TEST(TranslatedListRewrite, ReplacesTheListWhateverItsLetterCase)
{
    TempFolder folder;
    folder.write(u"translations.german", "old\r\n");
    folder.write(u"Backup of Translations.german", "older");
    NativeFileSystem files;

    EXPECT_EQ(rewriteTranslatedList(files, folder.text(), u"German", "new\r\n"), RewriteResult::rewritten);
    EXPECT_EQ(folder.names(), (std::vector<std::u16string>{u"Backup of Translations.german", u"translations.german"}));
    EXPECT_EQ(folder.read(u"translations.german"), "\xEF\xBB\xBF" "new\r\n");
    EXPECT_EQ(folder.read(u"Backup of Translations.german"), "old\r\n");
}

TEST(TranslatedListRewrite, FailedBackupLeavesTheListAsItWas)
{
    TempFolder folder;
    folder.write(u"translations.German", "old\r\n");
    FailingFileSystem files;
    files.failCopy = true;

    EXPECT_EQ(rewriteTranslatedList(files, folder.text(), u"German", "new\r\n"), RewriteResult::backupFailed);
    EXPECT_EQ(static_cast<int>(RewriteResult::backupFailed), -106);
    EXPECT_EQ(folder.read(u"translations.German"), "old\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::u16string>{u"translations.German"});
}

TEST(TranslatedListRewrite, FailedCreationKeepsThePreviousContentInTheBackup)
{
    TempFolder folder;
    folder.write(u"translations.German", "old\r\n");
    FailingFileSystem files;
    files.failWrite = true;

    EXPECT_EQ(rewriteTranslatedList(files, folder.text(), u"German", "new\r\n"), RewriteResult::createFailed);
    EXPECT_EQ(static_cast<int>(RewriteResult::createFailed), -107);
    EXPECT_EQ(folder.read(u"backup of translations.German"), "old\r\n");
}

TEST(TranslatedListRewrite, FolderInTheWayIsACreationFailure)
{
    TempFolder folder;
    fs::create_directory(folder.file(u"translations.German"));
    NativeFileSystem files;
    EXPECT_EQ(rewriteTranslatedList(files, folder.text(), u"German", "new\r\n"), RewriteResult::createFailed);
}

TEST(FileSeam, PositionedReadsStopAtTheEnd)
{
    TempFolder folder;
    folder.write(u"data.bin", "0123456789");
    NativeFileSystem files;
    auto file = files.openForReading(folder.text() + u"data.bin");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 10u);
    char buffer[8];
    EXPECT_EQ(file->readAt(6, buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(file->readAt(2, std::span(buffer, 3)), 3u);
    EXPECT_EQ(std::string(buffer, 3), "234");
    EXPECT_EQ(file->readAt(10, buffer), 0u);
    EXPECT_EQ(file->readAt(~uint64_t{0}, buffer), 0u);
    EXPECT_FALSE(files.openForReading(folder.text()));
    EXPECT_FALSE(files.openForReading(folder.text() + u"missing.bin"));
}

TEST(FileSeam, PathTexts)
{
    EXPECT_EQ(withTrailingBackslash(u"C:\\x"), u"C:\\x\\");
    EXPECT_EQ(withTrailingBackslash(u"C:\\x\\"), u"C:\\x\\");
    EXPECT_EQ(withTrailingBackslash(u"/tmp/x/"), u"/tmp/x/");
    EXPECT_EQ(folderOfPath(u"C:\\Project\\Setup.mtx"), u"C:\\Project\\");
    EXPECT_EQ(folderOfPath(u"/tmp/p/Setup.mtx"), u"/tmp/p/");
    EXPECT_EQ(folderOfPath(u"Setup.mtx"), u"");
}

}  // namespace
