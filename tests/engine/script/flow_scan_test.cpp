// The scans of the loop stop at the package's ends, also on packages that
// validation would reject.

#include "engine/script/flow_scan.h"

#include <gtest/gtest.h>

#include "script_builder.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

const std::vector<std::string> condition = {"X", "0", "1", "FALSE"};

TEST(FlowScan, SkipsFindTheirStopAcrossNestingAndDisabledStatements)
{
    ScriptBuilder builder;
    builder.add("If", condition)          // 0
        .add("If", condition)             // 1
        .add("Else")                      // 2: belongs to the nested If
        .disabled("End")                  // 3
        .add("End")                       // 4
        .add("Wizard Loop")               // 5
        .add("End")                       // 6
        .add("Else If", condition)        // 7
        .add("Else")                      // 8
        .add("End");                      // 9
    const TScriptPackage package = builder.package();
    const SkipStop branch = scanSkip(package, 1, true, {});
    EXPECT_EQ(branch.kind, SkipStopKind::ElseIf);
    EXPECT_EQ(branch.index, 7u);
    const SkipStop end = scanSkip(package, 1, false, {});
    EXPECT_EQ(end.kind, SkipStopKind::End);
    EXPECT_EQ(end.index, 9u);
    EXPECT_EQ(scanSkip(package, 8, true, {}).kind, SkipStopKind::Else);
}

TEST(FlowScan, MissingClosersAndOpenersYieldNotFound)
{
    ScriptBuilder builder;
    builder.add("If", condition).add("While", condition).add("Repeat").add("Next");
    const TScriptPackage package = builder.package();
    EXPECT_EQ(scanSkip(package, 1, true, {}).kind, SkipStopKind::None);
    EXPECT_EQ(scanSkip(package, 100, false, {}).kind, SkipStopKind::None);
    EXPECT_EQ(findLoopCloser(package, 2, u"Wend", {}), notFound);
    EXPECT_EQ(findLoopCloser(package, 99, u"Wend", {}), notFound);
    EXPECT_EQ(findLoopOpener(package, 3, u"For Each", {}), notFound);
    EXPECT_EQ(findLoopOpener(package, notFound, u"While", {}), notFound);
    EXPECT_EQ(findLoopOpener(package, 1000, u"While", {}), notFound);  // the stray Next owns nothing
    EXPECT_EQ(firstActiveEnd(package, 0, {}), notFound);
}

TEST(FlowScan, LoopJumpsPassOverNestedLoops)
{
    ScriptBuilder builder;
    builder.add("While", condition)       // 0
        .add("Repeat")                    // 1
        .add("While", condition)          // 2
        .add("Wend")                      // 3
        .add("Until", condition)          // 4
        .disabled("Wend")                 // 5
        .add("Wend");                     // 6
    const TScriptPackage package = builder.package();
    EXPECT_EQ(findLoopCloser(package, 1, u"Wend", {}), 6u);
    EXPECT_EQ(findLoopOpener(package, 5, u"While", {}), 0u);
    EXPECT_EQ(findLoopOpener(package, 3, u"Repeat", {}), 1u);
}

TEST(FlowScan, LongScansLetTheUserInterfaceBreathe)
{
    ScriptBuilder builder;
    builder.add("While", condition);
    for (int i = 0; i < 1000; ++i)
        builder.add("Record", {"x"});
    builder.add("Wend");
    const TScriptPackage package = builder.package();
    int pumps = 0;
    EXPECT_EQ(findLoopCloser(package, 1, u"Wend", [&] { ++pumps; }), 1001u);
    EXPECT_EQ(pumps, 1001 / static_cast<int>(scanPumpSteps));
}

}  // namespace
