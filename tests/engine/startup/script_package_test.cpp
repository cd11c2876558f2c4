#include "engine/startup/script_package.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/text.h"

using namespace pellion;

namespace {

constexpr const char* idSet = "{EAB25353-C1D7-48FC-8064-E89DEA7BA9D4}";
constexpr const char* idIf = "{79A06812-6184-4DBA-AE25-188722BBDF0F}";
constexpr const char* idEnd = "{0B1A6E1E-3C55-4D0B-9F0E-6C1D2B6A7F10}";

// The raw lines of the 28 sections (index 1..28); list sections carry their
// terminator "$" as the last line, so a test can take it away.
struct PackageLines {
    std::array<std::vector<std::string>, 29> sections;
    std::string lineEnd = "\r\n";
    std::string byteOrderMark = "\xEF\xBB\xBF";
    std::string trailing;

    std::string text() const
    {
        std::string out = byteOrderMark;
        for (size_t s = 1; s <= 28; ++s)
            for (const auto& line : sections[s])
                out += line + lineEnd;
        return out + trailing;
    }
};

// A small package in the shape of the engine's own: three statements, the
// middle one disabled, the second coming from an include.
PackageLines samplePackage()
{
    PackageLines p;
    p.sections[1] = {"Set Variable", "If", "End", "$"};
    p.sections[2] = {idSet, idIf, idEnd, "$"};
    p.sections[3] = {idIf, "TARGETDIR", "0", "", "FALSE", idSet, "TARGETDIR", "$DOLLAR$", "$"};
    p.sections[4] = {"", "C", "", "$"};
    p.sections[5] = {"{6B8125B1-8560-4919-BC49-5544BF0EFA68}"};
    p.sections[6] = {"Pellion"};
    p.sections[7] = {"Call DLL Function", "MD5 Fingerprints", "$"};
    p.sections[8] = {"Brennic Ltd."};
    p.sections[9] = {""};
    p.sections[10] = {"http://example.com/help"};
    p.sections[11] = {"http://example.com/update"};
    p.sections[12] = {"All rights reserved."};
    p.sections[13] = {"2.0.47"};
    p.sections[14] = {"offline", "scrambled", "$"};
    p.sections[15] = {"", "Microsoft Windows Installer 2.0\\", "", "$"};
    p.sections[16] = {"1"};
    p.sections[17] = {"QUAV-PREDEF-COMPONENT", "3980640", "$"};
    p.sections[18] = {"{3EDCCA79-A858-4303-9BCF-1D96429E97D7}"};
    p.sections[19] = {"OFFLINE", "79CCEA70\\Lexwiz.exe", "OFFLINE\\6218127C\\79CCEA70\\", "$"};
    p.sections[20] = {"TRUE"};
    p.sections[21] = {"English"};
    p.sections[22] = {"6218127C", "2", "$"};
    p.sections[23] = {"BUILDMODE", "SFX", "LANGUAGE", "English", "$"};
    p.sections[24] = {"1252"};
    p.sections[25] = {"lexpack.oxa*0", "checkmsi20.oxa*0", "lexpack.oxa*2", "$"};
    p.sections[26] = {"4023136"};
    p.sections[27] = {"6218127C", "NEWHEADER", "OFFLINE\\6218127C\\79CCEA70\\Lexwiz.exe", "", "$"};
    p.sections[28] = {"0*0", "RESULT*1", "0*0", "$"};
    return p;
}

std::u16string u(const std::string& utf8) { return toUtf16(utf8); }

std::vector<std::u16string> lines16(const std::vector<std::string>& lines)
{
    std::vector<std::u16string> out;
    for (const auto& line : lines)
        out.push_back(toUtf16(line));
    return out;
}

TEST(ScriptPackage, LoadsEverySectionIntoItsMember)
{
    const TScriptPackage p = LoadScriptPackage(samplePackage().text());
    EXPECT_EQ(p.statementNames.lines(), lines16({"Set Variable", "If", "End"}));
    EXPECT_EQ(p.statementIds.lines(), lines16({idSet, idIf, idEnd}));
    ASSERT_EQ(p.parameterLists.size(), 1u);
    EXPECT_EQ(p.parameterLists[0].size(), 8u);
    EXPECT_EQ(p.statementStates.lines(), lines16({"", "C", ""}));
    EXPECT_EQ(p.productCode, u"{6B8125B1-8560-4919-BC49-5544BF0EFA68}");
    EXPECT_EQ(p.title, u"Pellion");
    EXPECT_EQ(p.translationProjectName, u"Pellion");
    EXPECT_EQ(p.pluginCommands, lines16({"Call DLL Function", "MD5 Fingerprints"}));
    EXPECT_EQ(p.publisher, u"Brennic Ltd.");
    EXPECT_EQ(p.contact, u"");
    EXPECT_EQ(p.helpLink, u"http://example.com/help");
    EXPECT_EQ(p.updateInfoLink, u"http://example.com/update");
    EXPECT_EQ(p.comments, u"All rights reserved.");
    EXPECT_EQ(p.productVersion, u"2.0.47");
    EXPECT_EQ(p.webMediaPasswords, lines16({"offline", "scrambled"}));
    EXPECT_EQ(p.statementMediaFolders.lines(), lines16({"", "Microsoft Windows Installer 2.0\\", ""}));
    EXPECT_EQ(p.mediaMode, 1);
    EXPECT_EQ(p.componentSizes, lines16({"QUAV-PREDEF-COMPONENT", "3980640"}));
    EXPECT_EQ(p.revisionCode, u"{3EDCCA79-A858-4303-9BCF-1D96429E97D7}");
    EXPECT_EQ(p.offlineFiles.size(), 3u);
    EXPECT_TRUE(p.languageSelection);
    EXPECT_EQ(p.defaultLanguage, u"English");
    EXPECT_EQ(p.commandHeaders.lines(), lines16({"6218127C", "2"}));
    EXPECT_EQ(p.compilerVariables.size(), 4u);
    EXPECT_EQ(p.codePage, 1252);
    EXPECT_EQ(p.sourceLocations.size(), 3u);
    EXPECT_EQ(p.payloadSize, 4023136);
    EXPECT_EQ(p.fileHeaders.size(), 4u);
    EXPECT_EQ(p.includeLevels.lines(), lines16({"0*0", "RESULT*1", "0*0"}));
}

TEST(ScriptPackage, ByteOrderMarkIsOptionalAndNeverShortensTheFirstName)
{
    PackageLines withMark = samplePackage();
    PackageLines withoutMark = samplePackage();
    withoutMark.byteOrderMark.clear();
    for (const auto* p : {&withMark, &withoutMark}) {
        const TScriptPackage package = LoadScriptPackage(p->text());
        EXPECT_EQ(package.statementName(0), u"Set Variable");
        EXPECT_EQ(package.statementCount(), 3u);
    }
}

TEST(ScriptPackage, AnyLineEndEndsALine)
{
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        PackageLines p = samplePackage();
        p.lineEnd = lineEnd;
        const TScriptPackage package = LoadScriptPackage(p.text());
        EXPECT_EQ(package.statementNames.lines(), lines16({"Set Variable", "If", "End"})) << int(lineEnd[0]);
        EXPECT_EQ(package.payloadSize, 4023136);
    }
}

