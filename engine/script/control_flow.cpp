// The control-flow statements of the loop: If chains, While, Repeat, For Each,
// Break, Continue, labels, the wizard loop and the return from an include.
// Every jump that finds no target ends the script instead of running past it.

#include <algorithm>

#include "common/letter_case.h"
#include "engine/script/conditions.h"
#include "engine/script/flow_scan.h"
#include "engine/script/interpreter.h"
#include "engine/script/script_error.h"
#include "engine/script/statement_names.h"

namespace pellion {

namespace s = statements;

ScanPump Interpreter::scanPump()
{
    return [this] { environment_.host.pumpMessages(); };
}

bool Interpreter::executeControlFlow(Statement& statement)
{
    const std::u16string& name = statement.name();
    if (name == s::If || name == s::ElseIf) {
        // An "Else If" reached in normal flow ends the branch that ran; one that
        // a skip stopped at evaluates (execute() sends that one to doIf).
        if (name == s::If)
            doIf(statement);
        else
            flow_.skipToEnd = true;
    } else if (name == s::Else) {
        flow_.skipToEnd = true;
    } else if (name == s::End) {
        doEnd();
    } else if (name == s::While) {
        doWhile(statement);
    } else if (name == s::Wend) {
        doWend(statement);
    } else if (name == s::Repeat) {
        flow_.loopKinds.emplace_back(s::Repeat);
    } else if (name == s::Until) {
        doUntil(statement);
    } else if (name == s::ForEach) {
        doForEach(statement);
    } else if (name == s::Next) {
        doNext(statement);
    } else if (name == s::Break) {
        doBreak(statement);
    } else if (name == s::Continue) {
        doContinue(statement);
    } else if (name == s::GoToLabel) {
        doGoTo(statement);
    } else if (name == s::WizardLoop) {
        flow_.wizardActive = true;
        wizardDirection_ = 1;
    } else if (name == s::ReturnFromInclude) {
        doReturnFromInclude(statement);
    } else {
        return false;
    }
    return true;
}

bool Interpreter::condition(Statement& statement)
{
    const ConditionParameters parameters{statement.translated(1, 1), statement.raw(2), statement.translated(3, 2),
                                         statement.raw(4)};
    return EvaluateCondition(parameters, environment_.variables);
}

void Interpreter::doIf(Statement& statement)
{
    const bool holds = condition(statement);
    ++flow_.ifDepth;
    if (!holds)
        flow_.skipToBranch = true;
}

void Interpreter::doEnd()
{
    if (flow_.endReached) {
        flow_.ifDepth = std::max(flow_.ifDepth - 1, 0);
        flow_.endReached = false;
    } else if (flow_.wizardEnd) {
        flow_.wizardEnd = false;  // the wizard loop's own End closes no If
    } else if (flow_.ifDepth >= 1) {
        --flow_.ifDepth;
    }
}

void Interpreter::skipToBranch()
{
    flow_.skipToBranch = false;
    const SkipStop stop = scanSkip(package_, pc_, true, scanPump());
    switch (stop.kind) {
    case SkipStopKind::None:
        pc_ = count_;
        break;
    case SkipStopKind::Else:
        pc_ = stop.index + 1;
        break;
    case SkipStopKind::ElseIf:
        pc_ = stop.index;
        flow_.ifDepth = std::max(flow_.ifDepth - 1, 0);
        evaluateElseIf_ = true;
        break;
    case SkipStopKind::End:
        pc_ = stop.index;
        flow_.endReached = true;
        break;
    }
}

void Interpreter::skipToEnd()
{
    flow_.skipToEnd = false;
    const SkipStop stop = scanSkip(package_, pc_, false, scanPump());
    if (stop.kind == SkipStopKind::End) {
        pc_ = stop.index;
        flow_.endReached = true;
    } else {
        pc_ = count_;
    }
}

void Interpreter::landAfter(size_t closer)
{
    pc_ = closer == notFound ? count_ : closer + 1;
}

void Interpreter::doWhile(Statement& statement)
{
    if (condition(statement))
        flow_.loopKinds.emplace_back(s::While);
    else
        landAfter(findLoopCloser(package_, statement.index() + 1, s::Wend, scanPump()));
}

void Interpreter::doWend(Statement& statement)
{
    const size_t opener = findLoopOpener(package_, statement.index() - 1, s::While, scanPump());
    if (!flow_.loopKinds.empty())
        flow_.loopKinds.pop_back();
    if (opener != notFound)
        pc_ = opener;
}

void Interpreter::doUntil(Statement& statement)
{
    const bool holds = condition(statement);
    if (!flow_.loopKinds.empty())
        flow_.loopKinds.pop_back();
    if (!holds) {
        const size_t opener = findLoopOpener(package_, statement.index() - 1, s::Repeat, scanPump());
        if (opener != notFound)
            pc_ = opener;
    }
}

void Interpreter::doForEach(Statement& statement)
{
    const std::u16string variable = statement.nameOrReference(1);
    auto state = std::find_if(flow_.forEach.begin(), flow_.forEach.end(),
                              [&](const ForEachState& each) { return equalsNoCase(each.variable, variable); });
    if (state == flow_.forEach.end()) {
        flow_.loopKinds.emplace_back(s::ForEach);
        flow_.forEach.push_back({variable, statement.expanded(3), statement.expanded(2)});
        state = flow_.forEach.end() - 1;
    }
    std::u16string& list = state->list;
    const std::u16string& separator = state->separator;
    if (!separator.empty())
        while (list.compare(0, separator.size(), separator) == 0)
            list.erase(0, separator.size());
    const size_t at = separator.empty() ? std::u16string::npos : list.find(separator);
    std::u16string item;
    if (at != std::u16string::npos) {
        item = list.substr(0, at);
        list.erase(0, at + separator.size());
    } else {
        item = std::move(list);
        list = separator;  // the next round finds it empty
    }
    if (!item.empty()) {
        environment_.variables.AssignVariable(variable, item, u"For Each Action");
        return;
    }
    flow_.forEach.erase(state);
    landAfter(findLoopCloser(package_, statement.index() + 1, s::Next, scanPump()));
    if (!flow_.loopKinds.empty())
        flow_.loopKinds.pop_back();
    environment_.variables.DeleteVariable(variable);
}

void Interpreter::doNext(Statement& statement)
{
    const size_t opener = findLoopOpener(package_, statement.index() - 1, s::ForEach, scanPump());
    if (opener != notFound)
        pc_ = opener;
}

void Interpreter::doBreak(Statement& statement)
{
    if (flow_.loopKinds.empty())
        return;
    const std::u16string kind = flow_.loopKinds.back();
    landAfter(findLoopCloser(package_, statement.index() + 1, closerOf(kind), scanPump()));
    if (kind == s::ForEach && !flow_.forEach.empty()) {
        environment_.variables.DeleteVariable(flow_.forEach.back().variable);
        flow_.forEach.pop_back();
    }
    flow_.loopKinds.pop_back();
}

void Interpreter::doContinue(Statement& statement)
{
    if (flow_.loopKinds.empty())
        return;
    const std::u16string kind = flow_.loopKinds.back();
    // A For Each keeps its entry: landing on it takes the next item, while the
    // other openers push their entry again.
    if (kind != s::ForEach)
        flow_.loopKinds.pop_back();
    const size_t opener = findLoopOpener(package_, statement.index() - 1, kind, scanPump());
    if (opener != notFound)
        pc_ = opener;
}

void Interpreter::doGoTo(Statement& statement)
{
    const std::u16string label = upperCase(statement.raw(1));
    const auto found = std::find_if(labels_.begin(), labels_.end(),
                                    [&](const auto& entry) { return equalsNoCase(entry.first, label); });
    if (found == labels_.end())
        throw ScriptError(u"Label not found: " + label);
    pc_ = found->second;
    flow_.ifDepth = 0;
    flow_.skipToBranch = false;
    flow_.skipToEnd = false;
    flow_.endReached = false;
    flow_.wizardActive = false;
    flow_.wizardEnd = false;
}

// Before each statement while the wizard runs: step from the page shown last
// in the user's direction to the next page, or leave through the loop's End.
void Interpreter::wizardStep()
{
    if (wizardDirection_ != 1 && wizardDirection_ != -1) {
        endWizard(current_);
        return;
    }
    size_t i = current_;
    for (size_t steps = 1;; ++steps) {
        if (wizardDirection_ > 0 && i + 1 >= count_) {
            endWizard(count_);
            return;
        }
        if (wizardDirection_ < 0 && i == 0) {
            endWizard(current_);
            return;
        }
        i = wizardDirection_ > 0 ? i + 1 : i - 1;
        if (steps % scanPumpSteps == 0)
            environment_.host.pumpMessages();
        if (package_.statementDisabled(i))
            continue;
        const std::u16string& name = package_.statementName(i);
        if (name == s::DisplayDialog) {
            pc_ = i;
            return;
        }
        if (name == s::End || name == s::WizardLoop) {
            endWizard(i);
            return;
        }
    }
}

void Interpreter::endWizard(size_t from)
{
    const size_t end = firstActiveEnd(package_, from, scanPump());
    flow_.wizardActive = false;
    flow_.wizardEnd = true;
    pc_ = end == notFound ? count_ : end;
}

void Interpreter::doReturnFromInclude(Statement& statement)
{
    if (includeResult_ == u"0" || includeInstance_ == 0)
        return;
    const std::u16string value = statement.expanded(1);
    const std::u16string resultVariable = includeResult_;
    size_t next = statement.index() + 1;
    for (size_t steps = 1; next < count_ && includes_.within(includes_.instanceOf(next), includeInstance_);
         ++next, ++steps)
        if (steps % scanPumpSteps == 0)
            environment_.host.pumpMessages();
    pc_ = next;
    if (resultVariable.empty())
        return;
    const std::u16string name = upperCase(resultVariable);
    EngineVariables& variables = environment_.variables;
    if (!variables.VariableExists(name))
        variables.SetVariable(name, u"", statement.actionContext());
    variables.AssignVariable(name, value, statement.actionContext());
}

}  // namespace pellion
