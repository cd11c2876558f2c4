// The statement loop: the preamble (validation, variable stages, bootstrap,
// labels, single instance, language, command line), the loop that picks the
// next statement and owns all control flow (If chains, loops, labels, the
// wizard loop, includes), the dispatch of every other statement to the plug-in
// path or the command table, the run-time error message and the epilogue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/script/command_table.h"
#include "engine/script/flow_scan.h"
#include "engine/script/include_map.h"
#include "engine/script/script_environment.h"
#include "engine/script/statement.h"

namespace pellion {

inline constexpr int32_t validationFailedExitCode = 314;
inline constexpr uint32_t pumpIntervalMs = 315;

struct ForEachState {
    std::u16string variable;
    std::u16string list;
    std::u16string separator;
};

// The control-flow state that is saved when an include begins and restored
// when it ends.
struct FlowState {
    int32_t ifDepth = 0;
    bool skipToBranch = false;
    bool skipToEnd = false;
    bool endReached = false;
    bool wizardActive = false;
    bool wizardEnd = false;
    std::vector<std::u16string> loopKinds;
    std::vector<ForEachState> forEach;
};

class Interpreter : public ScriptControl {
public:
    Interpreter(ScriptEnvironment& environment, const CommandTable& commands);

    // RunScript: returns when the script ends. Exit code 314 and the
    // single-instance exit are left in the settings (and 314 also ends the
    // process through the host).
    void run();

    void endRun() override { ended_ = true; }
    void setWizardDirection(int direction) override { wizardDirection_ = direction; }
    int wizardDirection() const override { return wizardDirection_; }

    const FlowState& flow() const { return flow_; }

private:
    enum class Preamble { Run, Stop };

    Preamble preamble();
    // False when a run-time error ended the script.
    bool loop();
    void exitSteps();
    void epilogue();
    void reportError(size_t statement, const std::u16string& text);

    void pumpWhenDue();
    void refreshFromVariables();
    bool chooseNext();
    void followIncludes(size_t next);
    void execute(size_t index);
    bool runnable(size_t index) const;

    // control_flow.cpp
    bool executeControlFlow(Statement& statement);
    bool condition(Statement& statement);
    void doIf(Statement& statement);
    void doEnd();
    void doWhile(Statement& statement);
    void doWend(Statement& statement);
    void doUntil(Statement& statement);
    void doForEach(Statement& statement);
    void doNext(Statement& statement);
    void doBreak(Statement& statement);
    void doContinue(Statement& statement);
    void doGoTo(Statement& statement);
    void doReturnFromInclude(Statement& statement);
    void skipToBranch();
    void skipToEnd();
    void wizardStep();
    void endWizard(size_t from);
    void landAfter(size_t closer);
    ScanPump scanPump();

    ScriptEnvironment& environment_;
    const CommandTable& commands_;
    const TScriptPackage& package_;
    const size_t count_;
    IncludeMap includes_;
    std::unordered_set<std::u16string> plugins_;

    size_t pc_ = 0;
    size_t current_ = 0;
    FlowState flow_;
    std::vector<FlowState> savedFlow_;
    size_t includeInstance_ = 0;
    std::u16string includeResult_;
    // Set when a skip stopped at "Else If": that statement evaluates its
    // condition; reached in normal flow it ends the taken branch instead.
    bool evaluateElseIf_ = false;
    int wizardDirection_ = 1;
    std::vector<std::pair<std::u16string, size_t>> labels_;
    std::u16string singleInstanceMarker_;
    uint32_t lastPump_ = 0;
    bool ended_ = false;
};

// The statement loop over environment.package with these commands.
void RunScript(ScriptEnvironment& environment, const CommandTable& commands);

// The text of the run-time error box: "Runtime error in setup script:", the
// source file without folder and extension, the line number (statement number
// within that file plus 1) and the error text.
std::u16string runtimeErrorText(const EngineMessages& messages, const TSourceLocation& location,
                                const std::u16string& error);

}  // namespace pellion