TEST(ScriptPackage, WholeDollarWordsInParametersReadBackAsDollar)
{
    struct Case { const char* stored; const char16_t* read; };
    const Case cases[] = {
        {"$DOLLAR$", u"$"},
        {"$dollar$", u"$"},
        {"$WILD_DOLLAR$", u"$"},
        {"$Wild_Dollar$", u"$"},
        {"a $DOLLAR$ b", u"a $DOLLAR$ b"},
        {" $DOLLAR$", u" $DOLLAR$"},
        {"$DOLLAR$$", u"$DOLLAR$$"},
        {"$$", u"$$"},
    };
    for (const auto& c : cases) {
        PackageLines p = samplePackage();
        p.sections[3] = {idSet, c.stored, "$"};
        const TScriptPackage package = LoadScriptPackage(p.text());
        EXPECT_EQ(ParamOf(package.parameterLists, u(idSet), 1), c.read) << c.stored;
    }
}

TEST(ScriptPackage, DollarWordsOutsideTheParameterSectionStayAsWritten)
{
    PackageLines p = samplePackage();
    p.sections[1] = {"$DOLLAR$", "If", "End", "$"};
    p.sections[6] = {"$DOLLAR$"};
    p.sections[7] = {"$WILD_DOLLAR$", "$"};
    p.sections[23] = {"NAME", "$DOLLAR$", "$"};
    const TScriptPackage package = LoadScriptPackage(p.text());
    EXPECT_EQ(package.statementName(0), u"$DOLLAR$");
    EXPECT_EQ(package.title, u"$DOLLAR$");
    EXPECT_EQ(package.pluginCommands, lines16({"$WILD_DOLLAR$"}));
    EXPECT_EQ(package.compilerVariable(u"NAME"), u"$DOLLAR$");
}

