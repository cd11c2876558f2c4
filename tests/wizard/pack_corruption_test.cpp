// Broken and hostile packs: each is either skipped with the scan's message or
// listed with the damaged parts left unused, and pre-translation still keeps
// every row. Running under the sanitizers, these also show that no read goes
// past the bytes a pack file holds.

#include <gtest/gtest.h>

#include <functional>

#include "common/text.h"
#include "tests/wizard/wizard_testbed.h"
#include "wizard/md5.h"
#include "wizard/pack_indexes.h"
#include "wizard/pack_scan.h"
#include "wizard/pretranslation.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

using Lines = std::vector<std::string>;

const std::string statementId = "{6F1A2B3C-0000-4000-8000-00000000AB02}";

std::vector<Row> project()
{
    return {
        untranslated("Label1", "Welcome", "welcome.dfm"),
        untranslated("Label2", "Cancel", "welcome.dfm"),
        untranslated(statementId, "Setup", "MessageBox 1"),
        untranslated(statementId, "Really cancel?", "MessageBox 2"),
        untranslated("Label1", "Cancel", "other.dfm"),
    };
}

PackSource pack()
{
    PackSource source = emptyPack(u"German");
    source.dialogs = {{u"welcome.dfm.Label1.Welcome\nwelcome.dfm.Label2.Cancel", u"Willkommen\r\nAbbrechen"}};
    source.scripts = {{text(statementId) + u"\nMessageBox 1\nSetup\nMessageBox 2\nReally cancel?",
                       u"Installation\r\nWirklich abbrechen?"}};
    source.wellKnown = {{u"Cancel", u"Abbrechen"}, {u"Setup", u"Einrichtung"}};
    return source;
}

// The outcomes, as rows of the translated list (well-known pairs in use).
const Lines everything = {"Willkommen", "Abbrechen", "Installation", "Wirklich abbrechen?", "Abbrechen"};
const Lines withoutDialogs = {"Welcome", "Abbrechen", "Installation", "Wirklich abbrechen?", "Abbrechen"};
const Lines withoutScripts = {"Willkommen", "Abbrechen", "Einrichtung", "Really cancel?", "Abbrechen"};
const Lines withoutWellKnown = {"Willkommen", "Abbrechen", "Installation", "Wirklich abbrechen?", "Cancel"};
const Lines withoutAnything = {"Welcome", "Cancel", "Setup", "Really cancel?", "Cancel"};

enum FileIndex { configuration = 0, scriptData, scriptIndex, dialogData, dialogIndex, wellKnown };
enum EntryIndex { scriptDataEntry = 0, scriptIndexEntry, dialogDataEntry, dialogIndexEntry, wellKnownEntry };

// A pack on its way to the file system: its files and the configuration
// fields describing them. configuration.dat is written from the fields
// unless a case has put its own bytes there.
struct PackUnderTest {
    std::vector<PackFile> files;
    ConfigurationFields fields;
    bool ownConfiguration = false;
    PackSource source = pack();

    PackUnderTest()
    {
        files = buildPackFiles(source, Windows1252CodePage());
        fields = configurationFieldsOf(source, files);
    }

    std::string& bytes(FileIndex file) { return files[file].bytes; }
    // After changing a file that should still be accepted.
    void resign() { fields = configurationFieldsOf(source, files); }

    // configuration.dat as bytes, for changes below the field level.
    std::string& configurationFile()
    {
        if (!ownConfiguration) {
            files[configuration].bytes = configurationBytes(fields);
            ownConfiguration = true;
        }
        return files[configuration].bytes;
    }
    void patchInt32(std::string& target, size_t offset, int32_t value)
    {
        target.replace(offset, 4, int32Bytes(value));
    }
    // Offsets inside configuration.dat as the fields lay it out.
    size_t nameOffset() const { return 4 + packSignature.size() * 2 + 4 * 4; }
    size_t extensionOffset() const { return nameOffset() + 4 + fields.name.size() * 2; }
    size_t entryOffset(size_t entry) const
    {
        size_t offset = extensionOffset() + 4 + fields.extension.size() * 2;
        for (size_t i = 0; i < entry; ++i) {
            const auto& e = fields.entries[i];
            offset += e.fileName.empty() ? 4 : 4 + e.fileName.size() * 2 + 4 + e.fingerprint.size() * 2;
        }
        return offset;
    }
};

struct Corruption {
    const char* what;
    std::function<void(PackUnderTest&)> spoil;
    int scanResult;
    const char16_t* message;  // title of the scan's message, when there is one
    Lines rows;               // when the pack is listed
};

