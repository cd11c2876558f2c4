// Path commands: "Extract Path", "Convert Path" and "Get Temporary File". The
// last two touch the file system and run unredirected.

#include "engine/commands/command_services.h"
#include "engine/commands/path_conversion.h"
#include "engine/commands/string_commands.h"
#include "engine/commands/text_parts.h"
#include "engine/commands/unredirected_scope.h"
#include "engine/script/command_table.h"
#include "engine/script/engine_variables.h"
#include "engine/script/script_environment.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

// A variable's value with path expansion.
std::u16string pathExpandedValue(const Statement& st, std::u16string_view variable)
{
    return collapseDoubledBackslashes(st.variables().ExpandText(st.variables().GetVariable(variable)));
}

void extractPath(Statement& st)
{
    const auto variable = st.raw(1);
    const auto path = pathExpandedValue(st, variable);
    const auto code = st.number(2);
    st.store(variable, extractPathPart(path, code));
}

void convertPathCommand(Statement& st, CommandServices& services)
{
    const auto variable = st.raw(1);
    const auto shortForm = st.flag(2);
    const UnredirectedScope unredirected(services, st.environment().bitnessMode);
    const auto path = pathExpandedValue(st, variable);
    const auto setupFolder = pathExpandedValue(st, u"SETUPPATH");
    st.store(variable, convertPath(services.paths, path, setupFolder, shortForm));
}

void getTemporaryFile(Statement& st, CommandServices& services)
{
    const auto variable = st.resultNameOrReference(1);
    const UnredirectedScope unredirected(services, st.environment().bitnessMode);
    // The folder TEMPDIR named at start-up, whatever the script did to TEMPDIR since.
    st.store(variable, services.paths.createTemporaryFile(st.environment().settings.tempDir).value_or(u""));
}

}  // namespace

void registerPathCommands(CommandTable& commands, CommandServices& services)
{
    commands.add(u"Extract Path", extractPath);
    commands.add(u"Convert Path", [&services](Statement& st) { convertPathCommand(st, services); });
    commands.add(u"Get Temporary File", [&services](Statement& st) { getTemporaryFile(st, services); });
}

}  // namespace pellion
