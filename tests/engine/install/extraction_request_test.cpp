#include "engine/install/extraction_request.h"

#include <gtest/gtest.h>

using namespace pellion;

namespace {

TEST(ExtractionHandOver, TheChildReadsWhatTheParentWrote)
{
    const ExtractionRequest sent{u"C:\\Setup\\setup.res", u"p\u00E4ss word", u"C:\\Temp\\oxa1\\", true, false,
                                 {u"Lexwiz.exe", u"Language Packs\\German\\dialogs.dat"}};
    const auto received = readRequest(requestFileText(sent), requestItemsText(sent));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->archive, sent.archive);
    EXPECT_EQ(received->password, sent.password);
    EXPECT_EQ(received->targetFolder, sent.targetFolder);
    EXPECT_TRUE(received->pathFlag);
    EXPECT_FALSE(received->renameFlag);
    EXPECT_EQ(received->entries, sent.entries);
    EXPECT_EQ(requestFileText(sent).substr(requestFileText(sent).size() - 13), "TRUE\r\nFALSE\r\n");
}

TEST(ExtractionHandOver, FlagsInAnyCaseAByteOrderMarkAndShortFiles)
{
    const auto request = readRequest("\xEF\xBB\xBF" "a\nb\nc\ntrue\nFalse", "");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->archive, u"a");
    EXPECT_TRUE(request->pathFlag);
    EXPECT_FALSE(request->renameFlag);
    EXPECT_TRUE(request->entries.empty());
    EXPECT_FALSE(readRequest("a\r\nb\r\nc\r\nTRUE\r\n", ""));
}

TEST(ExtractionHandOver, TheAnswerIsTheFirstLineEmptyMeaningSuccess)
{
    EXPECT_EQ(answerOf("\r\n"), u"");
    EXPECT_EQ(answerOf(""), u"");
    EXPECT_EQ(answerOf("\xEF\xBB\xBF#1018\r\nrest"), u"#1018");
}

}  // namespace
