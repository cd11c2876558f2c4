// Registration of the string and path command families.
#pragma once

namespace pellion {

class CommandTable;
struct CommandServices;

void registerStringCommands(CommandTable& commands, CommandServices& services);
void registerPathCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
