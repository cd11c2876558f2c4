#include "authoring/setupbuilder/script_source.h"

#include <gtest/gtest.h>

#include "authoring/setupbuilder/build_error.h"
#include "common/text.h"
#include "engine/startup/script_package.h"
#include "tests/authoring/setupbuilder/builder_kit.h"

using namespace pellion;
using namespace pellion::authoring;
using namespace pellion::authoring::testing;

namespace {

// Each parameter text, written as a value line, reaches the engine unchanged
// (the dollar words come back as "$", which is what they stand for).
TEST(ScriptSource, EveryParameterTextSurvivesToTheEngine)
{
    struct Case { std::string written; std::u16string engineReads; };
    const std::string longLine(100000, 'x');
    const Case cases[] = {
        {"", u""},
        {"   leading blanks", u"   leading blanks"},
        {"trailing blanks   ", u"trailing blanks   "},
        {"\ttab\t", u"\ttab\t"},
        {"$", u"$"},
        {"$DOLLAR$", u"$"},
        {"$wild_dollar$", u"$"},
        {"a $ b", u"a $ b"},
        {"$TITLE$ and $$", u"$TITLE$ and $$"},
        {"#LOCMODE#", u"#LOCMODE#"},
        {"# not a comment", u"# not a comment"},
        {"|pipe", u"|pipe"},
        {"@id |x", u"@id |x"},
        {"[disabled] x", u"[disabled] x"},
        {"C:\\Program Files\\\\Pellion\\", u"C:\\Program Files\\\\Pellion\\"},
        {"Gr\xC3\xBC\xC3\x9F" "e \xE4\xB8\xAD \xF0\x9F\x98\x80", u"Gr\u00FC\u00DFe \u4E2D \U0001F600"},
        {longLine, toUtf16(longLine)},
    };
    std::string script = "Set Variable\n";
    for (const auto& c : cases)
        script += "  |" + c.written + "\n";
    script += "MessageBox\r\n  |crlf line\r\n";
    const TScriptPackage package = LoadScriptPackage(packageOf(script));
    for (size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(package.param(0, static_cast<int>(k + 1)), cases[k].engineReads) << cases[k].written.substr(0, 40);
    EXPECT_EQ(package.param(0, static_cast<int>(std::size(cases) + 1)), package.statementId(1));
    EXPECT_EQ(package.param(1, 1), u"crlf line");
}

TEST(ScriptSource, NamesMarksCommentsAndIndentation)
{
    const SourceScript script = parseScriptSource(
        "\xEF\xBB\xBF# comment\n"
        "   Set Variable   \n"
        "\t|a\n"
        "  # a comment between parameters\n"
        "\n"
        "  |b\n"
        "[disabled]   If  \n"
        "@command | odd name\n"
        "  @disabled\n"
        "  @media-folder |Microsoft Windows Installer 2.0\\\n"
        "  @id |{79A06812-6184-4DBA-AE25-188722BBDF0F}\n"
        "  |p\n"
        "End",
        u"setup.pls");
    ASSERT_EQ(script.items.size(), 4u);
    EXPECT_EQ(script.items[0].statement.name, u"Set Variable");
    EXPECT_EQ(script.items[0].statement.params, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_FALSE(script.items[0].statement.disabled);
    EXPECT_EQ(script.items[1].statement.name, u"If");
    EXPECT_TRUE(script.items[1].statement.disabled);
    EXPECT_TRUE(script.items[1].statement.params.empty());
    EXPECT_EQ(script.items[2].statement.name, u" odd name");
    EXPECT_TRUE(script.items[2].statement.disabled);
    EXPECT_EQ(script.items[2].statement.mediaFolder, u"Microsoft Windows Installer 2.0\\");
    EXPECT_EQ(script.items[2].statement.id, u"{79A06812-6184-4DBA-AE25-188722BBDF0F}");
    EXPECT_EQ(script.items[2].statement.params, std::vector<std::u16string>{u"p"});
    EXPECT_EQ(script.items[3].statement.name, u"End");
    EXPECT_EQ(script.items[3].line, 13u);
}

TEST(ScriptSource, PackageFieldsFillTheHeader)
{
    const SourceScript script = parseScriptSource(
        "@product-code |{6B8125B1-8560-4919-BC49-5544BF0EFA68}\n"
        "@title |Pellion\n"
        "@publisher |Brennic Ltd.\n"
        "@contact |\n"
        "@help-link |http://h\n"
        "@update-link |http://u\n"
        "@comments |  rights  \n"
        "@version |2.0.47\n"
        "@media-mode |2\n"
        "@revision-code |{3EDCCA79-A858-4303-9BCF-1D96429E97D7}\n"
        "@language-selection |true\n"
        "@default-language |German\n"
        "@code-page |65001\n"
        "@source-name |lexpack.oxa\n"
        "@plugin-command |Call DLL Function\n"
        "@plugin-command |MD5 Fingerprints\n"
        "@compiler-variable |LANGUAGE\n  |English\n"
        "@compiler-variable\n  |LANGUAGE\n  |\n",
        u"setup.pls");
    const auto& h = script.header;
    EXPECT_EQ(h.productCode, u"{6B8125B1-8560-4919-BC49-5544BF0EFA68}");
    EXPECT_EQ(h.title, u"Pellion");
    EXPECT_EQ(h.publisher, u"Brennic Ltd.");
    EXPECT_EQ(h.contact, u"");
    EXPECT_EQ(h.helpLink, u"http://h");
    EXPECT_EQ(h.updateInfoLink, u"http://u");
    EXPECT_EQ(h.comments, u"  rights  ");
    EXPECT_EQ(h.productVersion, u"2.0.47");
    EXPECT_EQ(h.mediaMode, 2);
    EXPECT_EQ(h.revisionCode, u"{3EDCCA79-A858-4303-9BCF-1D96429E97D7}");
    EXPECT_TRUE(h.languageSelection);
    EXPECT_EQ(h.defaultLanguage, u"German");
    EXPECT_EQ(h.codePage, 65001);
    EXPECT_EQ(script.sourceName, u"lexpack.oxa");
    EXPECT_EQ(h.pluginCommands, (std::vector<std::u16string>{u"Call DLL Function", u"MD5 Fingerprints"}));
    ASSERT_EQ(h.compilerVariables.size(), 2u);
    EXPECT_EQ(h.compilerVariables[1], (std::pair<std::u16string, std::u16string>{u"LANGUAGE", u""}));
}

TEST(ScriptSource, RefusesWhatCannotBeKeptExactly)
{
    struct Case { const char* what; std::string main; const char* message; };
    const Case cases[] = {
        {"value before any statement", "|x\n", "setup.pls:1:"},
        {"carriage return inside a value", "Set Variable\n  |a\rb\n", "carriage return"},
        {"invalid UTF-8", "Set Variable\n  |\xC3\x28\n", "not valid UTF-8"},
        {"unknown directive", "@titel |x\n", "unknown directive @titel"},
        {"unknown mark", "[off] Set Variable\n", "unknown mark"},
        {"field given twice", "@title |a\n@title |b\n", "given twice"},
        {"field without value", "@title\n", "exactly one value"},
        {"field with two values", "@title |a\n|b\n", "exactly one value"},
        {"compiler variable without value", "@compiler-variable |A\n", "two values"},
        {"component size without size", "@component-size |A\n", "two values"},
        {"component size not a number", "@component-size |A\n  |12 KB\n", "no number of bytes"},
        {"negative component size", "@component-size |A\n  |-1\n", "no number of bytes"},
        {"media mode not a number", "@media-mode |one\n", "decimal number"},
        {"language selection neither", "@language-selection |yes\n", "TRUE or FALSE"},
        {"id without value", "End\n  @id\n", "same line"},
        {"second id", "End\n  @id |{79A06812-6184-4DBA-AE25-188722BBDF0F}\n  @id |{79A06812-6184-4DBA-AE25-188722BBDF0F}\n",
         "second @id"},
        {"attribute outside a statement", "@media-folder |x\n", "belongs to a statement"},
        {"include without file", "@include\nEnd\n", "script file"},
        {"begin without end", "@begin-include |a.pls\nEnd\n", "no @end-include"},
        {"end without begin", "@end-include\n", "without @begin-include"},
        {"header inside an include", "@begin-include |a.pls\n@title |x\n@end-include\n", "main script"},
        {"text after a directive", "@title Pellion\n", "only a value"},
        {"disabled without name", "[disabled]\n", "needs a command name"},
    };
    for (const auto& c : cases) {
        try {
            parseScriptSource(c.main, u"setup.pls");
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const BuildError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
        }
    }
}

TEST(ScriptSource, RefusesWhatTheEngineWouldMisread)
{
    struct Case { const char* what; std::string main; ScriptFiles files; const char* message; };
    const Case cases[] = {
        {"lone dollar as compiler variable", "@compiler-variable |A\n  |$\n", {}, "lone \"$\""},
        {"lone dollar as plug-in command", "@plugin-command |$\n", {}, "lone \"$\""},
        {"lone dollar as component", "@component-size |$\n  |1\n", {}, "lone \"$\""},
        {"lone dollar as media folder", "End\n  @media-folder |$\n", {}, "lone \"$\""},
        {"id that is no GUID", "End\n  @id |statement-1\n", {}, "not a GUID"},
        {"same id twice, any case",
         "End\n  @id |{79A06812-6184-4DBA-AE25-188722BBDF0F}\nEnd\n  @id |{79a06812-6184-4dba-ae25-188722bbdf0f}\n", {},
         "already used"},
        {"parameter equal to an id",
         "Set Variable\n  |{79A06812-6184-4DBA-AE25-188722BBDF0F}\nEnd\n  @id |{79A06812-6184-4DBA-AE25-188722BBDF0F}\n", {},
         "equals the id"},
        {"result variable 0", "@include |a.pls\n  |0\n", {{"a.pls", "End\n"}}, "result variable"},
        {"result variable with star", "@include |a.pls\n  |R*1\n", {{"a.pls", "End\n"}}, "result variable"},
        {"script file with star", "@include |a*.pls\n", {{"a*.pls", "End\n"}}, "cannot hold \"*\""},
        {"missing include", "@include |absent.pls\n", {}, "setup.pls:1: no script absent.pls"},
        {"include cycle", "@include |a.pls\n", {{"a.pls", "@include |b.pls\n"}, {"b.pls", "@include |a.pls\n"}},
         "includes itself"},
        {"package field in an included script", "@include |a.pls\n", {{"a.pls", "End\n@title |x\n"}}, "a.pls:2:"},
    };
    for (const auto& c : cases) {
        try {
            packageOf(c.main, c.files);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const BuildError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
        }
    }
}

}  // namespace
