#include "authoring/packbuilder/pack_source.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace pellion;

namespace {

const std::string settings = "name = German\nextension = German\nformat = 4\nversion = 1.2.3\n";

TEST(PackSource, SettingsAndEntriesAreReadExactly)
{
    const auto parsed = parsePackSource(
        "\xEF\xBB\xBF# a comment\r\n\r\nname =  Deutsch (Test) \r\nextension=german\r\nformat=3\r\nversion = 2.0.11\r\n",
        "# welcome\n>welcome.dfm.Label1.Welcome\n>welcome.dfm.Label2.  padded  \n=Willkommen\n=  gepolstert  \n\n"
        ">other.dfm.Label1.X\n=Y\n",
        ">{ID}\n>MessageBox 1\n>\n=\n",
        ">Cancel\n=Abbrechen\n>< &Back\n=< &Zur\xC3\xBC" "ck\n");
    ASSERT_TRUE(parsed.pack) << parsed.error;
    const PackSource& pack = *parsed.pack;
    EXPECT_EQ(pack.name, u"Deutsch (Test)");
    EXPECT_EQ(pack.extension, u"german");
    EXPECT_EQ(pack.format, 3);
    EXPECT_EQ(pack.major, 2);
    EXPECT_EQ(pack.minor, 0);
    EXPECT_EQ(pack.build, 11);
    ASSERT_EQ(pack.dialogs.size(), 2u);
    EXPECT_EQ(pack.dialogs[0].lookupText, u"welcome.dfm.Label1.Welcome\nwelcome.dfm.Label2.  padded  ");
    EXPECT_EQ(pack.dialogs[0].translation, u"Willkommen\r\n  gepolstert  ");
    EXPECT_EQ(pack.dialogs[1].translation, u"Y");
    ASSERT_EQ(pack.scripts.size(), 1u);
    EXPECT_EQ(pack.scripts[0].lookupText, u"{ID}\nMessageBox 1\n");
    EXPECT_EQ(pack.scripts[0].translation, u"");
    ASSERT_EQ(pack.wellKnown.size(), 2u);
    EXPECT_EQ(pack.wellKnown[1].source, u"< &Back");
    EXPECT_EQ(pack.wellKnown[1].translation, u"< &Zurück");
}

TEST(PackSource, MistakesAreReportedWithFileAndLine)
{
    struct Case {
        std::string settings;
        std::string dialogs;
        std::string scripts;
        std::string wellKnown;
        std::string error;
    };
    const Case cases[] = {
        {"extension = German\n", "", "", "", "pack.txt: the pack needs a name"},
        {"name = X\nextension = Klingon\n", "", "", "", "pack.txt: \"Klingon\" is not a language extension Lexwiz knows"},
        {"name = X\nformat = 5\n", "", "", "", "pack.txt:2: the format is 3 or 4"},
        {"name = X\nversion = 1.2\n", "", "", "", "pack.txt:2: the version is major.minor.build"},
        {"name = X\nversion = 1.x.3\n", "", "", "", "pack.txt:2: the version is major.minor.build"},
        {"name = X\ncolour = red\n", "", "", "", "pack.txt:2: unknown setting \"colour\""},
        {"name = X\nname = Y\n", "", "", "", "pack.txt:2: \"name\" is given twice"},
        {"name X\n", "", "", "", "pack.txt:1: expected \"name = value\""},
        {settings, "=Hallo\n", "", "", "dialogs.txt:1: a translation (\"=\") needs its lookup lines (\">\") first"},
        {settings, ">a\n=b\n\n>c\n", "", "", "dialogs.txt:4: the entry has no translation (\"=\") lines"},
        {settings, "", ">a\nb\n", "", "scripts.txt:2: a line starts with \">\", \"=\" or \"#\""},
        {settings, ">a\n=b\n>a\n=c\n", "", "", "dialogs.txt:3: the same lookup text is given twice"},
        {settings, "", "", ">a\n>b\n=c\n", "wellknown.txt:1: a well-known pair is one \">\" line and one \"=\" line"},
        {settings, "", "", ">a\n=\n", "wellknown.txt:1: neither side of a well-known pair may be empty"},
        {settings, "", "", ">a\n=b\n>a\n=c\n", "wellknown.txt:3: the same source is given twice"},
    };
    for (const auto& c : cases) {
        const auto parsed = parsePackSource(c.settings, c.dialogs, c.scripts, c.wellKnown);
        EXPECT_FALSE(parsed.pack) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
}

}  // namespace
