// Registry commands: "Read Registry", "Check Registry", "Find All Registry"
// and "Delete Registry". They act at once and are never recorded for undoing.
#pragma once

#include "engine/commands/registry_access.h"

namespace pellion {

class CommandTable;
struct CommandServices;

void registerRegistryCommands(CommandTable& commands, CommandServices& services, std::shared_ptr<RegistryAccess> registry);
// Over the registry of the machine the engine runs on.
void registerRegistryCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