TEST(ScriptPackage, AMissingTerminatorSwallowsTheNextSection)
{
    // Section 27 without its "$" takes in section 28; a "$" line after the
    // package then closes section 28, empty.
    PackageLines p = samplePackage();
    p.sections[27].pop_back();
    p.trailing = "$\r\n";
    const TScriptPackage package = LoadScriptPackage(p.text());
    EXPECT_EQ(package.fileHeaders.lines(),
              lines16({"6218127C", "NEWHEADER", "OFFLINE\\6218127C\\79CCEA70\\Lexwiz.exe", "", "0*0", "RESULT*1", "0*0"}));
    EXPECT_TRUE(package.includeLevels.empty());
}

TEST(ScriptPackage, AMissingTerminatorEarlyShiftsTheTextUntilANumberSectionFails)
{
    PackageLines p = samplePackage();
    p.sections[1].pop_back();
    try {
        LoadScriptPackage(p.text());
        FAIL() << "loaded a shifted package";
    } catch (const TScriptPackageError& error) {
        EXPECT_EQ(error.text(), u"Invalid numeric input");
        EXPECT_EQ(error.section(), 16);
    }
}

TEST(ScriptPackage, NumberSectionsReadOneNumberAndDropTheRestOfTheLine)
{
    struct Case { int section; const char* line; int64_t value; };
    const Case cases[] = {
        {16, "2", 2},
        {16, " 3 rest of the line", 3},
        {16, "\t-1", -1},
        {16, "+7", 7},
        {16, "2147483647", 2147483647},
        {24, "65001", 65001},
        {24, "4294967296", 4294967296LL},
        {26, "9223372036854775807", INT64_MAX},
        {26, "0", 0},
    };
    for (const auto& c : cases) {
        PackageLines p = samplePackage();
        p.sections[c.section] = {c.line};
        const TScriptPackage package = LoadScriptPackage(p.text());
        const int64_t read = c.section == 16 ? package.mediaMode : c.section == 24 ? package.codePage : package.payloadSize;
        EXPECT_EQ(read, c.value) << c.line;
        EXPECT_EQ(package.includeLevels.size(), 3u) << c.line;
    }
}

TEST(ScriptPackage, ANumberSectionWithoutANumberIsAnError)
{
    struct Case { int section; const char* line; };
    const Case cases[] = {
        {16, "abc"}, {16, ""}, {16, "1.5"}, {16, "2147483648"}, {16, "12abc"}, {16, "0x10"},
        {24, "x"}, {24, " "},
        {26, "12a"}, {26, "9223372036854775808"}, {26, "-"},
    };
    for (const auto& c : cases) {
        PackageLines p = samplePackage();
        p.sections[c.section] = {c.line};
        try {
            LoadScriptPackage(p.text());
            ADD_FAILURE() << "accepted \"" << c.line << "\" in section " << c.section;
        } catch (const TScriptPackageError& error) {
            EXPECT_EQ(error.text(), u"Invalid numeric input") << c.line;
            EXPECT_STREQ(error.what(), "Invalid numeric input");
            EXPECT_EQ(error.section(), c.section) << c.line;
        }
    }
}

TEST(ScriptPackage, LanguageSelectionNeedsExactlyTrue)
{
    for (const auto& [line, expected] : {std::pair{"TRUE", true}, {"True", false}, {"true", false}, {"TRUE ", false}, {"", false}}) {
        PackageLines p = samplePackage();
        p.sections[20] = {line};
        EXPECT_EQ(LoadScriptPackage(p.text()).languageSelection, expected) << line;
    }
}