TEST(CorruptPacks, AreSkippedOrUsedWithoutTheirDamagedParts)
{
    const Corruption cases[] = {
        {"intact", [](PackUnderTest&) {}, 0, nullptr, everything},
        {"configuration ends inside the pack name",
         [](PackUnderTest& p) { p.configurationFile().resize(p.nameOffset() + 6); }, -1,
         u"Invalid Language Pack Header", {}},
        {"configuration ends inside the format",
         [](PackUnderTest& p) { p.configurationFile().resize(4 + 42 + 2); }, -1, u"Invalid Language Pack Header", {}},
        {"configuration ends inside the well-known entry",
         [](PackUnderTest& p) { p.configurationFile().resize(p.entryOffset(wellKnownEntry) + 10); }, 0, nullptr,
         withoutWellKnown},
        {"signature count negative", [](PackUnderTest& p) { p.patchInt32(p.configurationFile(), 0, -42); }, -1,
         u"Invalid Language Pack Header", {}},
        {"signature count enormous", [](PackUnderTest& p) { p.patchInt32(p.configurationFile(), 0, 0x7FFFFFFF); }, -1,
         u"Invalid Language Pack Header", {}},
        {"pack name count enormous",
         [](PackUnderTest& p) { p.patchInt32(p.configurationFile(), p.nameOffset(), 0x7FFFFFFF); }, -1,
         u"Invalid Language Pack Header", {}},
        {"pack name count negative",
         [](PackUnderTest& p) {
             p.fields.name.clear();
             p.patchInt32(p.configurationFile(), p.nameOffset(), -5);
         },
         0, nullptr, everything},
        {"extension with an odd count",
         [](PackUnderTest& p) {
             std::string& bytes = p.configurationFile();
             const size_t offset = p.extensionOffset();
             bytes.insert(offset + 4 + p.fields.extension.size() * 2, 1, '\x55');
             p.patchInt32(bytes, offset, static_cast<int32_t>(p.fields.extension.size() * 2 + 1));
         },
         0, nullptr, everything},
        {"extension count enormous",
         [](PackUnderTest& p) { p.patchInt32(p.configurationFile(), p.extensionOffset(), 0x7FFFFFF0); }, -1,
         u"Invalid Language Pack Header", {}},
        {"first file entry count enormous",
         [](PackUnderTest& p) { p.patchInt32(p.configurationFile(), p.entryOffset(scriptDataEntry), 0x7FFFFFFF); },
         0, nullptr, withoutAnything},
        {"dialog data entry count negative",
         [](PackUnderTest& p) {
             p.fields.entries[dialogDataEntry] = {};
             p.patchInt32(p.configurationFile(), p.entryOffset(dialogDataEntry), -7);
         },
         0, nullptr, withoutDialogs},
        {"script data fingerprint count negative",
         [](PackUnderTest& p) {
             const auto& entry = p.fields.entries[scriptDataEntry];
             p.patchInt32(p.configurationFile(), p.entryOffset(scriptDataEntry) + 4 + entry.fileName.size() * 2, -64);
             p.configurationFile().erase(p.entryOffset(scriptDataEntry) + 8 + entry.fileName.size() * 2, 64);
         },
         0, nullptr, withoutScripts},
        {"fingerprint in lower case",
         [](PackUnderTest& p) {
             for (auto& c : p.fields.entries[dialogIndexEntry].fingerprint)
                 c = (c >= u'A' && c <= u'F') ? char16_t(c + 32) : c;
         },
         0, nullptr, withoutDialogs},
        {"fingerprint of other content",
         [](PackUnderTest& p) { p.fields.entries[wellKnownEntry].fingerprint = md5Hex("other"); }, 0, nullptr,
         withoutWellKnown},
        {"file name reaching into another folder",
         [](PackUnderTest& p) {
             // The file is there, with the right content, but not in the pack folder itself.
             p.files.push_back({u"sub\\dialogs.dat", p.bytes(dialogData)});
             p.fields.entries[dialogDataEntry].fileName = u"sub/dialogs.dat";
         },
         0, nullptr, withoutDialogs},
        {"data file missing", [](PackUnderTest& p) { p.files.erase(p.files.begin() + dialogData); }, 0, nullptr,
         withoutDialogs},
        {"data file of zero length",
         [](PackUnderTest& p) {
             p.bytes(scriptData).clear();
             p.resign();
         },
         0, nullptr, withoutScripts},
        {"index record pointing past its data file",
         [](PackUnderTest& p) {
             p.patchInt32(p.bytes(dialogIndex), 64, static_cast<int32_t>(p.bytes(dialogData).size()) - 2);
             p.resign();
         },
         0, nullptr, withoutDialogs},
        {"index record with negative offset",
         [](PackUnderTest& p) {
             p.patchInt32(p.bytes(scriptIndex), 64, -1);
             p.resign();
         },
         0, nullptr, withoutScripts},
        {"index record with negative length",
         [](PackUnderTest& p) {
             p.patchInt32(p.bytes(scriptIndex), 68, -40);
             p.resign();
         },
         0, nullptr, withoutScripts},
        {"index record with enormous length",
         [](PackUnderTest& p) {
             p.patchInt32(p.bytes(dialogIndex), 68, 0x7FFFFFFF);
             p.resign();
         },
         0, nullptr, withoutDialogs},
        {"index record with an odd length drops the last byte",
         [](PackUnderTest& p) {
             p.patchInt32(p.bytes(dialogIndex), 68, static_cast<int32_t>(p.bytes(dialogData).size()) - 1);
             p.resign();
         },
         0, nullptr, {"Willkommen", "Abbreche", "Installation", "Wirklich abbrechen?", "Abbrechen"}},
        {"index file with a trailing partial record",
         [](PackUnderTest& p) {
             p.bytes(dialogIndex) += std::string(71, '\x7F');
             p.resign();
         },
         0, nullptr, everything},
        {"index file shorter than one record",
         [](PackUnderTest& p) {
             p.bytes(dialogIndex).resize(71);
             p.resign();
         },
         0, nullptr, withoutDialogs},
        {"well-known file ending inside its second pair",
         [](PackUnderTest& p) {
             p.bytes(wellKnown).resize(p.bytes(wellKnown).size() - 3);
             p.resign();
         },
         0, nullptr, everything},
        {"well-known count enormous",
         [](PackUnderTest& p) {
             p.patchInt32(p.bytes(wellKnown), 0, 0x7FFFFFFF);
             p.resign();
         },
         0, nullptr, withoutWellKnown},
        {"well-known translation with a line break",
         [](PackUnderTest& p) {
             p.source.wellKnown[0].translation = u"Ab\r\nbrechen";
             p.files = buildPackFiles(p.source, Windows1252CodePage());
             p.resign();
         },
         0, nullptr, withoutWellKnown},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Testbed bed;
        PackUnderTest broken;
        c.spoil(broken);
        if (!broken.ownConfiguration)
            broken.files[configuration].bytes = configurationBytes(broken.fields);
        bed.files.addFolder(bed.packFolder(u"German"));
        ASSERT_TRUE(writePackFiles(bed.files, bed.packFolder(u"German"), broken.files));
        bed.addProject(project());

        EXPECT_EQ(bed.scan(), c.scanResult);
        if (c.message) {
            ASSERT_EQ(bed.messages.shown.size(), 1u);
            EXPECT_EQ(bed.messages.shown[0].title, c.message);
        } else {
            EXPECT_TRUE(bed.messages.shown.empty());
        }
        if (c.scanResult == 0) {
            ASSERT_EQ(bed.translate(1, false, true), 0);
            EXPECT_EQ(bed.translatedLines(), c.rows);
        }
    }
}

// Whatever length configuration.dat is cut to, the scan either skips the
// pack with one message or lists it, and a listed pack still translates.
TEST(CorruptPacks, ConfigurationCutAtEveryLength)
{
    const PackUnderTest whole;
    const std::string wholeConfiguration = configurationBytes(whole.fields);
    for (size_t length = 0; length < wholeConfiguration.size(); ++length) {
        SCOPED_TRACE(length);
        Testbed bed;
        auto files = whole.files;
        files[configuration].bytes = wholeConfiguration.substr(0, length);
        bed.files.addFolder(bed.packFolder(u"German"));
        ASSERT_TRUE(writePackFiles(bed.files, bed.packFolder(u"German"), files));
        bed.addProject(project());
        const int result = bed.scan();
        EXPECT_LE(bed.messages.shown.size(), 1u);
        if (length <= smallestSkippedConfiguration) {
            EXPECT_TRUE(bed.messages.shown.empty());
        }
        if (result == 0) {
            EXPECT_TRUE(bed.messages.shown.empty());
            EXPECT_EQ(bed.translate(1, true, true), 0);
            EXPECT_EQ(bed.translatedLines().size(), project().size());
        } else {
            EXPECT_EQ(result, -1);
        }
    }
}

}  // namespace
