// The instance data file's text: full writes read back, updates that keep
// the head, and files cut short or filled with garbage.

#include <gtest/gtest.h>

#include "common/text.h"
#include "engine/startup/instance_data.h"

namespace pellion {
namespace {

InstanceDataContent sampleContent()
{
    InstanceDataContent content;
    content.lists[componentNamesList] = {u"QUAV-PREDEF-COMPONENT", u"Tools", u"Tools\\Spelling"};
    content.lists[componentStatesList] = {u"TRUE", u"FALSE", u"TRUE"};
    content.lists[deletedComponentsList] = {u"Tools\\Spelling"};
    content.lists[hiddenComponentsList] = {};
    content.lists[choiceComponentsList] = {u"Tools"};
    content.lists[componentSizesList] = {u"QUAV-PREDEF-COMPONENT", u"3980640", u"Tools", u"12"};
    content.targetDir = u"C:\\Program Files\\Brennic Lexicon\\";
    content.allUsers = u"TRUE";
    content.startMenu = u"Brennic Lexicon";
    content.mediaLine = u"C:\\MEDIA~1\\data\\";
    content.remembered = {{u"USERNOTE", u"first\r\nsecond"}, {u"PRICE", u"$5 or €4"}};
    content.bitnessMode = u"x64";
    content.overrideCache = u"D:\\Cache\\";
    content.nativeEngine = u"TRUE";
    return content;
}

TEST(InstanceDataFile, FullWriteReadsBackEveryPart)
{
    const std::string text = formatInstanceData(sampleContent());
    EXPECT_EQ(text.substr(0, 23), "QUAV-PREDEF-COMPONENT\r\n");
    const InstanceDataFile file = parseInstanceData(text);
    const InstanceDataContent content = sampleContent();
    for (size_t list = 0; list < instanceListCount; ++list) {
        ASSERT_TRUE(file.lists[list].has_value()) << list;
        EXPECT_EQ(*file.lists[list], content.lists[list]) << list;
    }
    EXPECT_EQ(file.targetDir, content.targetDir);
    EXPECT_EQ(file.allUsers, u"TRUE");
    EXPECT_EQ(file.startMenu, u"Brennic Lexicon");
    const std::vector<NamedValue> pairs = {{u"USERNOTE", u"first$NEWLINE$second"}, {u"PRICE", u"$5 or €4"},
                                           {u"QUAV64WOW", u"x64"}, {u"OVERRIDECACHE", u"D:\\Cache\\"},
                                           {u"NATIVE_ENGINE", u"TRUE"}};
    EXPECT_EQ(file.pairs, pairs);
}

TEST(InstanceDataFile, EveryLineBreakInAValueBecomesTheNewlineMarker)
{
    EXPECT_EQ(encodeStoredLine(u"a\r\nb\nc\rd"), u"a$NEWLINE$b$NEWLINE$c$NEWLINE$d");
    InstanceDataContent content;
    content.remembered = {{u"A", u"x\ny"}, {u"B", u"z"}};
    const InstanceDataFile file = parseInstanceData(formatInstanceData(content));
    ASSERT_GE(file.pairs.size(), 2u);
    EXPECT_EQ(file.pairs[0], NamedValue(u"A", u"x$NEWLINE$y"));
    EXPECT_EQ(file.pairs[1], NamedValue(u"B", u"z"));
}

TEST(InstanceDataFile, ReaderSkipsAByteOrderMarkAndTakesLoneLineFeeds)
{
    const InstanceDataFile file = parseInstanceData("\xEF\xBB\xBF" "A\n$\nTRUE\n$\n$\n$\n$\n$\nC:\\T\\\nFALSE\nMenu\n\nV\n1\n");
    ASSERT_TRUE(file.lists[componentNamesList]);
    EXPECT_EQ(*file.lists[componentNamesList], std::vector<std::u16string>{u"A"});
    EXPECT_EQ(file.targetDir, u"C:\\T\\");
    EXPECT_EQ(file.allUsers, u"FALSE");
    ASSERT_EQ(file.pairs.size(), 1u);
    EXPECT_EQ(file.pairs[0], NamedValue(u"V", u"1"));
}

// A file cut after a given number of lines reads exactly the parts it holds.
TEST(InstanceDataFile, FileCutShortReadsOnlyWhatItHolds)
{
    struct Case {
        const char* text;
        size_t lists;
        bool targetDir;
        bool startMenu;
        size_t pairs;
    };
    const Case cases[] = {
        {"", 0, false, false, 0},
        {"A\r\nB", 0, false, false, 0},                       // first list never closed
        {"A\r\n$\r\nTRUE\r\n", 1, false, false, 0},            // second list never closed
        {"$\r\n$\r\n$\r\n$\r\n$\r\n$\r\n", 6, false, false, 0},
        {"$\r\n$\r\n$\r\n$\r\n$\r\n$\r\nT\r\n", 6, true, false, 0},
        {"$\r\n$\r\n$\r\n$\r\n$\r\n$\r\nT\r\nA\r\nS\r\n", 6, true, true, 0},
        {"$\r\n$\r\n$\r\n$\r\n$\r\n$\r\nT\r\nA\r\nS\r\nM\r\nNAME", 6, true, true, 1},
    };
    for (const Case& c : cases) {
        const InstanceDataFile file = parseInstanceData(c.text);
        size_t lists = 0;
        for (const auto& list : file.lists)
            lists += list.has_value();
        EXPECT_EQ(lists, c.lists) << c.text;
        EXPECT_EQ(file.targetDir.has_value(), c.targetDir) << c.text;
        EXPECT_EQ(file.startMenu.has_value(), c.startMenu) << c.text;
        EXPECT_EQ(file.pairs.size(), c.pairs) << c.text;
    }
    // A name without its value line gives an empty value.
    const InstanceDataFile cut = parseInstanceData("$\r\n$\r\n$\r\n$\r\n$\r\n$\r\nT\r\nA\r\nS\r\nM\r\nNAME");
    EXPECT_EQ(cut.pairs[0], NamedValue(u"NAME", u""));
}

TEST(InstanceDataFile, GarbageBytesNeverCrashTheReader)
{
    std::string bytes;
    for (int i = 0; i < 4000; ++i)
        bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
    for (size_t length = 0; length < bytes.size(); length += 97)
        (void)parseInstanceData(std::string_view(bytes).substr(0, length));
    const char broken[] = "\xFF\xFE\x00garbage\r\n$\r\n";
    const InstanceDataFile file = parseInstanceData(std::string_view(broken, sizeof broken - 1));
    EXPECT_TRUE(file.lists[componentNamesList].has_value());
    EXPECT_FALSE(file.lists[componentStatesList].has_value());
}

TEST(InstanceDataUpdate, KeepsTheHeadAndRewritesTheVariables)
{
    InstanceDataContent content = sampleContent();
    const std::string old = formatInstanceData(content);
    const auto updated = updatedInstanceData(old, {{u"USERNOTE", u"changed"}}, u"Win32", u"", u"FALSE");
    ASSERT_TRUE(updated);
    content.remembered = {{u"USERNOTE", u"changed"}};
    content.bitnessMode = u"Win32";
    content.overrideCache = u"";
    content.nativeEngine = u"FALSE";
    EXPECT_EQ(*updated, formatInstanceData(content));
}

TEST(InstanceDataUpdate, FileWithFewerThanSixListEndsStaysAsItIs)
{
    EXPECT_FALSE(updatedInstanceData("A\r\n$\r\nTRUE\r\n$\r\n$\r\n$\r\n$\r\n", {{u"X", u"1"}}, u"Win32", u"", u"FALSE"));
    EXPECT_FALSE(updatedInstanceData("", {}, u"Win32", u"", u"FALSE"));
}

TEST(InstanceDataUpdate, MissingSingleLinesAreFilledSoThePairsStayInPlace)
{
    const auto updated = updatedInstanceData("$\n$\n$\n$\n$\n$\nC:\\T\\\n", {{u"X", u"1"}}, u"x64", u"", u"FALSE");
    ASSERT_TRUE(updated);
    const InstanceDataFile file = parseInstanceData(*updated);
    EXPECT_EQ(file.targetDir, u"C:\\T\\");
    EXPECT_EQ(file.allUsers, u"");
    ASSERT_EQ(file.pairs.size(), 4u);
    EXPECT_EQ(file.pairs[0], NamedValue(u"X", u"1"));
    EXPECT_EQ(file.pairs[1], NamedValue(u"QUAV64WOW", u"x64"));
}

TEST(InstanceIdentityFile, ThreeLinesWithOrWithoutByteOrderMark)
{
    const auto identity = parseInstanceIdentity("\xEF\xBB\xBF{P}\r\n{R}\r\nBrennic Lexicon\r\n");
    EXPECT_EQ(identity.productCode, u"{P}");
    EXPECT_EQ(identity.revisionCode, u"{R}");
    EXPECT_EQ(identity.title, u"Brennic Lexicon");
    const auto cut = parseInstanceIdentity("{P}\r\n");
    EXPECT_EQ(cut.productCode, u"{P}");
    EXPECT_FALSE(cut.revisionCode);
    EXPECT_FALSE(cut.title);
}

}  // namespace
}  // namespace pellion
