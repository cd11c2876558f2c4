#include "engine/startup/engine_messages.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

// A localization block of 126 lines where line n reads prefix + n.
std::string block(const std::string& prefix)
{
    std::string text;
    for (int n = 1; n <= EngineMessages::count; ++n)
        text += prefix + std::to_string(n) + "\r\n";
    return text;
}

TEST(EngineMessages, EnglishDefaultsWithoutAFile)
{
    const EngineMessages messages;
    EXPECT_EQ(messages.text(Message::ResourceNotFound), u"Setup resource not found");
    EXPECT_EQ(messages.text(Message::RuntimeErrorInInstall), u"Runtime error in install: ");
    EXPECT_EQ(messages.text(126), u"<no version information>");
    EXPECT_EQ(messages.text(54), u"");
    EXPECT_EQ(messages.text(0), u"");
    EXPECT_EQ(messages.text(127), u"");
}

TEST(EngineMessages, StopsAfterTheUsersLanguageAndSkipsPlaceholders)
{
    const std::string file = "\xEF\xBB\xBF" + block("base ") + "French\r\n" + block("fr ") + "german\r\n" + block("de ")
                           + "Italian\r\n" + block("it ");
    EngineMessages messages;
    messages.load(file, u"GERMAN");
    EXPECT_EQ(messages.text(2), u"de 2");
    EXPECT_EQ(messages.text(90), u"de 90");
    EXPECT_EQ(messages.text(91), u"") << "placeholders are read and dropped";
    EXPECT_EQ(messages.text(112), u"de 112");
}

TEST(EngineMessages, WithoutTheUsersLanguageTheLastBlockStays)
{
    EngineMessages messages;
    messages.load(block("base ") + "French\n" + block("fr "), u"Japanese");
    EXPECT_EQ(messages.text(5), u"fr 5");
}

TEST(EngineMessages, AShortFileChangesOnlyTheLinesItHas)
{
    EngineMessages messages;
    messages.load("one\rtwo\r", u"English");
    EXPECT_EQ(messages.text(1), u"one");
    EXPECT_EQ(messages.text(2), u"two");
    EXPECT_EQ(messages.text(3), u"Setup resource decompression failure");
}

}  // namespace

namespace {

TEST(MessageBoxCaption, TitleAndBrandingRule)
{
    EXPECT_EQ(messageBoxCaption(u"Pellion", false), u"Pellion - Vantrel Wizard");
    EXPECT_EQ(messageBoxCaption(u"", false), u"Vantrel Wizard");
    EXPECT_EQ(messageBoxCaption(u"Pellion", true), u"Pellion");
    EXPECT_EQ(messageBoxCaption(u"", true), u"");
}

}  // namespace
