// The registry commands over a fake registry: the text each stored type reads
// as, the result words "Read Registry" hides and "Check Registry" keeps, the
// computer and view every key is reached with, and what "Find All Registry"
// and "Delete Registry" ask for.

#include <gtest/gtest.h>

#include "command_fixture.h"
#include "common/text.h"
#include "engine/commands/registry_commands.h"
#include "engine/commands/string_commands.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

std::vector<uint8_t> utf16(std::u16string_view text)
{
    std::vector<uint8_t> bytes;
    for (const auto unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

RegistryValue stored(uint32_t type, std::vector<uint8_t> data)
{
    return {RegistryOutcome::found, type, std::move(data)};
}

TEST(RegistryValueText, EachStoredTypeReadsAsItsText)
{
    const struct {
        RegistryValue value;
        const char16_t* text;
    } cases[] = {
        {stored(1, utf16(std::u16string(u"Vantrel\0", 8))), u"Vantrel"},
        {stored(1, utf16(u"unterminated")), u"unterminated"},
        {stored(2, utf16(std::u16string(u"%WINDIR%\\x\0", 11))), u"%WINDIR%\\x"},  // not expanded
        {stored(4, {0xFF, 0xFF, 0xFF, 0xFF}), u"-1"},
        {stored(4, {0x00, 0x00, 0x00, 0x80}), u"-2147483648"},
        {stored(4, {0x2A, 0x00, 0x00, 0x00}), u"42"},
        {stored(4, {0x2A, 0x00}), u"READ$ERROR"},  // too short to be a DWORD
        {stored(3, {0x01, 0xAB, 0x00}), u"01AB00"},
        {stored(3, {}), u""},
        {stored(7, utf16(std::u16string(u"one\0two\0\0", 9))), u"one$NEWLINE$two"},
        {stored(7, utf16(std::u16string(u"one\0\0two\0\0", 10))), u"one"},  // stops at the first empty string
        {stored(7, utf16(std::u16string(u"\0", 1))), u""},
        {stored(11, {1, 0, 0, 0, 0, 0, 0, 0}), u"UNKNOWN$TYPE"},  // a 64-bit number
        {stored(0, {}), u"UNKNOWN$TYPE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(registryResultText(c.value), c.text) << c.value.type;
}

TEST(RegistryDecisions, HiveCodesViewsTargetsAndComputers)
{
    EXPECT_EQ(registryRoot(0), 0x80000000u);
    EXPECT_EQ(registryRoot(3), 0x80000003u);
    EXPECT_EQ(registryRoot(4), 0x80000005u);  // HKEY_CURRENT_CONFIG, not 0x80000004
    EXPECT_FALSE(registryRoot(5));
    EXPECT_FALSE(registryRoot(-1));
    EXPECT_EQ(registryViewFlag(true, u"Win32"), 0x200u);
    EXPECT_EQ(registryViewFlag(true, u"x64"), 0x100u);
    EXPECT_EQ(registryViewFlag(true, u"ia64"), 0x100u);
    EXPECT_EQ(registryViewFlag(false, u"x64"), 0u);
    EXPECT_EQ(splitRegistryTarget(u"USERNAME|").name, u"USERNAME");
    EXPECT_EQ(splitRegistryTarget(u"USERNAME|").computer, u"");
    EXPECT_EQ(splitRegistryTarget(u"A|b|c").computer, u"b|c");
    EXPECT_EQ(networkComputer(u"server"), u"\\\\server");
    EXPECT_EQ(networkComputer(u"\\\\server"), u"\\\\server");
    EXPECT_EQ(networkComputer(u""), u"");
}

struct FakeRegistry : RegistryAccess {
    RegistryValue answer = stored(1, utf16(u"value"));
    std::optional<std::vector<std::u16string>> listed;
    std::vector<RegistryPlace> places;
    std::vector<std::u16string> asked;  // value names, "key" for a whole key, "subkeys"/"values"

    RegistryValue read(const RegistryPlace& place, std::u16string_view value) override
    {
        places.push_back(place);
        asked.emplace_back(value);
        return answer;
    }
    std::optional<std::vector<std::u16string>> names(const RegistryPlace& place, bool subkeys) override
    {
        places.push_back(place);
        asked.emplace_back(subkeys ? u"subkeys" : u"values");
        return listed;
    }
    void deleteKey(const RegistryPlace& place) override
    {
        places.push_back(place);
        asked.emplace_back(u"key");
    }
    void deleteValue(const RegistryPlace& place, std::u16string_view value) override
    {
        places.push_back(place);
        asked.emplace_back(value);
    }
};

// A run with the string commands and the registry commands over `registry`.
struct RegistryRun {
    explicit RegistryRun(const ScriptBuilder& script) : run(script)
    {
        run.script.commands = CommandTable{};
        registerStringCommands(run.script.commands, run.services);
        registerRegistryCommands(run.script.commands, run.services, registry);
    }
    std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
    CommandRun run;
};

TEST(ReadAndCheckRegistry, ReadHidesTheResultWordsCheckKeeps)
{
    const struct {
        RegistryValue answer;
        const char16_t* word;
    } cases[] = {
        {{RegistryOutcome::noComputer, 0, {}}, u"NO$COMPUTER"},
        {{RegistryOutcome::noKey, 0, {}}, u"NO$KEY"},
        {{RegistryOutcome::noValue, 0, {}}, u"NO$VALUE"},
        {{RegistryOutcome::readError, 0, {}}, u"READ$ERROR"},
        {stored(11, {}), u"UNKNOWN$TYPE"},
        {stored(1, utf16(u"NO$VALUE")), u"NO$VALUE"},        // a stored text that looks like a word
        {stored(1, utf16(u"BINARY$VALUE")), u"BINARY$VALUE"},
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Read Registry", {"readresult", "2", "SOFTWARE\\Dorvane", ""})
            .add("Check Registry", {"CHECKED|", "2", "SOFTWARE\\Dorvane", ""});
        RegistryRun run(script);
        run.registry->answer = c.answer;
        run.run.run();
        EXPECT_EQ(run.run.variable(u"READRESULT"), u"") << toUtf8(c.word);
        EXPECT_EQ(run.run.variable(u"CHECKED"), c.word);
    }
    // A word in other letters is an ordinary value.
    ScriptBuilder script;
    script.add("Read Registry", {"R", "1", "Key", "Name"});
    RegistryRun run(script);
    run.registry->answer = stored(1, utf16(u"No$Key"));
    run.run.run();
    EXPECT_EQ(run.run.variable(u"R"), u"No$Key");
}

TEST(ReadAndCheckRegistry, ComputerOnlyForTheTwoRemoteHivesAndViewFollowsTheMode)
{
    ScriptBuilder script;
    script.add("Set Variable", {"SERVER", "vault"})
        .add("Read Registry", {"A|$SERVER$", "1", "Software\\\\Dorvane\\\\", "Name"})
        .add("Read Registry", {"B|$SERVER$", "2", "Software\\Dorvane", ""})
        .add("Set 64 Bit Mode", {"FALSE", "FALSE", "TRUE"})
        .add("Check Registry", {"C|\\\\vault", "3", "S-1-5-18", "$SERVER$"})
        .add("Read Registry", {"D|vault", "02", "Key", ""});  // "02" is hive 2 but not exactly "2"
    RegistryRun run(script);
    run.run.run();
    const auto& places = run.registry->places;
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[0].root, 0x80000001u);
    EXPECT_EQ(places[0].computer, u"");
    EXPECT_EQ(places[0].key, u"Software\\Dorvane\\");
    EXPECT_EQ(places[0].view, 0x200u);
    EXPECT_EQ(places[1].computer, u"\\\\vault");
    EXPECT_EQ(places[1].view, 0x200u);
    EXPECT_EQ(places[2].root, 0x80000003u);
    EXPECT_EQ(places[2].computer, u"\\\\vault");
    EXPECT_EQ(places[2].view, 0x100u);
    EXPECT_EQ(run.registry->asked[2], u"vault");
    EXPECT_EQ(places[3].root, 0x80000002u);
    EXPECT_EQ(places[3].computer, u"");
    EXPECT_EQ(run.run.variable(u"A"), u"value");
}

TEST(ReadAndCheckRegistry, NoViewFlagOn32BitWindows)
{
    ScriptBuilder script;
    script.add("Set 64 Bit Mode", {"FALSE", "FALSE", "TRUE"}).add("Read Registry", {"A", "2", "Key", ""});
    RegistryRun run(script);
    run.run.redirection.is64 = false;
    run.run.run();
    ASSERT_EQ(run.registry->places.size(), 1u);
    EXPECT_EQ(run.registry->places[0].view, 0u);
}

TEST(ReadAndCheckRegistry, HiveOutsideTheTableIsAMissingKeyAndAWordEndsTheRun)
{
    ScriptBuilder script;
    script.add("Check Registry", {"A", "7", "Key", ""})
        .add("Read Registry", {"B", "7", "Key", ""})
        .add("Read Registry", {"C", "HKLM", "Key", ""})
        .add("Set Variable", {"NEVER", "reached"});
    RegistryRun run(script);
    run.run.run();
    EXPECT_TRUE(run.registry->places.empty());
    EXPECT_EQ(run.run.variable(u"A"), u"NO$KEY");
    EXPECT_EQ(run.run.variable(u"B"), u"");
    EXPECT_EQ(run.run.script.host.errors.size(), 1u);
    EXPECT_EQ(run.run.variable(u"NEVER"), u"");
}

TEST(FindAllRegistry, NamesJoinedDefaultValueNamedAndFailureEmpty)
{
    const struct {
        std::optional<std::vector<std::u16string>> listed;
        const char* subkeys;
        const char16_t* result;
    } cases[] = {
        {std::vector<std::u16string>{u""}, "FALSE", u"(Default)"},
        {std::vector<std::u16string>{u"Path", u"", u"Version"}, "FALSE", u"Path$NEWLINE$(Default)$NEWLINE$Version"},
        {std::vector<std::u16string>{u"2.0", u"3.1"}, "TRUE", u"2.0$NEWLINE$3.1"},
        {std::vector<std::u16string>{}, "TRUE", u""},
        {std::nullopt, "FALSE", u""},
    };
    for (const auto& c : cases) {
        ScriptBuilder script;
        script.add("Set Variable", {"FOUND", "old"})
            .add("Set Variable", {"SERVER", "$HOST$"})
            .add("Set Variable", {"HOST", "vault"})
            .add("Find All Registry", {"FOUND|$SERVER$", "2", "Software\\Dorvane", c.subkeys});
        RegistryRun run(script);
        run.registry->listed = c.listed;
        run.run.run();
        EXPECT_EQ(run.run.variable(u"FOUND"), c.result) << c.subkeys;
        ASSERT_EQ(run.registry->places.size(), 1u);
        // The computer is expanded twice: the reference inside SERVER's value too.
        EXPECT_EQ(run.registry->places[0].computer, u"\\\\vault");
        EXPECT_EQ(run.registry->asked[0], std::string(c.subkeys) == "TRUE" ? u"subkeys" : u"values");
    }
}

TEST(DeleteRegistry, KeyOrValueWithTheComputerOfTheRemoteHivesOnly)
{
    ScriptBuilder script;
    script.add("Delete Registry", {"2|vault", "Software\\Dorvane", "Old", "TRUE"})
        .add("Delete Registry", {"1|vault", "Software\\Dorvane", "Old", "FALSE"})
        .add("Delete Registry", {"9", "Software\\Dorvane", "Old", "TRUE"})
        .add("Delete Registry", {"two", "Software\\Dorvane", "Old", "TRUE"})
        .add("Set Variable", {"NEVER", "reached"});
    RegistryRun run(script);
    run.run.run();
    const auto& places = run.registry->places;
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(run.registry->asked[0], u"key");
    EXPECT_EQ(places[0].root, 0x80000002u);
    EXPECT_EQ(places[0].computer, u"\\\\vault");
    EXPECT_EQ(run.registry->asked[1], u"Old");
    EXPECT_EQ(places[1].root, 0x80000001u);
    EXPECT_EQ(places[1].computer, u"");
    EXPECT_EQ(run.run.script.host.errors.size(), 1u);
    EXPECT_EQ(run.run.variable(u"NEVER"), u"");
}

}  // namespace
