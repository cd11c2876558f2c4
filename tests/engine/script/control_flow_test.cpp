// The executed path of small scripts, made visible by the "Record" stand-in.

#include <gtest/gtest.h>

#include "common/text.h"
#include "script_fixture.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

// If parameters: variable, code, value, negation.
std::vector<std::string> equals(const std::string& variable, const std::string& value)
{
    return {variable, "0", value, "FALSE"};
}

std::string runAndRecord(const ScriptBuilder& script)
{
    ScriptRun run(script);
    run.run();
    EXPECT_TRUE(run.host.processEnds.empty()) << "the script failed validation";
    EXPECT_TRUE(run.host.errors.empty()) << toUtf8(run.host.errors.empty() ? u"" : run.host.errors[0]);
    return joined(run.recorded);
}

TEST(ControlFlow, AFalseIfIsSkippedAndOnlyTheFirstTrueBranchOfAChainRuns)
{
    ScriptBuilder script;
    script.add("Set Variable", {"X", "1"})
        .add("If", equals("X", "2")).add("Record", {"skipped"}).add("End")
        .add("If", equals("X", "1")).add("Record", {"first"})
        .add("Else If", equals("X", "1")).add("Record", {"second"})
        .add("Else").add("Record", {"else"})
        .add("End")
        .add("Record", {"after"});
    EXPECT_EQ(runAndRecord(script), "first after");
}

TEST(ControlFlow, ElseIfChainRunsTheFirstBranchWhoseConditionHolds)
{
    struct Case {
        const char* x;
        const char* path;
    };
    for (const Case c : {Case{"1", "one after"}, Case{"2", "two after"}, Case{"3", "three after"},
                         Case{"9", "other after"}}) {
        ScriptBuilder script;
        script.add("Set Variable", {"X", c.x})
            .add("If", equals("X", "1")).add("Record", {"one"})
            .add("Else If", equals("X", "2")).add("Record", {"two"})
            .add("Else If", equals("X", "3")).add("Record", {"three"})
            .add("Else").add("Record", {"other"})
            .add("End")
            .add("Record", {"after"});
        EXPECT_EQ(runAndRecord(script), c.path) << "X = " << c.x;
    }
}

TEST(ControlFlow, NestedIfChainsInsideTakenAndSkippedBranches)
{
    struct Case {
        const char* a;
        const char* b;
        const char* path;
    };
    for (const Case c : {Case{"1", "1", "a b tail"}, Case{"1", "0", "a not-b tail"},
                         Case{"0", "1", "inner not-a tail"}, Case{"0", "0", "not-a tail"}}) {
        ScriptBuilder script;
        script.add("Set Variable", {"A", c.a}).add("Set Variable", {"B", c.b})
            .add("If", equals("A", "1")).add("Record", {"a"})
            .add("If", equals("B", "1")).add("Record", {"b"})
            .add("Else If", equals("B", "0")).add("Record", {"not-b"})
            .add("End")
            .add("Else")
            .add("If", equals("B", "1")).add("Record", {"inner"}).add("End")
            .add("Record", {"not-a"})
            .add("End")
            .add("Record", {"tail"});
        EXPECT_EQ(runAndRecord(script), c.path) << "A=" << c.a << " B=" << c.b;
    }
}

TEST(ControlFlow, ADisabledEndInsideASkippedBlockClosesNothing)
{
    ScriptBuilder script;
    script.add("Set Variable", {"X", "0"})
        .add("If", equals("X", "1"))
        .add("Record", {"inside"})
        .disabled("End")
        .add("Record", {"still inside"})
        .add("End")
        .add("Record", {"after"});
    EXPECT_EQ(runAndRecord(script), "after");
}

