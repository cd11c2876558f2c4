// Feature selections saved to and loaded from a file; both run unredirected.
// The file format and what reading it changes belong to the instance data.

#include "engine/commands/feature_selection_commands.h"

#include "engine/commands/command_services.h"
#include "engine/commands/unredirected_scope.h"
#include "engine/script/command_table.h"
#include "engine/script/script_environment.h"
#include "engine/script/statement.h"
#include "engine/startup/cache_location.h"

namespace pellion {

namespace {

void saveFeatureSelections(Statement& st, CommandServices& services)
{
    const auto file = st.expanded(1);
    const UnredirectedScope unredirected(services, st.environment().bitnessMode);
    auto instance = services.instanceContext(st.environment());
    WriteInstanceData(instance, file, true, true);
}

void loadFeatureSelections(Statement& st, CommandServices& services)
{
    const auto file = st.expanded(1);
    const UnredirectedScope unredirected(services, st.environment().bitnessMode);
    if (!fileExists(services.files, file))
        return;
    auto instance = services.instanceContext(st.environment());
    ReadInstanceData(instance, file, true, false);
}

}  // namespace

void registerFeatureSelectionCommands(CommandTable& commands, CommandServices& services)
{
    commands.add(u"Save Feature Selections", [&services](Statement& st) { saveFeatureSelections(st, services); });
    commands.add(u"Load Feature Selections", [&services](Statement& st) { loadFeatureSelections(st, services); });
}

}  // namespace pellion
