// The two computing statements of the interpreter itself: "Evaluate
// Expression" and "Mathematics".
#pragma once

#include "engine/script/command_table.h"

namespace pellion {

void registerExpressionCommands(CommandTable& commands);

}  // namespace pellion
