#include "authoring/packbuilder/pack_writer.h"

#include <gtest/gtest.h>

#include "tests/wizard/memory_file_system.h"
#include "wizard/md5.h"
#include "wizard/pack_indexes.h"
#include "wizard/pack_scan.h"

using namespace pellion;

namespace {

class NoMessages final : public WizardMessages {
public:
    void show(std::u16string_view, std::u16string_view) override { ADD_FAILURE() << "unexpected message"; }
};

PackSource source(int format)
{
    PackSource pack;
    pack.name = u"Deutsch";
    pack.extension = u"German";
    pack.format = format;
    pack.major = 2;
    pack.minor = 5;
    pack.build = 17;
    pack.dialogs = {{u"a.dfm.L1.One\na.dfm.L2.Two", u"Eins\r\nZwei"}, {u"b.dfm.L.Three", u"Drei – ü"}};
    pack.scripts = {{u"{S}\nM\nFour", u"Vier"}};
    pack.wellKnown = {{u"Cancel", u"Abbrechen"}, {u"OK", u"Gut"}};
    return pack;
}

TEST(PackWriter, IndexRecordsAreSeventyTwoBytes)
{
    const std::string record = indexRecordBytes(u"0123456789ABCDEF0123456789ABCDEF", 0x01020304, 7);
    ASSERT_EQ(record.size(), 72u);
    EXPECT_EQ(record.substr(0, 4), std::string("0\0" "1\0", 4));
    EXPECT_EQ(record.substr(64), std::string("\x04\x03\x02\x01\x07\0\0\0", 8));
}

// What the writer makes, the wizard's readers read back: every entry by its
// lookup text, every pair, the header fields, in both formats.
TEST(PackWriter, WizardReadsBackWhatItWrites)
{
    for (const int format : {3, 4}) {
        SCOPED_TRACE(format);
        MemoryFileSystem files;
        const Windows1252CodePage codePage;
        const PackSource pack = source(format);
        const auto packFiles = buildPackFiles(pack, codePage);
        ASSERT_EQ(packFiles.size(), 6u);
        EXPECT_EQ(packFiles[0].name, u"configuration.dat");
        EXPECT_EQ(packFiles[4].bytes.size(), 2 * indexRecordSize);  // dialogs.idx
        files.addFolder(u"C:\\W\\German");
        ASSERT_TRUE(writePackFiles(files, u"C:\\W\\German", packFiles));

        NoMessages messages;
        WizardState state(files, codePage, messages);
        ASSERT_EQ(ScanLanguagePacks(state, u"C:\\W"), 0);
        const LanguagePack& read = state.packs.at(0);
        EXPECT_EQ(read.format, format);
        EXPECT_EQ(read.major, 2);
        EXPECT_EQ(read.minor, 5);
        EXPECT_EQ(read.build, 17);
        EXPECT_EQ(read.name, u"Deutsch");
        EXPECT_EQ(read.dataKey, format == 4 ? u"7German" : u"");
        EXPECT_EQ(read.dialogDataFingerprint, md5Hex(packFiles[3].bytes));
        ASSERT_EQ(LoadPackIndexes(state, 1), 0);

        auto dialogs = files.openForReading(read.dialogDataPath);
        auto scripts = files.openForReading(read.scriptDataPath);
        for (const auto& entry : pack.dialogs)
            EXPECT_EQ(LookupPackText(TextFingerprint(codePage, entry.lookupText), state.indexes.dialogs, dialogs.get(),
                                     read.dataKey),
                      entry.translation);
        EXPECT_EQ(LookupPackText(TextFingerprint(codePage, pack.scripts[0].lookupText), state.indexes.scripts,
                                 scripts.get(), read.dataKey),
                  u"Vier");
        ASSERT_EQ(state.indexes.wellKnown.pairs().size(), 2u);
        EXPECT_EQ(*state.indexes.wellKnown.find(u"OK"), u"Gut");
        // Format 3 keeps the texts readable in the file; format 4 does not.
        const bool plain = packFiles[3].bytes.find(std::string("E\0i\0n\0s\0", 8)) != std::string::npos;
        EXPECT_EQ(plain, format == 3);
    }
}

TEST(PackWriter, FailedWriteIsReported)
{
    MemoryFileSystem files;
    files.failWrite = true;
    EXPECT_FALSE(writePackFiles(files, u"C:\\W\\German", buildPackFiles(source(4), Windows1252CodePage())));
}

}  // namespace
