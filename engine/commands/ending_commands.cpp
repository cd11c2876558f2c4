// Ending commands: "Terminate Install" stops the statement loop, "Terminate
// with Exit Code" first sets the engine's exit code.

#include "engine/commands/ending_commands.h"

#include "common/numbers.h"
#include "engine/script/command_table.h"
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

}  // namespace

void registerEndingCommands(CommandTable& commands)
{
    commands.add(u"Terminate Install", terminateInstall);
    commands.add(u"Terminate with Exit Code", terminateWithExitCode);
}

}  // namespace pellion
