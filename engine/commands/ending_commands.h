// Ending commands: "Terminate Install" and "Terminate with Exit Code" stop the
// statement loop; the engine then runs its exit steps and ends with its exit code.
#pragma once

namespace pellion {

class CommandTable;

void registerEndingCommands(CommandTable& commands);

}  // namespace pellion
