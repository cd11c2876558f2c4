#include "engine/startup/command_line.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

TEST(CommandTail, DropsTheProgramNameQuotedOrNot)
{
    struct Case { std::u16string raw; std::u16string tail; };
    const Case cases[] = {
        {u"\"C:\\Program Files\\setup.exe\" /s A=1", u"/s A=1"},
        {u"\"C:\\setup.exe\"", u""},
        {u"\"C:\\setup.exe\"x/s", u"/s"},  // the character after the quote goes too
        {u"setup.exe /s  /l=x", u"/s  /l=x"},
        {u"setup.exe", u""},
        {u"\"unterminated", u""},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandTailOf(c.raw), c.tail) << toUtf8(c.raw);
}

TEST(CommandArguments, BlanksSeparateAndQuotesGroup)
{
    using List = std::vector<std::u16string>;
    EXPECT_EQ(splitArguments(u"  /s   a=1 "), (List{u"/s", u"a=1"}));
    EXPECT_EQ(splitArguments(u"NAME=\"two words\" /l=\"C:\\a b\\t.log\""),
              (List{u"NAME=two words", u"/l=C:\\a b\\t.log"}));
    EXPECT_EQ(splitArguments(u"\"\""), (List{u""}));
    EXPECT_EQ(splitArguments(u""), List{});
}

EngineSettings read(std::u16string_view tail)
{
    EngineSettings settings;
    readCommandLine(splitArguments(tail), settings);
    return settings;
}

TEST(CommandSwitches, SilentAndUpdateWithEitherPrefixAnyCase)
{
    struct Case { std::u16string tail; bool silent; bool noSplash; };
    const Case cases[] = {
        {u"/s", true, false},
        {u"-S", true, false},
        {u"/qn", true, false},
        {u"-QN", true, false},
        {u"/silent", false, false},
        {u"s", false, false},
        {u"/update", false, true},
        {u"-UpdateSetup", false, true},
        {u"/s /update", true, true},
    };
    for (const auto& c : cases) {
        const auto settings = read(c.tail);
        EXPECT_EQ(settings.silent, c.silent) << toUtf8(c.tail);
        EXPECT_EQ(settings.noSplash, c.noSplash) << toUtf8(c.tail);
    }
}

TEST(CommandOptions, ValuesAreLowerCasedAndTheFirstMatchWins)
{
    const auto settings = read(u"/L=C:\\Logs\\Setup.LOG -p=D:\\Media /g=\\\\Server\\Share\\x.msi /m=C:\\SFX\\Pack.EXE -l=second");
    EXPECT_EQ(settings.traceFile, u"c:\\logs\\setup.log");
    EXPECT_EQ(settings.mediaOverride, u"d:\\media");
    EXPECT_EQ(settings.gpoSource, u"\\\\server\\share\\x.msi");
    EXPECT_EQ(settings.sfxSource, u"c:\\sfx\\pack.exe");
    // Only "/" introduces the group-policy and self-extractor options.
    EXPECT_EQ(read(u"-g=x -m=y").gpoSource, u"");
    EXPECT_EQ(read(u"-g=x -m=y").sfxSource, u"");
    // The option text may stand anywhere in the argument; three characters go.
    EXPECT_EQ(read(u"x/l=trace.txt").traceFile, u"=trace.txt");
}

TEST(CommandVariables, NameIsUpperCasedAndTheValueKeptWhole)
{
    const auto settings = read(u"installdir=C:\\Apps a=b=c /X=1 -Y=2 plain \"Two Words=x y\"");
    using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;
    EXPECT_EQ(settings.commandLineVariables, (Pairs{{u"INSTALLDIR", u"C:\\Apps"}, {u"A", u"b=c"}, {u"TWO WORDS", u"x y"}}));
}

}  // namespace
