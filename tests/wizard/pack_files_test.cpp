#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/letter_case.h"
#include "common/text.h"
#include "tests/wizard/wizard_testbed.h"
#include "wizard/language_table.h"
#include "wizard/md5.h"
#include "wizard/pack_format.h"
#include "wizard/pack_indexes.h"
#include "wizard/pack_scan.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

// An input file over bytes in memory.
class BytesFile final : public InputFile {
public:
    explicit BytesFile(std::string bytes) : bytes_(std::move(bytes)) {}
    uint64_t size() const override { return bytes_.size(); }
    size_t readAt(uint64_t offset, std::span<char> into) override
    {
        if (offset >= bytes_.size())
            return 0;
        const size_t count = std::min<uint64_t>(into.size(), bytes_.size() - offset);
        std::copy_n(bytes_.data() + offset, count, into.data());
        return count;
    }

private:
    std::string bytes_;
};

TEST(ScrambledText, KeyBytesTakenInTurnFromTheFirst)
{
    // "Va" XOR "kz": 0x56^0x6B, 0^0, 0x61^0x7A, 0^0.
    EXPECT_EQ(scrambleText(u"Va", packTextKey), std::string("\x3D\x00\x1B\x00", 4));
    EXPECT_EQ(unscrambleText(std::string("\x3D\x00\x1B\x00", 4), packTextKey), u"Va");

    struct Case {
        std::u16string text;
        std::u16string key;
    };
    const Case cases[] = {
        {u"", u"QZX"},
        {u"0123456789ABCDEF0123456789ABCDEF", u"QZX"},  // longer than the key: the key restarts
        {u"Grüße, € and ✓", u"7German"},
        {u"plain", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unscrambleText(scrambleText(c.text, c.key), c.key), c.text);
    EXPECT_EQ(scrambleText(u"plain", u""), std::string("p\0l\0a\0i\0n\0", 10));
}

TEST(ScrambledText, OddCountsDropTheLastByteAndNulEndsTheText)
{
    EXPECT_EQ(unscrambleText(std::string("A\0B\0C", 5), u""), u"AB");
    EXPECT_EQ(unscrambleText(std::string("A\0\0\0B\0", 6), u""), u"A");
    EXPECT_EQ(unscrambleText(std::string("A", 1), u""), u"");
    const std::string scrambled = scrambleText(std::u16string(u"A\0B", 3), u"QZX");
    EXPECT_EQ(unscrambleText(scrambled, u"QZX"), u"A");
}

TEST(ScrambledText, ReadsNeverPassTheEndOfTheFile)
{
    BytesFile file(int32Bytes(6) + std::string("a\0b\0c\0", 6) + int32Bytes(100) + "xy");
    PackReader reader(file);
    EXPECT_EQ(reader.readScrambledField(u""), u"abc");
    const uint64_t before = reader.position();
    EXPECT_EQ(reader.readScrambledField(u""), std::nullopt);  // 100 bytes announced, 2 there
    EXPECT_EQ(reader.position(), before);
    EXPECT_EQ(ReadScrambledText(reader, 0, u""), u"");
    EXPECT_EQ(ReadScrambledText(reader, -5, u""), u"");
    EXPECT_EQ(reader.position(), before);
    EXPECT_EQ(ReadScrambledText(reader, 0x7FFFFFFF, u""), u"");
    // The six bytes left are the count 100 and "xy": "d", NUL, ...
    EXPECT_EQ(ReadScrambledText(reader, 6, u""), u"d");
}

TEST(LanguageTable, NamesComparedInLowerCaseWithoutSurroundingBlanks)
{
    struct Case {
        std::u16string name;
        int code;
    };
    const Case cases[] = {
        {u"German", 7},          {u" GERMAN ", 7},   {u"german", 7},        {u"portugese (brazil)", 1046},
        {u"Portuguese (Brazil)", 0}, {u"Chinese (Taiwan)", 1028}, {u"vietnamese", 42}, {u"turkish", 31},
        {u"", 0},                {u"Klingon", 0},    {u"Ger man", 0},       {u"\tgerman", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageCodeOf(c.name), c.code) << toUtf8(c.name);
    EXPECT_EQ(languageTable().size(), 35u);
}

TEST(Fingerprints, Md5OfTheTextInTheAnsiCodePage)
{
    const Windows1252CodePage codePage;
    struct Case {
        std::u16string text;
        std::u16string fingerprint;
    };
    const Case cases[] = {
        {u"", u"D41D8CD98F00B204E9800998ECF8427E"},
        {u"abc", u"900150983CD24FB0D6963F7D28E17F72"},
        {u"ä", u"C15BCC5577F9FADE4B4A3256190A59B0"},
        {u"Grüße €", u"19FBD7BA59B948C6D8B34E31E87B9956"},
        {u"welcome.dfm.Label1.Welcome", u"0DA73B35B6C0C262E62ACEBDD71C977B"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextFingerprint(codePage, c.text), c.fingerprint) << toUtf8(c.text);
    EXPECT_EQ(codePage.encode(u"a€\u0100\U0001F600"), "a\x80??");
}

#ifdef _WIN32
TEST(Fingerprints, SystemCodePageAgreesOnPlainText)
{
    const SystemAnsiCodePage system;
    EXPECT_EQ(TextFingerprint(system, u"welcome.dfm.Label1.Welcome"), u"0DA73B35B6C0C262E62ACEBDD71C977B");
}
#endif

TEST(Fingerprints, FilesAreDigestedPieceByPiece)
{
    MemoryFileSystem files;
    std::string big(200000, 'x');
    files.setFile(u"C:\\big.bin", big);
    EXPECT_EQ(fileFingerprint(files, u"C:\\big.bin"), md5Hex(big));
    EXPECT_EQ(fileFingerprint(files, u"C:\\missing.bin"), std::nullopt);
}

struct Scan : ::testing::Test {
    Testbed bed;
    PackSource pack = emptyPack(u"Deutsch");

    Scan()
    {
        pack.dialogs = {{u"d.dfm.L.A", u"Dialogtext"}};
        pack.scripts = {{u"{S}\nM\nA", u"Skripttext"}};
        pack.wellKnown = {{u"Cancel", u"Abbrechen"}, {u"Cancel", u"Zweite"}, {u"OK", u"Gut"}};
    }

    std::vector<std::u16string> titles() const
    {
        std::vector<std::u16string> result;
        for (const auto& message : bed.messages.shown)
            result.push_back(message.title);
        return result;
    }

    void setConfiguration(std::u16string_view folder, std::string bytes)
    {
        bed.files.setFile(bed.packFolder(folder) + u"configuration.dat", std::move(bytes));
    }

    ConfigurationFields fields() const
    {
        ConfigurationFields result;
        result.name = u"Deutsch";
        result.extension = u"German";
        return result;
    }
};

TEST_F(Scan, OnlyFoldersWithoutExtensionArePacks)
{
    bed.addPack(u"German.old", pack);
    EXPECT_EQ(bed.scan(), -1);
    bed.addPack(u"German", pack);
    bed.files.setFile(std::u16string(programFolder) + u"Lexwiz.exe", "MZ");
    ASSERT_EQ(bed.scan(), 0);
    ASSERT_EQ(bed.state.packs.size(), 1u);
    const LanguagePack& found = bed.state.packs[0];
    EXPECT_EQ(found.id, 1);
    EXPECT_EQ(found.name, u"Deutsch");
    EXPECT_EQ(found.languageCode, 7);
    EXPECT_EQ(found.format, 4);
    EXPECT_EQ(found.dataKey, u"7German");
    const std::u16string folder = bed.packFolder(u"German");
    EXPECT_EQ(found.scriptDataPath, folder + u"scripts.dat");
    EXPECT_EQ(found.scriptIndexPath, folder + u"scripts.idx");
    EXPECT_EQ(found.dialogDataPath, folder + u"dialogs.dat");
    EXPECT_EQ(found.dialogIndexPath, folder + u"dialogs.idx");
    EXPECT_EQ(found.wellKnownPath, folder + u"translations.dat");
    EXPECT_EQ(found.dialogDataFingerprint, md5Hex(*bed.files.file(folder + u"dialogs.dat")));
    EXPECT_TRUE(bed.messages.shown.empty());
}

TEST_F(Scan, PacksAreNumberedInScanOrderAndRescanStartsAfresh)
{
    bed.addPack(u"B", emptyPack(u"Zweites", u"French"));
    bed.addPack(u"A", emptyPack(u"Erstes", u"German", 3));
    ASSERT_EQ(bed.scan(), 0);
    ASSERT_EQ(bed.state.packs.size(), 2u);
    EXPECT_EQ(bed.state.packs[0].name, u"Erstes");
    EXPECT_EQ(bed.state.packs[0].dataKey, u"");
    EXPECT_EQ(bed.state.packs[1].id, 2);
    EXPECT_EQ(bed.state.packs[1].dataKey, u"12French");
    ASSERT_EQ(bed.scan(), 0);
    EXPECT_EQ(bed.state.packs.size(), 2u);
}

TEST_F(Scan, FolderWithoutPacksOrUnreadableFolder)
{
    bed.files.addFolder(programFolder);
    EXPECT_EQ(bed.scan(), -1);
    EXPECT_EQ(ScanLanguagePacks(bed.state, u"C:\\Nowhere"), -2);
}

TEST_F(Scan, ConfigurationOfThirtyBytesOrLessIsPassedOverSilently)
{
    setConfiguration(u"Short", std::string(30, 'x'));
    EXPECT_EQ(bed.scan(), -1);
    EXPECT_TRUE(bed.messages.shown.empty());
    setConfiguration(u"Short", std::string(31, 'x'));
    EXPECT_EQ(bed.scan(), -1);
    EXPECT_EQ(titles(), std::vector<std::u16string>{u"Invalid Language Pack Header"});
    EXPECT_EQ(bed.messages.shown[0].text, u"The Language Pack located in '" + bed.packFolder(u"Short")
                                              + u"' contains an invalid header. This Language Pack will be skipped!");
}

TEST_F(Scan, SkippedPacksAndTheirMessages)
{
    struct Case {
        const char* what;
        std::function<std::string(ConfigurationFields)> configuration;
        std::u16string title;
        std::u16string complaint;
    };
    const Case cases[] = {
        {"signature of another product",
         [](ConfigurationFields f) {
             f.signature = u"Vantrel Language Pac!";
             return configurationBytes(f);
         },
         u"Invalid Language Pack Header", u"an invalid header"},
        {"signature whose count is not twice its length",
         [](ConfigurationFields f) {
             // The right bytes followed by a NUL character: they decode to the
             // signature, but the count is 44.
             std::string bytes = configurationBytes(f);
             std::string signature = scrambleText(std::u16string(packSignature) + u'\0', packTextKey);
             return int32Bytes(44) + signature + bytes.substr(4 + 42);
         },
         u"Invalid Language Pack Header", u"an invalid header"},
        {"format 5",
         [](ConfigurationFields f) {
             f.format = 5;
             return configurationBytes(f);
         },
         u"Invalid Language Pack Version", u"the unsuppored version 5"},
        {"format -3",
         [](ConfigurationFields f) {
             f.format = -3;
             return configurationBytes(f);
         },
         u"Invalid Language Pack Version", u"the unsuppored version -3"},
        {"unknown extension",
         [](ConfigurationFields f) {
             f.extension = u" Klingon";
             return configurationBytes(f);
         },
         u"Invalid Language Pack Extension", u"the unknown language extension ' Klingon'"},
    };
    for (const auto& c : cases) {
        Testbed fresh;
        fresh.files.setFile(fresh.packFolder(u"Pack") + u"configuration.dat", c.configuration(fields()));
        EXPECT_EQ(fresh.scan(), -1) << c.what;
        ASSERT_EQ(fresh.messages.shown.size(), 1u) << c.what;
        EXPECT_EQ(fresh.messages.shown[0].title, c.title) << c.what;
        EXPECT_EQ(fresh.messages.shown[0].text, u"The Language Pack located in '" + fresh.packFolder(u"Pack")
                                                    + u"' contains " + c.complaint
                                                    + u". This Language Pack will be skipped!")
            << c.what;
    }
}

TEST_F(Scan, ExtensionWithBlanksIsValidAndKeptAsStored)
{
    pack.extension = u" GERMAN ";
    bed.addPack(u"German", pack);
    ASSERT_EQ(bed.scan(), 0);
    EXPECT_EQ(bed.state.packs[0].extension, u" GERMAN ");
    EXPECT_EQ(bed.state.packs[0].languageCode, 7);
    EXPECT_EQ(bed.state.packs[0].dataKey, u"7 GERMAN ");
    EXPECT_EQ(translatedListName(bed.state.packs[0].extension), u"translations. GERMAN ");
}

TEST_F(Scan, FileEntryWithLowerCaseFingerprintIsRejectedSilently)
{
    auto files = buildPackFiles(pack, bed.codePage);
    auto fields = configurationFieldsOf(pack, files);
    fields.entries[0].fingerprint = asciiLowerCase(fields.entries[0].fingerprint);
    files[0].bytes = configurationBytes(fields);
    bed.files.addFolder(bed.packFolder(u"German"));
    ASSERT_TRUE(writePackFiles(bed.files, bed.packFolder(u"German"), files));

    ASSERT_EQ(bed.scan(), 0);
    EXPECT_TRUE(bed.messages.shown.empty());
    EXPECT_TRUE(bed.state.packs[0].scriptDataPath.empty());
    EXPECT_TRUE(bed.state.packs[0].scriptDataFingerprint.empty());
    EXPECT_FALSE(bed.state.packs[0].scriptIndexPath.empty());
    EXPECT_FALSE(bed.state.packs[0].dialogDataPath.empty());
}

TEST_F(Scan, IndexesLoadAndLookupsFollowTheFileOrder)
{
    bed.addPack(u"German", pack);
    ASSERT_EQ(bed.scan(), 0);
    ASSERT_EQ(LoadPackIndexes(bed.state, 1), 0);
    const LoadedIndexes& loaded = bed.state.indexes;
    ASSERT_EQ(loaded.dialogs.records().size(), 1u);
    ASSERT_EQ(loaded.scripts.records().size(), 1u);
    ASSERT_EQ(loaded.wellKnown.pairs().size(), 3u);
    EXPECT_EQ(*loaded.wellKnown.find(u"Cancel"), u"Abbrechen");  // the first of two pairs wins

    auto data = bed.files.openForReading(bed.state.packs[0].dialogDataPath);
    const std::u16string fingerprint = TextFingerprint(bed.codePage, u"d.dfm.L.A");
    EXPECT_EQ(LookupPackText(fingerprint, loaded.dialogs, data.get(), u"7German"), u"Dialogtext");
    EXPECT_EQ(LookupPackText(asciiLowerCase(fingerprint), loaded.dialogs, data.get(), u"7German"), u"Dialogtext");
    EXPECT_EQ(LookupPackText(fingerprint, loaded.dialogs, nullptr, u"7German"), u"");
    EXPECT_EQ(LookupPackText(TextFingerprint(bed.codePage, u"other"), loaded.dialogs, data.get(), u"7German"), u"");
    EXPECT_EQ(LoadPackIndexes(bed.state, 2), -200);
    EXPECT_TRUE(bed.state.indexes.dialogs.records().empty());
}

TEST_F(Scan, IndexKeyStoredInLowerCaseNeverMatches)
{
    const std::u16string fingerprint = TextFingerprint(bed.codePage, u"d.dfm.L.A");
    PackIndex index;
    index.add({asciiLowerCase(fingerprint), 0, 4});
    MemoryFileSystem files;
    files.setFile(u"C:\\d.dat", scrambleText(u"Hi", u""));
    auto data = files.openForReading(u"C:\\d.dat");
    EXPECT_EQ(LookupPackText(fingerprint, index, data.get(), u""), u"");
    EXPECT_EQ(LookupPackText(asciiLowerCase(fingerprint), index, data.get(), u""), u"");
    index.add({fingerprint, 0, 4});
    EXPECT_EQ(LookupPackText(asciiLowerCase(fingerprint), index, data.get(), u""), u"Hi");
}

}  // namespace