TEST(ScriptPackage, TextEndingBeforeTheLastSectionIsAnErrorAtEveryCut)
{
    // Every prefix of the package: a clean error, never a crash or a hang; only
    // cuts inside the last line end still hold the whole package.
    const std::string text = samplePackage().text();
    const size_t complete = text.size() - 2;  // the final line end may go: a last "$" still ends the list
    for (size_t cut = 0; cut < text.size(); ++cut) {
        const std::string_view prefix = std::string_view(text).substr(0, cut);
        if (cut >= complete) {
            EXPECT_NO_THROW(LoadScriptPackage(prefix)) << cut;
            continue;
        }
        try {
            LoadScriptPackage(prefix);
            ADD_FAILURE() << "loaded a package cut at byte " << cut;
        } catch (const TScriptPackageError& error) {
            EXPECT_TRUE(error.text() == u"Read beyond end of file" || error.text() == u"Invalid numeric input") << cut;
        }
    }
}

TEST(ScriptPackage, NothingAppendedIsAnError)
{
    EXPECT_THROW(LoadScriptPackage(""), TScriptPackageError);
    EXPECT_THROW(LoadScriptPackage("\xEF\xBB\xBF"), TScriptPackageError);
}

TEST(ScriptPackage, GarbageNeverCrashes)
{
    // Deterministic pseudo-random bytes, with a bias towards line ends and "$".
    uint32_t state = 12345;
    auto nextByte = [&state] {
        state = state * 1103515245u + 12345u;
        const unsigned pick = (state >> 16) & 0xFF;
        if (pick < 40) return '\n';
        if (pick < 60) return '$';
        if (pick < 70) return '\r';
        return static_cast<char>(pick);
    };
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const size_t size = (round * 37) % 2000;
        for (size_t i = 0; i < size; ++i)
            bytes.push_back(nextByte());
        try {
            const TScriptPackage package = LoadScriptPackage(bytes);
            for (size_t i = 0; i < package.statementCount() + 2; ++i) {
                (void)package.param(i, 3);
                (void)package.sourceLocation(i);
                (void)package.includeLevel(i);
            }
        } catch (const TScriptPackageError&) {
        }
    }
}

TEST(ScriptPackage, BytesAfterTheLastSectionAreNeverRead)
{
    PackageLines p = samplePackage();
    const std::string text = p.text();
    p.trailing = std::string(7, '\0') + "\x30\x82\x1F\x00 signature table\r\n$\r\nabc";
    size_t bytesRead = 0;
    const TScriptPackage package = LoadScriptPackage(p.text(), &bytesRead);
    EXPECT_EQ(bytesRead, text.size());
    EXPECT_EQ(package.includeLevels.lines(), lines16({"0*0", "RESULT*1", "0*0"}));
}

TEST(ScriptPackage, ParametersAreFoundByIdWithoutLetterCase)
{
    const TScriptPackage p = LoadScriptPackage(samplePackage().text());
    std::u16string lowerId = u(idIf);
    for (auto& c : lowerId)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    EXPECT_EQ(ParamOf(p.parameterLists, lowerId, 1), u"TARGETDIR");
    EXPECT_EQ(ParamOf(p.parameterLists, lowerId, 4), u"FALSE");
    EXPECT_EQ(p.param(1, 2), u"0");
    EXPECT_EQ(p.param(0, 2), u"$");
}

TEST(ScriptPackage, ParametersBeyondABlockOrWithoutOneAreEmptyOrTheNextLines)
{
    const TScriptPackage p = LoadScriptPackage(samplePackage().text());
    // "End" has no block: every parameter is empty.
    for (int k = 0; k <= 5; ++k)
        EXPECT_EQ(p.param(2, k), u"") << k;
    // The reader does not know block lengths: "If" parameter 5 is the next line.
    EXPECT_EQ(p.param(1, 5), u(idSet));
    // Past the end of the section, and negative numbers, give the empty text.
    EXPECT_EQ(p.param(0, 3), u"");
    EXPECT_EQ(p.param(0, 300), u"");
    EXPECT_EQ(p.param(0, -1), u"");
    // A statement number outside the package has an empty id, which must not
    // find the empty parameter line of "If".
    EXPECT_EQ(p.param(99, 1), u"");
    EXPECT_EQ(ParamOf(p.parameterLists, u"", 1), u"");
}

