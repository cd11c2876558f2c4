#include <gtest/gtest.h>

#include "authoring/setupbuilder/package_printer.h"
#include "authoring/setupbuilder/statement_ids.h"
#include "common/text.h"
#include "engine/startup/script_package.h"
#include "tests/authoring/setupbuilder/builder_kit.h"

using namespace pellion;
using namespace pellion::authoring;
using namespace pellion::authoring::testing;

namespace {

// A main script with includes two levels deep, the same script included twice,
// an empty include, a disabled statement, statements without parameters and
// awkward parameter texts.
const std::string mainScript =
    "@product-code |{6B8125B1-8560-4919-BC49-5544BF0EFA68}\n"
    "@title |Pellion\n"
    "@publisher |Brennic Ltd.\n"
    "@version |2.0.47\n"
    "@revision-code |{3EDCCA79-A858-4303-9BCF-1D96429E97D7}\n"
    "@language-selection |TRUE\n"
    "@plugin-command |Call DLL Function\n"
    "@compiler-variable |BUILDMODE\n  |SFX\n"
    "@compiler-variable |LANGUAGE\n  |English\n"
    "@component-size |QUAV-PREDEF-COMPONENT\n  |3980640\n"
    "@component-size |Tools\\Spelling\n  |0\n"
    "Set Variable\n  |TARGETDIR\n  |$PROGRAMFILES$\\Pellion\n"            // main 0
    "If\n  |TARGETDIR\n  |0\n  |\n  |FALSE\n"                                // main 1
    "End\n"                                                                    // main 2
    "@include |checkmsi20.pls\n"                                               // main 3
    "[disabled] If\n  |A\n  |0\n  |$\n  |FALSE\n"                             // main 4
    "@include |setupmsi20.pls\n  |MSIRESULT\n"                                // main 5
    "@include |empty.pls\n  |NOTHING\n"                                       // main 6
    "@include |checkmsi20.pls\n"                                               // main 7
    "Call DLL Function\n  @media-folder |Microsoft Windows Installer 2.0\\\n  |   x\n  |$DOLLAR$ among text\n"  // main 8
    "End\n";                                                                   // main 9

const ScriptFiles includedScripts = {
    {"checkmsi20.pls", "Read Registry\n  |HKLM\n  |Software\n  |Version\n  |MSIVERSION\n"},
    {"setupmsi20.pls",
     "Comment\n  |installs Windows Installer 2.0\n"
     "@include |sub\\inner.pls\n  |INNER\n"
     "Return from Include Script\n  |TRUE\n"},
    {"sub\\inner.pls", "Set Variable\n  |X\n  |$\nElse\n"},
    {"empty.pls", "# nothing but a comment\n"},
};

TEST(SetupBuilderRoundTrip, SourcePackageSourcePackageIsByteIdentical)
{
    const std::string package = packageOf(mainScript, includedScripts);
    const PrintedPackage printed = printPackage(package);
    EXPECT_TRUE(printed.warnings.empty()) << printed.warnings.front();
    const std::string again = packageOf(printed.source);
    EXPECT_EQ(again, package);
    EXPECT_EQ(LoadScriptPackage(package).componentSizes,
              (std::vector<std::u16string>{u"QUAV-PREDEF-COMPONENT", u"3980640", u"Tools\\Spelling", u"0"}));
    // And printing is stable: the printed source prints as itself.
    EXPECT_EQ(printPackage(again).source, printed.source);
}

TEST(SetupBuilderRoundTrip, IncludesFillSourceLocationsAndIncludeLevels)
{
    const TScriptPackage p = LoadScriptPackage(packageOf(mainScript, includedScripts));
    struct Expected { const char16_t* name; const char16_t* location; const char16_t* level; };
    const Expected expected[] = {
        {u"Set Variable", u"setup.pls*0", u"0*0"},
        {u"If", u"setup.pls*1", u"0*0"},
        {u"End", u"setup.pls*2", u"0*0"},
        {u"Read Registry", u"checkmsi20.pls*0", u"*1"},
        {u"If", u"setup.pls*4", u"0*0"},
        {u"Comment", u"setupmsi20.pls*0", u"MSIRESULT*1"},
        {u"Set Variable", u"sub\\inner.pls*0", u"INNER*2"},
        {u"Else", u"sub\\inner.pls*1", u"INNER*2"},
        {u"Return from Include Script", u"setupmsi20.pls*2", u"MSIRESULT*1"},
        {u"Read Registry", u"checkmsi20.pls*0", u"*1"},
        {u"Call DLL Function", u"setup.pls*8", u"0*0"},
        {u"End", u"setup.pls*9", u"0*0"},
    };
    ASSERT_EQ(p.statementCount(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(p.statementName(i), expected[i].name) << i;
        EXPECT_EQ(p.sourceLocations.line(i), expected[i].location) << i;
        EXPECT_EQ(p.includeLevels.line(i), expected[i].level) << i;
    }
    EXPECT_TRUE(p.statementDisabled(4));
    EXPECT_EQ(p.param(4, 3), u"$");
    EXPECT_EQ(p.param(10, 2), u"$DOLLAR$ among text");
    EXPECT_EQ(p.statementMediaFolder(10), u"Microsoft Windows Installer 2.0\\");
    EXPECT_EQ(p.param(2, 1), u"");  // "End" has no block
    EXPECT_EQ(p.compilerVariable(u"language"), u"English");
    EXPECT_TRUE(p.languageSelection);
}

TEST(SetupBuilderRoundTrip, PrintedSourceShowsIncludesInline)
{
    const std::string source = printPackage(packageOf(mainScript, includedScripts)).source;
    for (const char* expected : {"@begin-include |setupmsi20.pls\n  |MSIRESULT\n", "  @begin-include |sub\\inner.pls\n    |INNER\n",
                                 "@begin-include |empty.pls\n  |NOTHING\n  @id |", "[disabled] If\n",
                                 "  @media-folder |Microsoft Windows Installer 2.0\\\n", "@source-name |setup.pls\n"})
        EXPECT_NE(source.find(expected), std::string::npos) << expected;
}

TEST(SetupBuilderRoundTrip, IdsAreStableAcrossBuildsAndDistinctPerPlace)
{
    EXPECT_EQ(packageOf(mainScript, includedScripts), packageOf(mainScript, includedScripts));

    const PackageDraft draft = draftOf(mainScript, includedScripts);
    for (const auto& statement : draft.statements)
        EXPECT_TRUE(isBracedGuid(statement.id)) << toUtf8(statement.id);
    // The same script included twice: same statement, different ids.
    EXPECT_NE(draft.statements[3].id, draft.statements[9].id);

    // Changing a later statement leaves the ids before it alone; a changed
    // statement gets a new id.
    std::string changed = mainScript;
    changed.replace(changed.find("  |   x\n"), 8, "  |   y\n");
    const PackageDraft other = draftOf(changed, includedScripts);
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(other.statements[i].id, draft.statements[i].id) << i;
    EXPECT_NE(other.statements[10].id, draft.statements[10].id);
    EXPECT_EQ(other.statements[11].id, draft.statements[11].id);
}

TEST(SetupBuilderRoundTrip, DollarWordsAreWrittenOneWay)
{
    // Whatever spelling the source uses, the package holds "$DOLLAR$", so the
    // printed "$" builds the same bytes.
    const std::string a = packageOf("Set Variable\n  |$wild_dollar$\n  |$\n  |$Dollar$\n");
    EXPECT_NE(a.find("$DOLLAR$\r\n$DOLLAR$\r\n$DOLLAR$\r\n"), std::string::npos);
    EXPECT_EQ(packageOf(printPackage(a).source), a);
}

TEST(SetupBuilderRoundTrip, ExplicitIdsAndOddNamesSurvive)
{
    const std::string source =
        "@command | Leading Blank\n  @id |{11111111-2222-3333-4444-555555555555}\n  |x\n"
        "@command |#hash\n  @disabled\n"
        "@command |[bracket]\n"
        "@command |@at\n";
    const std::string package = packageOf(source);
    const PrintedPackage printed = printPackage(package);
    EXPECT_TRUE(printed.warnings.empty());
    EXPECT_EQ(packageOf(printed.source), package);
    const TScriptPackage p = LoadScriptPackage(package);
    EXPECT_EQ(p.statementName(0), u" Leading Blank");
    EXPECT_EQ(p.statementId(0), u"{11111111-2222-3333-4444-555555555555}");
    EXPECT_TRUE(p.statementDisabled(1));
    EXPECT_EQ(p.statementName(3), u"@at");
}

TEST(SetupBuilderRoundTrip, AnEmptyScriptIsAPackageToo)
{
    const std::string package = packageOf("");
    const TScriptPackage p = LoadScriptPackage(package);
    EXPECT_EQ(p.statementCount(), 0u);
    EXPECT_EQ(p.mediaMode, 1);
    EXPECT_EQ(p.codePage, 1252);
    EXPECT_EQ(packageOf(printPackage(package).source), package);
}

TEST(SetupBuilderRoundTrip, ForeignPackagesPrintWithWarnings)
{
    // Blocks grouped by command kind and a leftover include block, as another
    // authoring tool writes them: printed, but not byte for byte.
    const std::string foreign =
        "End\r\nSet Variable\r\n$\r\n"
        "{00000000-0000-0000-0000-000000000002}\r\n{00000000-0000-0000-0000-000000000001}\r\n$\r\n"
        "{00000000-0000-0000-0000-0000000000FF}\r\ncheckmsi20\r\n"
        "{00000000-0000-0000-0000-000000000001}\r\nA\r\nB\r\n$\r\n"
        "\r\n\r\n$\r\n{6B8125B1-8560-4919-BC49-5544BF0EFA68}\r\nT\r\n$\r\n\r\n\r\n\r\n\r\n\r\n1\r\n"
        "offline\r\npw\r\n$\r\n\r\n\r\n$\r\n1\r\n$\r\n{3EDCCA79-A858-4303-9BCF-1D96429E97D7}\r\n$\r\nFALSE\r\nEnglish\r\n"
        "$\r\n$\r\n1252\r\nmain.oxa*0\r\nmain.oxa*1\r\n$\r\n0\r\n$\r\n0*0\r\n0*0\r\n$\r\n";
    const PrintedPackage printed = printPackage(foreign);
    EXPECT_FALSE(printed.warnings.empty());
    const TScriptPackage p = LoadScriptPackage(packageOf(printed.source));
    EXPECT_EQ(p.param(1, 1), u"A");
    EXPECT_EQ(p.param(1, 2), u"B");
    EXPECT_EQ(p.statementName(0), u"End");
}

}  // namespace