TEST(ControlFlow, RepeatInsideWhileWithBreakAfterItLeavesTheWhile)
{
    ScriptBuilder script;
    script.add("Set Variable", {"OUTER", "0"})
        .add("While", {"OUTER", "2", "100", "TRUE"})  // while not OUTER > 100
        .add("Set Variable", {"I", "0"})
        .add("Repeat")
        .add("Mathematics", {"$I$", "1", "0", "I"})
        .add("Record", {"r$I$"})
        .add("Until", equals("I", "5"))
        .add("Break")
        .add("Record", {"never"})
        .add("Mathematics", {"$OUTER$", "1", "0", "OUTER"})
        .add("Wend")
        .add("Record", {"done"});
    EXPECT_EQ(runAndRecord(script), "r1 r2 r3 r4 r5 done");
}

TEST(ControlFlow, WhileLoopsAndContinueRestartTheLoop)
{
    ScriptBuilder script;
    script.add("Set Variable", {"I", "0"})
        .add("While", {"I", "2", "4", "TRUE"})
        .add("Mathematics", {"$I$", "1", "0", "I"})
        .add("If", equals("I", "2")).add("Continue").add("End")
        .add("Record", {"i$I$"})
        .add("Wend")
        .add("Record", {"end"});
    EXPECT_EQ(runAndRecord(script), "i1 i3 i4 i5 end");
}

TEST(ControlFlow, AFalseWhileNeverRunsItsBodyNorANestedLoop)
{
    ScriptBuilder script;
    script.add("Set Variable", {"X", "0"})
        .add("While", equals("X", "1"))
        .add("Repeat").add("Record", {"inner"}).add("Until", equals("X", "0"))
        .add("Wend")
        .add("Record", {"after"});
    EXPECT_EQ(runAndRecord(script), "after");
}

TEST(ControlFlow, ForEachSkipsLeadingAndDoubledSeparatorsAndDeletesItsVariable)
{
    ScriptBuilder script;
    script.add("Set Variable", {"LIST", ";;alpha;;beta"})
        .add("For Each", {"ITEM", ";", "$LIST$"})
        .add("Record", {"[$ITEM$]"})
        .add("Next")
        .add("If", {"ITEM", "5", "", "TRUE"}).add("Record", {"deleted"}).add("End");
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(joined(run.recorded), "[alpha] [beta] deleted");
    EXPECT_TRUE(run.environment->variables.GetVariable(u"LIST") == u";;alpha;;beta");
}

TEST(ControlFlow, ForEachWithAnEmptySeparatorTakesTheWholeList)
{
    ScriptBuilder script;
    script.add("For Each", {"$ITEM$", "", "a;b"}).add("Record", {"$ITEM$"}).add("Next").add("Record", {"end"});
    EXPECT_EQ(runAndRecord(script), "a;b end");
}

TEST(ControlFlow, NestedForEachWithBreakAndContinue)
{
    ScriptBuilder script;
    script.add("For Each", {"A", ",", "1,2,3"})
        .add("If", equals("A", "2")).add("Continue").add("End")
        .add("For Each", {"B", ",", "x,y,z"})
        .add("If", equals("B", "z")).add("Break").add("End")
        .add("Record", {"$A$$B$"})
        .add("Next")
        .add("Record", {"B=[$B$]"})
        .add("Next")
        .add("Record", {"end"});
    EXPECT_EQ(runAndRecord(script), "1x 1y B=[$B$] 3x 3y B=[$B$] end");
}

TEST(ControlFlow, GoToIntoAnotherBranchRunsTheCodeAfterTheLabelUnconditionally)
{
    ScriptBuilder script;
    script.add("Set Variable", {"X", "1"})
        .add("If", equals("X", "1"))
        .add("Record", {"then"})
        .add("GoTo Label", {"Target"})
        .add("Else")
        .add("Record", {"else-before"})
        .add("Label", {"TARGET"})
        .add("Record", {"else-after"})
        .add("Else If", equals("X", "1"))  // normal flow: ends the branch
        .add("Record", {"never"})
        .add("End")
        .add("Record", {"after"})
        .add("If", equals("X", "1")).add("Record", {"later-if"}).add("Else").add("Record", {"later-else"}).add("End");
    EXPECT_EQ(runAndRecord(script), "then else-after after later-if");
}

