// The list of built-in command families; a family joins the engine here.

#include "engine/commands/builtin_commands.h"

#include "engine/commands/component_commands.h"
#include "engine/commands/ending_commands.h"
#include "engine/commands/feature_selection_commands.h"
#include "engine/commands/message_commands.h"
#include "engine/commands/registry_commands.h"
#include "engine/commands/string_commands.h"
#include "engine/script/expression_commands.h"

namespace pellion {

void registerBuiltinCommands(CommandTable& commands, CommandServices& services)
{
    registerExpressionCommands(commands);
    registerStringCommands(commands, services);
    registerPathCommands(commands, services);
    registerRegistryCommands(commands, services);
    registerEndingCommands(commands, services);
    registerComponentCommands(commands, services);
    registerFeatureSelectionCommands(commands, services);
    registerMessageCommands(commands, services);
}

}  // namespace pellion
