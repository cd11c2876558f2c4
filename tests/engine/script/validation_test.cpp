#include "engine/script/validation.h"

#include <gtest/gtest.h>

#include "engine/script/expression_commands.h"
#include "engine/script/statement.h"
#include "script_builder.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

struct Line {
    std::string name;
    std::vector<std::string> parameters = {};
    bool disabled = false;
};

struct Case {
    const char* what;
    std::vector<Line> script;
    bool ok;
};

const std::vector<std::string> condition = {"X", "0", "1", "FALSE"};

TEST(Validation, StructureRules)
{
    const Case cases[] = {
        {"empty script", {}, true},
        {"If ... Else If ... Else ... End", {{"If", condition}, {"Else If", condition}, {"Else"}, {"End"}}, true},
        {"End closing nothing", {{"End"}}, false},
        {"If without End", {{"If", condition}}, false},
        {"End closing an If with an open While",
         {{"If", condition}, {"While", condition}, {"End"}, {"Wend"}}, false},
        {"Wend closing a Repeat", {{"Repeat"}, {"Wend"}}, false},
        {"Next closing nothing", {{"Next"}}, false},
        {"Until closing a loop with an open If", {{"Repeat"}, {"If", condition}, {"Until", condition}, {"End"}}, false},
        {"nested loops of every kind",
         {{"While", condition}, {"Repeat"}, {"For Each", {"A", ",", "1,2"}}, {"Break"}, {"Next"}, {"Continue"},
          {"Until", condition}, {"Wend"}},
         true},
        {"Break outside loops", {{"If", condition}, {"Break"}, {"End"}}, false},
        {"Continue outside loops", {{"Continue"}}, false},
        {"For Each reusing the enclosing loop variable",
         {{"For Each", {"ITEM", ",", "a"}}, {"For Each", {"$item$", ",", "b"}}, {"Next"}, {"Next"}}, false},
        {"sibling For Each with one variable",
         {{"For Each", {"ITEM", ",", "a"}}, {"Next"}, {"For Each", {"ITEM", ",", "b"}}, {"Next"}}, true},
        {"duplicate labels", {{"Label", {"Start"}}, {"Label", {"START"}}}, false},
        {"GoTo a label", {{"GoTo Label", {"start"}}, {"Label", {"Start"}}}, true},
        {"GoTo no label", {{"GoTo Label", {"start"}}}, false},
        {"GoTo a disabled label", {{"GoTo Label", {"start"}}, {"Label", {"start"}, true}}, false},
        {"wizard loop of dialogs",
         {{"Wizard Loop"}, {"Display Dialog", {"welcome"}}, {"Comment", {"x"}}, {"Ignore"}, {"End"}}, true},
        {"wizard loop holding another command", {{"Wizard Loop"}, {"Record", {"x"}}, {"End"}}, false},
        {"wizard loop holding a disabled command", {{"Wizard Loop"}, {"Record", {"x"}, true}, {"End"}}, true},
        {"Else outside an If", {{"Else"}}, false},
        {"Else If directly inside a loop of an If",
         {{"If", condition}, {"While", condition}, {"Else If", condition}, {"Wend"}, {"End"}}, false},
        {"disabled End does not close", {{"If", condition}, {"End", {}, true}}, false},
        {"disabled opener does not open", {{"While", condition, true}, {"Record"}}, true},
        {"Evaluate Expression without result", {{"Evaluate Expression", {"\"1\" = \"1\"", ""}}}, false},
        {"Evaluate Expression with a syntax error", {{"Evaluate Expression", {"$A$ = 1", "R"}}}, false},
        {"Evaluate Expression that is fine", {{"Evaluate Expression", {"$A$ = \"1\" or $B$ <> $C$", "R"}}}, true},
        {"Mathematics without result", {{"Mathematics", {"1", "2", "0", ""}}}, true},
    };
    CommandTable commands;
    registerExpressionCommands(commands);
    for (const Case& c : cases) {
        ScriptBuilder builder;
        for (const Line& s : c.script) {
            if (s.disabled)
                builder.disabled(s.name, s.parameters);
            else
                builder.add(s.name, s.parameters);
        }
        const TScriptPackage package = builder.package();
        EXPECT_EQ(ValidateScript(package, commands).ok, c.ok) << c.what << ": " << ValidateScript(package, commands).reason;
    }
}

TEST(Validation, PluginCommandsSkipTheBuiltInCheckOfTheirName)
{
    ScriptBuilder builder;
    builder.plugin("Evaluate Expression").add("Evaluate Expression", {"TRUE,FALSE", "oWinRun.dll\\oWinRunExec.dll"});
    CommandTable commands;
    registerExpressionCommands(commands);
    const TScriptPackage package = builder.package();
    EXPECT_TRUE(ValidateScript(package, commands).ok);
}

TEST(Validation, CommandFamiliesAddTheirOwnChecks)
{
    CommandTable commands;
    commands.add(u"Display Dialog", [](pellion::Statement&) {},
                 [](const StatementView& st) { return !st.param(1).empty(); });
    ScriptBuilder good;
    good.add("Display Dialog", {"welcome"});
    ScriptBuilder bad;
    bad.add("Display Dialog", {""});
    EXPECT_TRUE(ValidateScript(good.package(), commands).ok);
    EXPECT_FALSE(ValidateScript(bad.package(), commands).ok);
    EXPECT_THROW(commands.add(u"Display Dialog", [](pellion::Statement&) {}), std::logic_error);
}

}  // namespace