TEST(ControlFlow, GoToBackwardsMakesALoop)
{
    ScriptBuilder script;
    script.add("Set Variable", {"N", "0"})
        .add("Label", {"again"})
        .add("Mathematics", {"$N$", "1", "0", "N"})
        .add("Record", {"$N$"})
        .add("If", {"N", "2", "2", "TRUE"}).add("GoTo Label", {"AGAIN"}).add("End")
        .add("Record", {"end"});
    EXPECT_EQ(runAndRecord(script), "1 2 3 end");
}

TEST(ControlFlow, DisabledAndIgnoredStatementsNeverRun)
{
    ScriptBuilder script;
    script.disabled("Record", {"disabled"}).add("Ignore", {"x"}).add("Record", {"runs"});
    EXPECT_EQ(runAndRecord(script), "runs");
}

TEST(ControlFlow, UnknownCommandsAndLabelsDoNothing)
{
    ScriptBuilder script;
    script.add("No Such Command", {"x"}).add("Comment", {"text"}).add("Code Folding Region", {"a", "b"})
        .add("Compiler Variable End").add("Label", {"L"}).add("Record", {"end"});
    EXPECT_EQ(runAndRecord(script), "end");
}

TEST(ControlFlow, TerminateEndsTheLoopAndTheEpilogueRuns)
{
    ScriptBuilder script;
    script.add("Record", {"a"}).add("Terminate Install").add("Record", {"b"});
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(joined(run.recorded), "a");
    EXPECT_EQ(run.extensions.calls.back(), "exitSteps");
}

TEST(Includes, ReturnFromAnIncludeSkipsItsRestAndStoresTheValue)
{
    ScriptBuilder script;
    script.add("Record", {"main"})
        .beginInclude("checkmsi20.oxa", "MSIRESULT")
        .add("Record", {"inc1"})
        .add("If", equals("TITLE", "Pellion"))
        .add("Return from Include Script", {"found $TITLE$"})
        .add("End")
        .add("Record", {"inc-never"})
        .endInclude()
        .add("Record", {"back [$MSIRESULT$]"});
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(joined(run.recorded), "main inc1 back [found Pellion]");
}

TEST(Includes, AReturnInTheMainScriptDoesNothing)
{
    ScriptBuilder script;
    script.add("Record", {"a"}).add("Return from Include Script", {"x"}).add("Record", {"b"});
    EXPECT_EQ(runAndRecord(script), "a b");
}

TEST(Includes, ReturnLeavesOnlyItsOwnIncludeWhenTwoFollowEachOther)
{
    ScriptBuilder script;
    script.beginInclude("first.oxa", "R1")
        .add("Return from Include Script", {"one"})
        .add("Record", {"never"})
        .endInclude()
        .beginInclude("second.oxa", "R2")
        .add("Record", {"second runs"})
        .add("Return from Include Script", {"two"})
        .endInclude()
        .add("Record", {"$R1$ $R2$"});
    EXPECT_EQ(runAndRecord(script), "second runs one two");
}

TEST(Includes, NestedIncludesReturnOneLevel)
{
    ScriptBuilder script;
    script.beginInclude("outer.oxa", "OUT")
        .add("Record", {"outer"})
        .beginInclude("inner.oxa", "IN")
        .add("Return from Include Script", {"inner value"})
        .add("Record", {"never"})
        .endInclude()
        .add("Record", {"outer again [$IN$]"})
        .endInclude()
        .add("Record", {"main"});
    EXPECT_EQ(runAndRecord(script), "outer outer again [inner value] main");
}

