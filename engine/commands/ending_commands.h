// Ending commands: "Terminate Install" and "Terminate with Exit Code" stop the
// statement loop; "Reboot Computer", "Reboot and Resume" and "Reboot and
// Login" ask Windows to restart (the latter two after writing the restart
// entry) and stop it too; "Terminate Program" closes other programs' windows
// and lets the script go on. The engine then runs its exit steps and ends
// with its exit code.
#pragma once

#include <memory>

#include "engine/commands/restart_control.h"

namespace pellion {

class CommandTable;
struct CommandServices;

void registerEndingCommands(CommandTable& commands, CommandServices& services, std::shared_ptr<RestartControl> restart);
// Over the machine the engine runs on.
void registerEndingCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
