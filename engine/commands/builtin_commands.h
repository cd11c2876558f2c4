// Every built-in command family the engine understands, registered in one call.
#pragma once

namespace pellion {

class CommandTable;
struct CommandServices;

void registerBuiltinCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
