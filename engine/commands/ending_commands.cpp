// Ending commands: "Terminate Install" stops the statement loop, "Terminate
// with Exit Code" first sets the engine's exit code, the three restarting
// commands first ask for the restart, and "Terminate Program" posts close
// requests to the windows its texts name.

#include "engine/commands/ending_commands.h"

#include "common/numbers.h"
#include "engine/commands/command_services.h"
#include "engine/script/command_table.h"
#include "engine/script/engine_variables.h"
#include "engine/script/script_environment.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

void terminateInstall(Statement& st)
{
    st.control().endRun();
}

void terminateWithExitCode(Statement& st)
{
    // A text that is not a decimal integer sets 0; a larger number keeps the
    // low 32 bits the process exit code can carry.
    const auto code = parseInt64(st.expanded(1)).value_or(0);
    st.environment().settings.exitCode = static_cast<int32_t>(static_cast<uint32_t>(code));
    st.control().endRun();
}

// The mark goes up before the request: wizard windows that Windows closes
// during the shutdown must find it and close without the cancel question.
void restart(Statement& st, CommandServices& services, RestartControl& control)
{
    services.restarting = true;
    control.requestRestart();
    st.control().endRun();
}

// Nothing of the run is kept: the next run deletes the entry and starts the
// script from its first statement with the same command line. The name comes
// from the instance's product code, the package's unless an "instance.dat"
// beside the engine replaced it: the code every run starts PRODUCTCODE from
// and deletes the entries by, so an instance's entry fires only once.
void restartAndRunAgain(Statement& st, CommandServices& services, RestartControl& control, RestartKey key)
{
    const ScriptEnvironment& env = st.environment();
    const auto entry = restartEntry(key, isTrue(st.variables().GetVariable(u"ALLUSERS")), env.identity.productCode,
                                    env.settings.sfxSource, env.facts.engineFile(), env.settings.commandTail);
    if (entry)
        control.writeEntry(*entry);
    restart(st, services, control);
}

void terminateProgram(Statement& st, RestartControl& control)
{
    const auto title = st.pathExpanded(1);
    const auto className = st.pathExpanded(2);
    closeMatchingWindows(control, title, className);
}

}  // namespace

void registerEndingCommands(CommandTable& commands, CommandServices& services, std::shared_ptr<RestartControl> control)
{
    commands.add(u"Terminate Install", terminateInstall);
    commands.add(u"Terminate with Exit Code", terminateWithExitCode);
    commands.add(u"Reboot Computer", [&services, control](Statement& st) { restart(st, services, *control); });
    commands.add(u"Reboot and Resume", [&services, control](Statement& st) {
        restartAndRunAgain(st, services, *control, RestartKey::runOnce);
    });
    commands.add(u"Reboot and Login", [&services, control](Statement& st) {
        restartAndRunAgain(st, services, *control, RestartKey::run);
    });
    commands.add(u"Terminate Program", [control](Statement& st) { terminateProgram(st, *control); });
}

void registerEndingCommands(CommandTable& commands, CommandServices& services)
{
    registerEndingCommands(commands, services, makeSystemRestartControl());
}

}  // namespace pellion
