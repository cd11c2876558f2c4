// Untrusted archives: names that would leave the target folder, lying headers,
// truncation and damage all fail cleanly, and nothing lands outside the target.

#include "archive_test_support.h"

#include "outside/entry_names.h"

#include <zlib.h>

namespace pellion::archive::testing {
namespace {

class HostileArchive : public ArchiveFolder {
protected:
    void writeZip(const std::string& name, const std::vector<RawEntry>& entries) { write(name, rawZip(entries)); }

    // Everything the test folder holds apart from the archives themselves.
    std::vector<std::string> writtenFiles()
    {
        std::vector<std::string> found;
        for (const auto& item : filesBelow("")) {
            if (item.ends_with(".zip"))
                continue;
            found.push_back(item);
        }
        return found;
    }
};

TEST_F(HostileArchive, NamesThatLeaveTheTargetOrNameDevicesAreRefused)
{
    const char* names[] = {
        "../evil.txt",    "a/../../evil.txt", "a\\..\\..\\evil.txt", "/evil.txt",    "\\evil.txt",
        "C:/evil.txt",    "C:evil.txt",       "a/.. /evil.txt",      "a/../evil.txt", "evil.txt:stream",
        "CON",            "nul.txt",          "a/aux/evil.txt",      "COM1",          "lpt9.log",
        "Con .txt",       "evil.",            "evil ",               "ev\x01il.txt",  "ev|il.txt",
        "ev*il.txt",      "..",               "",                    "//server/share/evil.txt",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        // A harmless entry first: refusing must happen before anything is written.
        writeZip("bad.zip", {plainEntry("first.txt", "harmless"), plainEntry(name, "evil")});
        EXPECT_EQ(extractArchive(files, path("bad.zip"), path("target/inner")).code, ErrorCode::unsafeName);
        EXPECT_TRUE(writtenFiles().empty());

        write("source.txt", "x");
        const std::vector<SourceEntry> sources = {{path("source.txt"), toUtf16(name)}};
        EXPECT_EQ(createArchive(files, path("made.zip"), sources).code, ErrorCode::unsafeName);
        EXPECT_FALSE(exists("made.zip"));
    }
}

TEST_F(HostileArchive, HarmlessOddNamesAreAccepted)
{
    struct Case {
        const char* name;
        std::vector<std::u16string> parts;
    };
    const Case cases[] = {
        {"./a.txt", {u"a.txt"}},
        {"a//b.txt", {u"a", u"b.txt"}},
        {"a\\b.txt", {u"a", u"b.txt"}},
        {"..a/b..c", {u"..a", u"b..c"}},
        {"console.txt", {u"console.txt"}},
        {"COM10", {u"COM10"}},
        {".hidden", {u".hidden"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(safeNameParts(toUtf16(c.name)), c.parts);
    }
}

TEST_F(HostileArchive, EveryTruncationFailsCleanly)
{
    write("in.txt", sampleText(5000, 1));
    const std::vector<SourceEntry> sources = {{path("in.txt"), u"x/in.txt"}, {path("in.txt"), u"copy.txt"}};
    ASSERT_TRUE(createArchive(files, path("whole.zip"), sources).ok());
    const std::string whole = read("whole.zip");
    for (size_t length = 0; length < whole.size(); ++length) {
        write("cut.zip", whole.substr(0, length));
        std::vector<EntryInfo> listed;
        ASSERT_FALSE(listArchive(files, path("cut.zip"), listed).ok()) << length;
        ASSERT_FALSE(extractArchive(files, path("cut.zip"), path("out")).ok()) << length;
        ASSERT_FALSE(testArchive(files, path("cut.zip")).ok()) << length;
    }
    EXPECT_FALSE(exists("out"));
}

TEST_F(HostileArchive, DamageAnywhereNeverEscapesOrCrashes)
{
    write("in.txt", sampleText(3000, 2));
    const std::vector<SourceEntry> sources = {{path("in.txt"), u"x/in.txt"}, {u"", u"folder/"}};
    ASSERT_TRUE(createArchive(files, path("whole.zip"), sources).ok());
    const std::string whole = read("whole.zip");
    for (size_t at = 0; at < whole.size(); ++at) {
        for (const uint8_t mask : {0x01, 0xFF}) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ mask);
            write("damaged.zip", damaged);
            std::vector<EntryInfo> listed;
            (void)listArchive(files, path("damaged.zip"), listed);
            const auto extracted = extractArchive(files, path("damaged.zip"), path("target/out"));
            const auto tested = testArchive(files, path("damaged.zip"));
            // Extraction writes only data it checked, and what extracts also tests sound.
            if (extracted.ok()) {
                EXPECT_TRUE(tested.ok()) << at;
                for (const auto& item : filesBelow("target/out")) {
                    if (std::filesystem::is_regular_file(root / "target/out" / item)) {
                        EXPECT_EQ(read("target/out/" + item), read("in.txt")) << at;
                    }
                }
            }
            std::filesystem::remove_all(root / "target");
        }
    }
    for (const auto& item : filesBelow(""))
        EXPECT_TRUE(item == "in.txt" || item.ends_with(".zip")) << item;
}

TEST_F(HostileArchive, LyingHeadersAreCaughtWithTheirCodes)
{
    const std::string data = "0123456789";
    std::string deflated(64, '\0');
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    const std::string big(100000, 'z');
    std::string bomb(1000, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(big.data()));
    stream.avail_in = static_cast<uInt>(big.size());
    stream.next_out = reinterpret_cast<Bytef*>(bomb.data());
    stream.avail_out = static_cast<uInt>(bomb.size());
    ASSERT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    bomb.resize(stream.total_out);
    deflateEnd(&stream);

    struct Case {
        const char* label;
        RawEntry entry;
        ErrorCode code;
    };
    const Case cases[] = {
        {"wrong CRC", {"a.txt", data, 0x0800, 0, "", 0x12345678u, {}}, ErrorCode::checksumMismatch},
        {"stored size larger than the data", {"a.txt", data, 0x0800, 0, "", {}, 11u}, ErrorCode::corrupt},
        {"inflates beyond its declared size", {"a.txt", big, 0x0800, 8, bomb, {}, 1000u}, ErrorCode::corrupt},
        {"inflates short of its declared size", {"a.txt", big, 0x0800, 8, bomb, {}, 200000u}, ErrorCode::corrupt},
        {"not deflate data", {"a.txt", data, 0x0800, 8, "\xff\xff\xff\xff", {}, {}}, ErrorCode::corrupt},
        {"unknown method", {"a.txt", data, 0x0800, 14, "", {}, {}}, ErrorCode::unsupported},
        {"strong encryption", {"a.txt", data, 0x0841, 0, "", {}, {}}, ErrorCode::unsupported},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeZip("lying.zip", {c.entry});
        EXPECT_EQ(testArchive(files, path("lying.zip")).code, c.code);
        EXPECT_EQ(extractArchive(files, path("lying.zip"), path("out")).code, c.code);
        EXPECT_FALSE(exists("out/a.txt"));
        EXPECT_FALSE(exists("out/a.txt.oxapart"));
    }
}

TEST_F(HostileArchive, BrokenDirectoriesAreReportedAsSuch)
{
    const std::string good = rawZip({plainEntry("a.txt", "abc")});
    const size_t endAt = good.size() - 22;
    auto patched = [&](size_t at, std::string bytes) {
        std::string copy = good;
        copy.replace(at, bytes.size(), bytes);
        return copy;
    };
    struct Case {
        const char* label;
        std::string archive;
        ErrorCode code;
    };
    const Case cases[] = {
        {"no end record", good.substr(0, endAt) + std::string(22, 'x'), ErrorCode::notAnArchive},
        {"too short", "PK", ErrorCode::notAnArchive},
        {"empty file", "", ErrorCode::notAnArchive},
        {"directory offset past the end", patched(endAt + 16, "\xF0\xFF\x00\x00"), ErrorCode::corrupt},
        {"directory size past the end", patched(endAt + 12, "\xF0\xFF\x00\x00"), ErrorCode::corrupt},
        {"more entries than the directory holds", patched(endAt + 8, std::string("\x09\x00\x09\x00", 4)),
         ErrorCode::corrupt},
        {"split archive", patched(endAt + 4, std::string("\x01\x00", 2)), ErrorCode::unsupported},
        {"zip64 marker", patched(endAt + 16, "\xFF\xFF\xFF\xFF"), ErrorCode::unsupported},
        {"local header offset inside the directory", patched(endAt - 5 - 4, "\x30\x00\x00\x00"), ErrorCode::corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        write("broken.zip", c.archive);
        EXPECT_EQ(testArchive(files, path("broken.zip")).code, c.code);
    }
    EXPECT_EQ(testArchive(files, path("missing.zip")).code, ErrorCode::cannotOpen);
}

// A file access whose reads run out of memory, as a huge listing or a failed
// buffer allocation would.
class ExhaustedFiles final : public FileAccess {
public:
    std::unique_ptr<InputFile> openRead(std::u16string_view) override { throw std::bad_alloc(); }
    std::unique_ptr<OutputFile> createFile(std::u16string_view) override { throw std::bad_alloc(); }
    FileFacts facts(std::u16string_view) override { return {true, false, 10, 0}; }
    bool createFolders(std::u16string_view) override { return true; }
    bool removeFile(std::u16string_view) override { return true; }
    bool replaceFile(std::u16string_view, std::u16string_view) override { return true; }
    bool setModified(std::u16string_view, int64_t) override { return true; }
    std::optional<std::vector<FolderItem>> listFolder(std::u16string_view) override { return std::nullopt; }
    std::u16string join(std::u16string_view folder, std::u16string_view name) const override
    {
        return std::u16string(folder) + u"/" + std::u16string(name);
    }
};

TEST(ArchiveMemory, RunningOutOfMemoryReportsCode1018)
{
    ExhaustedFiles exhausted;
    std::vector<EntryInfo> listed;
    EXPECT_EQ(static_cast<int>(listArchive(exhausted, u"a.zip", listed).code), 1018);
    EXPECT_EQ(static_cast<int>(extractArchive(exhausted, u"a.zip", u"out").code), 1018);
    EXPECT_EQ(static_cast<int>(testArchive(exhausted, u"a.zip").code), 1018);
    const std::vector<SourceEntry> sources = {{u"s.txt", u"s.txt"}};
    EXPECT_EQ(static_cast<int>(createArchive(exhausted, u"a.zip", sources).code), 1018);
}

}  // namespace
}  // namespace pellion::archive::testing
