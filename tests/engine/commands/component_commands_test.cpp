// Component commands in whole script runs: the predefined component and the
// package's sizes at the start, queries of missing and deleted components,
// sizes that are not numbers, and result variables created upper-cased.

#include <gtest/gtest.h>

#include "command_fixture.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

TEST(ComponentCommands, ThePredefinedComponentIsSelectedWithThePackagesSize)
{
    ScriptBuilder script;
    script.add("Get Component Space", {"", "total"})
        .add("Get Component State", {"QUAV-PREDEF-COMPONENT", "predef"})
        .add("Get Component Space", {"Docs", "docs"});
    CommandRun run(script);
    run.script.package.componentSizes = {u"QUAV-PREDEF-COMPONENT", u"3980640", u"Docs", u"1000"};
    run.run();
    EXPECT_EQ(run.variable(u"TOTAL"), u"3980640");
    EXPECT_EQ(run.variable(u"PREDEF"), u"TRUE");
    EXPECT_EQ(run.variable(u"DOCS"), u"1000");
}

TEST(ComponentCommands, DefineSelectAndQuery)
{
    ScriptBuilder script;
    script.add("Set Variable", {"PART", "Tools"})
        .add("Define Component", {"$PART$", "TRUE", "All the tools"})
        .add("Define Component", {"$PART$\\Spelling", "-1", ""})
        .add("Set Component State", {"tools", "false"})
        .add("Define Component", {"Tools", "TRUE", "redefined"})  // keeps FALSE
        .add("Get Component State", {"Tools", "toolsState"})
        .add("Delete Component", {"Tools\\Spelling"})
        .add("Get Component State", {"Tools\\Spelling", "spellingState"})
        .add("Get Component State", {"Missing", "missingState"})
        .add("Set Component Space", {"Tools", "2500"})
        .add("Set Component Space", {"Tools", "lots"})
        .add("Set Component Space", {"Missing", "10"})
        .add("Get Component Space", {"TOOLS", "toolsSize"})
        .add("Get Component Space", {"Missing", "missingSize"})
        .add("Set Component State", {"Tools", "TRUE"})
        .add("Get Component Space", {"", "total"});
    CommandRun run(script);
    run.run();
    EXPECT_TRUE(run.script.host.errors.empty());
    EXPECT_EQ(run.variable(u"TOOLSSTATE"), u"FALSE");
    EXPECT_EQ(run.variable(u"SPELLINGSTATE"), u"FALSE");
    EXPECT_EQ(run.variable(u"MISSINGSTATE"), u"FALSE");
    EXPECT_EQ(run.variable(u"TOOLSSIZE"), u"2500");
    EXPECT_EQ(run.variable(u"MISSINGSIZE"), u"0");
    EXPECT_EQ(run.variable(u"TOTAL"), u"2500");

    const ComponentTable& table = run.services.components;
    EXPECT_EQ(table.names,
              (std::vector<std::u16string>{u"QUAV-PREDEF-COMPONENT", u"Tools", u"Tools\\Spelling"}));
    EXPECT_EQ(table.descriptions[1], u"redefined");
    EXPECT_EQ(table.sizes, (std::vector<std::u16string>{u"QUAV-PREDEF-COMPONENT", u"0", u"Tools", u"2500",
                                                          u"Tools\\Spelling", u"0"}));
}

TEST(ComponentCommands, ChoiceAndVisibilityTakeOnlyExactBooleans)
{
    ScriptBuilder script;
    script.add("Define Component", {"A", "TRUE", ""})
        .add("Set Component Visibility", {"A", "no"})
        .add("Set Component Visibility", {"A", "FALSE"})
        .add("Set Component Choice", {"A", "0"})
        .add("Set Component Choice", {"Missing", "FALSE"});
    CommandRun run(script);
    run.run();
    EXPECT_EQ(run.services.components.hidden, std::vector<std::u16string>{u"A"});
    EXPECT_EQ(run.services.components.fixed, std::vector<std::u16string>{u"A"});
}

TEST(ComponentCommands, EveryRunStartsFromAnEmptyTable)
{
    ScriptBuilder script;
    script.add("Get Component State", {"Left", "left"});
    CommandRun run(script);
    run.services.components.DefineComponent(u"Left", u"", true);
    run.run();
    EXPECT_EQ(run.variable(u"LEFT"), u"FALSE");
}

}  // namespace