// The flow state of the including script is saved when an include starts: a
// return from inside an If of the include leaves the main script's If state as
// it was, so its Else branch is still skipped.
TEST(Includes, FlowStateIsRestoredAfterAnIncludeReturnsFromInsideAnIf)
{
    ScriptBuilder script;
    script.add("If", equals("TITLE", "Pellion"))
        .beginInclude("sub.oxa", "")
        .add("If", equals("TITLE", "Pellion"))
        .add("Return from Include Script", {""})
        .add("End")
        .endInclude()
        .add("Record", {"then"})
        .add("Else")
        .add("Record", {"else"})
        .add("End")
        .add("Record", {"after"});
    EXPECT_EQ(runAndRecord(script), "then after");
}

TEST(WizardLoop, PagesFollowTheAnswersAndBackOnTheFirstPageLeavesTheLoop)
{
    ScriptBuilder script;
    script.add("Record", {"before"})
        .add("Wizard Loop")
        .add("Display Dialog", {"welcome"})
        .add("Comment", {"between"})
        .disabled("Display Dialog", {"disabled"})
        .add("Display Dialog", {"license"})
        .add("Display Dialog", {"finish"})
        .add("End")
        .add("Record", {"after"});
    ScriptRun run(script);
    run.pageAnswers = {1, 1, -1, -1, -1};
    run.run();
    EXPECT_EQ(joined(run.recorded), "before welcome license finish license welcome after");
}

TEST(WizardLoop, NextOnTheLastPageAndCancelBothContinueAfterTheLoop)
{
    for (const int last : {1, 0}) {
        ScriptBuilder script;
        script.add("Set Variable", {"X", "1"})
            .add("If", equals("X", "1"))
            .add("Wizard Loop")
            .add("Display Dialog", {"p1"})
            .add("Display Dialog", {"p2"})
            .add("End")
            .add("Record", {"inside-if"})
            .add("Else")
            .add("Record", {"never"})
            .add("End")
            .add("Record", {"after"});
        ScriptRun run(script);
        run.pageAnswers = {1, last};
        run.run();
        EXPECT_EQ(joined(run.recorded), "p1 p2 inside-if after") << "last answer " << last;
        EXPECT_EQ(run.environment->variables.GetVariable(u"X"), u"1");
    }
}

TEST(WizardLoop, CancelOnTheFirstPageSkipsTheOtherPages)
{
    ScriptBuilder script;
    script.add("Wizard Loop").add("Display Dialog", {"p1"}).add("Display Dialog", {"p2"}).add("End")
        .add("Record", {"after"});
    ScriptRun run(script);
    run.pageAnswers = {0};
    run.run();
    EXPECT_EQ(joined(run.recorded), "p1 after");
}

TEST(Expressions, EvaluateExpressionStoresItsResultAndErrorsDoNotStopTheScript)
{
    ScriptBuilder script;
    script.add("Set Variable", {"A", "5"})
        .add("Evaluate Expression", {"$A$ > \"3\" and $A$ < \"10\"", "inRange"})
        .add("Record", {"$INRANGE$"})
        // A value holding a lone double quote breaks the quoted text it becomes.
        .add("Set Variable", {"Q", "say \"hi\""})
        .add("Evaluate Expression", {"$Q$ = \"x\"", "same"})
        .add("Record", {"$SAME$"});
    EXPECT_EQ(runAndRecord(script), "TRUE ERROR");
}

TEST(Expressions, MathematicsWithoutResultVariableStoresNothing)
{
    ScriptBuilder script;
    script.add("Mathematics", {"2", "3", "2", ""}).add("Mathematics", {"2", "3", "2", "product"})
        .add("Record", {"$PRODUCT$"});
    ScriptRun run(script);
    run.run();
    EXPECT_EQ(joined(run.recorded), "6");
    std::vector<std::u16string> names;
    run.store.ListNames(names);
    EXPECT_NE(std::find(names.begin(), names.end(), u"PRODUCT"), names.end()) << "created upper-cased";
}

}  // namespace