TEST(ScriptPackage, TheFirstBlockAndTheFirstListHoldingAnIdWin)
{
    PackageLines lines = samplePackage();
    lines.sections[3] = {idSet, "first", idSet, "second", "$"};
    TScriptPackage p = LoadScriptPackage(lines.text());
    EXPECT_EQ(p.param(0, 1), u"first");

    p.parameterLists.insert(p.parameterLists.begin(), THashedStringList({u"nothing here"}));
    p.parameterLists.push_back(THashedStringList({u(idSet), u"third"}));
    EXPECT_EQ(p.param(0, 1), u"first");
    p.parameterLists.insert(p.parameterLists.begin(), THashedStringList({u(idSet), u"zeroth"}));
    EXPECT_EQ(p.param(0, 1), u"zeroth");
}

TEST(ScriptPackage, PerStatementLookups)
{
    const TScriptPackage p = LoadScriptPackage(samplePackage().text());
    EXPECT_EQ(p.statementName(1), u"If");
    EXPECT_EQ(p.statementId(2), u(idEnd));
    EXPECT_FALSE(p.statementDisabled(0));
    EXPECT_TRUE(p.statementDisabled(1));
    EXPECT_EQ(p.statementMediaFolder(1), u"Microsoft Windows Installer 2.0\\");
    EXPECT_EQ(p.sourceLocation(1).file, u"checkmsi20.oxa");
    EXPECT_EQ(p.sourceLocation(2).number, 2);
    EXPECT_EQ(p.statementName(3), u"");
    EXPECT_FALSE(p.statementDisabled(3));
    EXPECT_EQ(p.sourceLocation(3).file, u"");
}

TEST(ScriptPackage, IncludeLevelsSplitAtTheFirstStar)
{
    struct Case { const char* entry; const char16_t* result; int32_t depth; };
    const Case cases[] = {
        {"0*0", u"0", 0},
        {"*1", u"", 1},
        {"RESULT*2", u"RESULT", 2},
        {"no star", u"", 0},
        {"", u"", 0},
        {"R*x", u"R", 0},
        {"A*1*2", u"A", 0},
    };
    for (const auto& c : cases) {
        PackageLines p = samplePackage();
        p.sections[28] = {c.entry, "$"};
        const TIncludeLevel level = LoadScriptPackage(p.text()).includeLevel(0);
        EXPECT_EQ(level.result, c.result) << c.entry;
        EXPECT_EQ(level.depth, c.depth) << c.entry;
    }
}

TEST(ScriptPackage, PairListsMatchNamesWithoutLetterCaseAndNeverValues)
{
    PackageLines lines = samplePackage();
    lines.sections[23] = {"buildmode", "SFX", "LANGUAGE", "buildmode", "BuildMode", "second", "$"};
    lines.sections[14] = {"Block1", "pw1", "offline", "pw2", "$"};
    lines.sections[17] = {"Core", "100", "size", "Core", "Broken", "12x", "$"};
    const TScriptPackage p = LoadScriptPackage(lines.text());
    EXPECT_EQ(p.compilerVariable(u"BUILDMODE"), u"SFX");
    EXPECT_EQ(p.compilerVariable(u"language"), u"buildmode");
    EXPECT_EQ(p.compilerVariable(u"SFX"), std::nullopt);
    EXPECT_EQ(p.compilerVariablePairs().size(), 3u);
    EXPECT_EQ(p.webMediaPassword(u"block1"), u"pw1");
    EXPECT_EQ(p.webMediaPassword(u"OFFLINE"), u"pw2");
    EXPECT_EQ(p.webMediaPassword(u"pw1"), std::nullopt);
    EXPECT_EQ(p.componentSize(u"core"), 100);
    EXPECT_EQ(p.componentSize(u"absent"), 0);
    EXPECT_EQ(p.componentSize(u"Broken"), 0);
    EXPECT_EQ(p.componentSize(u"100"), 0);
}

TEST(ScriptPackage, CommandHeadersAreFoundByStatementNumberOnly)
{
    // "297" is a header id here, made of digits only; it is no statement number.
    PackageLines lines = samplePackage();
    lines.sections[22] = {"297", "3", "6218127C", "297", "429814E", "0", "$"};
    const TScriptPackage p = LoadScriptPackage(lines.text());
    EXPECT_EQ(p.commandHeaderOf(297), u"6218127C");
    EXPECT_EQ(p.commandHeaderOf(3), u"297");
    EXPECT_EQ(p.commandHeaderOf(0), u"429814E");
    EXPECT_EQ(p.commandHeaderOf(5), u"");
}

}  // namespace
