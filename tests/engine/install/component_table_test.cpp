// The component table: redefinition keeps a user's choice, the deleted set
// hides a selection, sizes are looked up without letter case, the sets take a
// name once, and fixed or hidden parents pass their mark to their children.

#include <gtest/gtest.h>

#include "engine/install/component_table.h"

using namespace pellion;

namespace {

ComponentTable tableWith(std::initializer_list<std::u16string> sizes)
{
    ComponentTable table;
    table.sizes = sizes;
    return table;
}

TEST(ComponentTable, RedefiningKeepsTheStateAndUndeletes)
{
    ComponentTable table;
    table.DefineComponent(u"Tools", u"first", true);
    table.setState(u"tools", false);
    table.deleteComponent(u"Tools");
    table.DefineComponent(u"TOOLS", u"second", true);

    EXPECT_EQ(table.names, std::vector<std::u16string>{u"Tools"});
    EXPECT_EQ(table.states, std::vector<std::u16string>{u"FALSE"});
    EXPECT_EQ(table.descriptions, std::vector<std::u16string>{u"second"});
    EXPECT_TRUE(table.deleted.empty());
    EXPECT_EQ(table.sizes, (std::vector<std::u16string>{u"Tools", u"0"}));
}

TEST(ComponentTable, AnEmptyStateLoadedFromAnEarlierRunTakesTheDefinition)
{
    ComponentTable table;
    table.names = {u"Docs"};
    table.states = {u""};
    table.DefineComponent(u"Docs", u"", true);
    EXPECT_EQ(table.states, std::vector<std::u16string>{u"TRUE"});
}

TEST(ComponentTable, DescriptionsArePaddedToTheComponentsPosition)
{
    ComponentTable table;
    table.names = {u"A", u"B", u"C"};
    table.states = {u"TRUE", u"TRUE", u"TRUE"};
    table.DefineComponent(u"C", u"third", true);
    EXPECT_EQ(table.descriptions, (std::vector<std::u16string>{u"", u"", u"third"}));
}

TEST(ComponentTable, ADeletedComponentIsNotSelected)
{
    ComponentTable table;
    table.DefineComponent(u"Tools", u"", true);
    EXPECT_TRUE(table.effectivelySelected(u"tools"));
    table.deleteComponent(u"Tools");
    EXPECT_FALSE(table.effectivelySelected(u"Tools"));
    EXPECT_FALSE(table.effectivelySelected(u"Missing"));
}

TEST(ComponentTable, StatesReadAsBooleans)
{
    const struct {
        const char16_t* state;
        bool selected;
    } cases[] = {{u"TRUE", true}, {u"true", true}, {u"-1", true}, {u"FALSE", false}, {u"1", false}, {u"", false}};
    for (const auto& c : cases) {
        ComponentTable table;
        table.names = {u"A"};
        table.states = {c.state};
        EXPECT_EQ(table.effectivelySelected(u"A"), c.selected) << c.selected;
    }
}

TEST(ComponentTable, SetSizeReplacesTheLineFoundWithoutLetterCase)
{
    ComponentTable table = tableWith({u"Tools", u"100"});
    table.DefineComponent(u"TOOLS", u"", true);
    table.setSize(u"tOOLS", 250);
    EXPECT_EQ(table.sizes, (std::vector<std::u16string>{u"Tools", u"250"}));
    EXPECT_EQ(table.ComponentSize(u"tools"), 250);
}

TEST(ComponentTable, SetSizeAppendsForANewNameAndIgnoresUnknownComponents)
{
    ComponentTable table;
    table.names = {u"Docs"};
    table.states = {u"TRUE"};
    table.setSize(u"Docs", -5);
    table.setSize(u"Missing", 7);
    EXPECT_EQ(table.sizes, (std::vector<std::u16string>{u"Docs", u"-5"}));
}

TEST(ComponentTable, ADanglingSizeLineIsCompletedBeforeAPairIsAppended)
{
    // A truncated instance data file can leave a name without its size.
    ComponentTable table = tableWith({u"Old"});
    table.DefineComponent(u"New", u"", true);
    EXPECT_EQ(table.sizes, (std::vector<std::u16string>{u"Old", u"0", u"New", u"0"}));
    EXPECT_EQ(table.ComponentSize(u"New"), 0);
    EXPECT_EQ(table.ComponentSize(u"Old"), 0);
}

TEST(ComponentTable, SizesThatAreNotNumbersCountAsZero)
{
    ComponentTable table = tableWith({u"A", u"many", u"B", u"12"});
    EXPECT_EQ(table.ComponentSize(u"A"), 0);
    EXPECT_EQ(table.ComponentSize(u"b"), 12);
    EXPECT_EQ(table.ComponentSize(u"C"), 0);
}

TEST(ComponentTable, SelectionSizeCountsEffectivelySelectedLessTheInstalledSelection)
{
    ComponentTable table = tableWith({u"A", u"100", u"B", u"20", u"C", u"3"});
    table.DefineComponent(u"A", u"", true);
    table.DefineComponent(u"B", u"", false);
    table.DefineComponent(u"C", u"", true);
    EXPECT_EQ(table.SelectionSize(), 103);
    table.deleteComponent(u"C");
    EXPECT_EQ(table.SelectionSize(), 100);
    table.installedSelectionSize = 120;
    EXPECT_EQ(table.SelectionSize(), -20);
}

TEST(ComponentTable, SetsTakeANameOnceAndOnlyForExistingComponents)
{
    ComponentTable table;
    table.DefineComponent(u"A", u"", true);
    table.setVisible(u"A", false);
    table.setVisible(u"a", false);
    table.setVisible(u"Missing", false);
    table.setChoiceAllowed(u"A", false);
    table.setChoiceAllowed(u"A", false);
    table.deleteComponent(u"A");
    table.deleteComponent(u"A");
    EXPECT_EQ(table.hidden, std::vector<std::u16string>{u"A"});
    EXPECT_EQ(table.fixed, std::vector<std::u16string>{u"A"});
    EXPECT_EQ(table.deleted, std::vector<std::u16string>{u"A"});

    table.setVisible(u"a", true);
    table.setChoiceAllowed(u"a", true);
    EXPECT_TRUE(table.hidden.empty());
    EXPECT_TRUE(table.fixed.empty());
}

TEST(ComponentTable, ParentsPassFixedAndHiddenToTheirChildren)
{
    ComponentTable table;
    table.fixed = {u"Tools"};
    table.hidden = {u"Tools\\Spelling"};
    EXPECT_TRUE(table.IsFixed(u"Tools\\Spelling"));
    EXPECT_TRUE(table.IsFixed(u"tools\\Spelling\\German"));
    EXPECT_FALSE(table.IsFixed(u"Toolset"));
    EXPECT_TRUE(table.IsHidden(u"Tools\\Spelling\\German"));
    EXPECT_FALSE(table.IsHidden(u"Tools"));
}

TEST(ComponentTable, ClearingKeepsTheSizes)
{
    ComponentTable table = tableWith({u"A", u"5"});
    table.DefineComponent(u"A", u"text", true);
    table.setVisible(u"A", false);
    table.ClearComponents();
    EXPECT_TRUE(table.names.empty());
    EXPECT_TRUE(table.states.empty());
    EXPECT_TRUE(table.descriptions.empty());
    EXPECT_TRUE(table.hidden.empty());
    EXPECT_EQ(table.ComponentSize(u"A"), 5);
}

}  // namespace
