// Component commands: the script defines, selects, sizes, hides, fixes and
// deletes components and asks for their state and size.
#pragma once

namespace pellion {

class CommandTable;
struct CommandServices;

void registerComponentCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
