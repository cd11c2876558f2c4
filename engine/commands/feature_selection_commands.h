// "Save Feature Selections" and "Load Feature Selections": the component
// selection, target folders and remembered variables in a file of the
// instance data format that the script names.
#pragma once

namespace pellion {

class CommandTable;
struct CommandServices;

void registerFeatureSelectionCommands(CommandTable& commands, CommandServices& services);

}  // namespace pellion
