// The run of a script: preamble, statement loop, run-time errors, epilogue.
// The control-flow statements themselves are in control_flow.cpp.

#include "engine/script/interpreter.h"

#include <exception>

#include "common/letter_case.h"
#include "common/numbers.h"
#include "common/text.h"
#include "engine/script/predefined_variables.h"
#include "engine/script/script_error.h"
#include "engine/script/statement_names.h"
#include "engine/script/validation.h"

namespace pellion {

std::u16string runtimeErrorText(const EngineMessages& messages, const TSourceLocation& location,
                                const std::u16string& error)
{
    std::u16string file = location.file;
    if (const size_t slash = file.find_last_of(u"\\/"); slash != std::u16string::npos)
        file.erase(0, slash + 1);
    if (const size_t dot = file.find_last_of(u'.'); dot != std::u16string::npos)
        file.erase(dot);
    return messages.text(Message::RuntimeErrorInScript) + u"\r\n\r\nSource File: " + file + u"\r\nLine Number: "
         + formatInt(static_cast<int64_t>(location.number) + 1) + u"\r\n\r\n" + error;
}

Interpreter::Interpreter(ScriptEnvironment& environment, const CommandTable& commands)
    : environment_(environment), commands_(commands), package_(environment.package),
      count_(environment.package.statementCount()), includes_(environment.package),
      plugins_(environment.package.pluginCommands.begin(), environment.package.pluginCommands.end())
{
}

void Interpreter::run()
{
    if (preamble() == Preamble::Stop)
        return;
    if (!loop()) {
        exitSteps();
        return;
    }
    epilogue();
}

Interpreter::Preamble Interpreter::preamble()
{
    ScriptEnvironment& env = environment_;
    Trace& trace = env.trace;
    EngineVariables& variables = env.variables;

    trace.line(u"    <Variables>");
    flow_ = FlowState{};
    savedFlow_.clear();
    labels_.clear();
    evaluateElseIf_ = false;
    wizardDirection_ = 1;
    ended_ = false;
    env.bitnessMode = u"Win32";
    env.extensions.resetRunState(env);
    lastPump_ = env.facts.tickCount();
    trace.line(u"    </Variables>");

    trace.line(u"    <CompileScript>");
    createValidationVariables(env);
    const ValidationResult validation = ValidateScript(package_, commands_);
    variables.store().Clear();
    if (!validation.ok) {
        env.settings.exitCode = validationFailedExitCode;
        env.host.endProcessNow(validationFailedExitCode);
        return Preamble::Stop;
    }
    trace.line(u"    </CompileScript>");

    setProgressHandOverVariables(env);
    setPreInitializationVariables(env);

    trace.line(u"    <BootStrap>");
    env.extensions.bootstrap(env);
    trace.line(u"    </BootStrap>");

    for (size_t i = 0; i < count_; ++i)
        if (package_.statementName(i) == statements::Label)
            labels_.emplace_back(upperCase(package_.param(i, 1)), i);

    if (equalsNoCase(env.compilerExpanded(u"#SINGLEINSTANCE#"), u"TRUE")) {
        const std::u16string marker = env.settings.tempDir + variables.GetVariable(u"REVISIONCODE") + u".oxa";
        if (env.host.fileExists(marker)) {
            env.settings.singleInstanceExit = true;
            return Preamble::Stop;
        }
        env.host.createEmptyFile(marker);
        singleInstanceMarker_ = marker;
    }

    trace.line(u"    <quav>");
    pc_ = 0;
    env.extensions.definePredefinedComponent(env);
    setInitializationVariables(env);
    if (env.host.fileExists(env.settings.supportDir + env.settings.exeBase + u".msp"))
        env.extensions.readPatchIdentity(env);
    const std::u16string productCode = variables.GetVariable(u"PRODUCTCODE");
    if (productCode.size() >= 9)
        env.host.deleteRestartEntries(productCode.substr(1, 8));
    env.extensions.resetCommandHeaderProperties(env);
    const auto language = env.extensions.selectLanguage(env);
    if (!language) {
        exitSteps();
        return Preamble::Stop;
    }
    variables.SetVariable(u"LANGUAGE", *language, u"Initialization");
    applyCommandLineVariables(env);
    return Preamble::Run;
}

void Interpreter::pumpWhenDue()
{
    const uint32_t now = environment_.facts.tickCount();
    if (now - lastPump_ >= pumpIntervalMs) {
        environment_.host.pumpMessages();
        lastPump_ = now;
    }
}

void Interpreter::refreshFromVariables()
{
    ScriptEnvironment& env = environment_;
    const EngineVariables& variables = env.variables;
    env.trace.setFile(variables.GetVariable(u"LOGGED"));
    env.settings.silent = isTrue(variables.GetVariable(u"SILENT"));
    env.messageTitle = variables.GetVariable(u"TITLE");
    env.quavLogo = equalsNoCase(variables.GetVariable(u"QUAVLOGO"), u"TRUE");
    refreshDateAndTime(env);
    env.extensions.refreshBeforeStatement(env);
}

bool Interpreter::runnable(size_t index) const
{
    return !package_.statementDisabled(index) && package_.statementName(index) != statements::Ignore;
}

bool Interpreter::chooseNext()
{
    if (flow_.skipToBranch)
        skipToBranch();
    else if (flow_.skipToEnd)
        skipToEnd();
    if (flow_.wizardActive)
        wizardStep();
    for (size_t steps = 1; pc_ < count_ && !runnable(pc_); ++steps, ++pc_)
        if (steps % scanPumpSteps == 0)
            environment_.host.pumpMessages();
    if (pc_ >= count_)
        return false;
    followIncludes(pc_);
    includeResult_ = package_.includeLevel(pc_).result;
    current_ = pc_++;
    return true;
}

// Entering an include saves the flow state, leaving it restores it; moving
// from one include to another does both, once per level.
void Interpreter::followIncludes(size_t next)
{
    const size_t target = includes_.instanceOf(next);
    if (target == includeInstance_)
        return;
    const size_t common = includes_.commonAncestor(includeInstance_, target);
    for (int32_t level = includes_.depthOf(includeInstance_); level > includes_.depthOf(common); --level)
        if (!savedFlow_.empty()) {
            flow_ = std::move(savedFlow_.back());
            savedFlow_.pop_back();
        }
    for (int32_t level = includes_.depthOf(common); level < includes_.depthOf(target); ++level)
        savedFlow_.push_back(flow_);
    includeInstance_ = target;
}

void Interpreter::execute(size_t index)
{
    const std::u16string& name = package_.statementName(index);
    if (name != statements::Else && name != statements::ElseIf && name != statements::End)
        flow_.wizardEnd = false;
    Statement statement(environment_, *this, index);
    const bool elseIfEvaluates = evaluateElseIf_;
    evaluateElseIf_ = false;
    if (plugins_.count(name)) {
        environment_.extensions.runPlugin(statement);
        return;
    }
    if (name == statements::ElseIf && elseIfEvaluates) {
        doIf(statement);
        return;
    }
    if (executeControlFlow(statement))
        return;
    if (const CommandEntry* entry = commands_.find(name))
        entry->handler(statement);
}

bool Interpreter::loop()
{
    ScriptEnvironment& env = environment_;
    while (!ended_) {
        pumpWhenDue();
        refreshFromVariables();
        if (!chooseNext())
            break;
        const size_t index = current_;
        env.variables.SetVariable(u"ABORT", truthText(isTrue(env.variables.GetVariable(u"QUAV_IsCancelled"))),
                                  u"Cancel State");
        env.extensions.updateProgress(env);
        try {
            execute(index);
        } catch (const ScriptError& error) {
            reportError(index, error.text());
            return false;
        } catch (const std::exception& error) {
            reportError(index, toUtf16(error.what()));
            return false;
        }
    }
    return true;
}

void Interpreter::reportError(size_t statement, const std::u16string& text)
{
    if (environment_.settings.silent)
        return;
    environment_.host.showRuntimeError(runtimeErrorText(environment_.messages, package_.sourceLocation(statement), text),
                                       environment_.messageBoxCaption());
}

void Interpreter::exitSteps()
{
    ScriptEnvironment& env = environment_;
    env.trace.line(u"    </quav>");
    env.trace.line(u"    <ExitScript>");
    if (!singleInstanceMarker_.empty()) {
        env.host.deleteFile(singleInstanceMarker_);
        singleInstanceMarker_.clear();
    }
    env.extensions.exitSteps(env);
    env.trace.line(u"    </ExitScript>");
}

void Interpreter::epilogue()
{
    ScriptEnvironment& env = environment_;
    exitSteps();
    if (!env.host.setupMediaRemoved(env.settings.exeDir))
        return;
    // The setup's media went away under the running setup: keep what is known
    // about the instance and end here, before the start-up touches anything.
    env.extensions.cacheInstanceData(env, false);
    for (const char16_t* line : {u"  </RunScript>", u"  <Free>", u"  </Free>", u"  <CachedSupportDir>",
                                 u"  </CachedSupportDir>", u"  <RemovableMediaPrematureEject>",
                                 u"  </RemovableMediaPrematureEject>", u"</Vantrel>"})
        env.trace.line(line);
    env.host.endProcessNow(env.settings.exitCode);
}

void RunScript(ScriptEnvironment& environment, const CommandTable& commands)
{
    Interpreter(environment, commands).run();
}

}  // namespace pellion
