// Component commands over the process-wide component table. None of them
// reports an error: a component that does not exist is left alone and
// queries about it answer "FALSE" and 0.

#include "engine/commands/component_commands.h"

#include "common/numbers.h"
#include "engine/commands/command_services.h"
#include "engine/script/command_table.h"
#include "engine/script/script_environment.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

// Parameter 1 of every component command: translated when a setup language
// was chosen, then expanded.
std::u16string componentName(const Statement& st)
{
    return st.translatedExpanded(1, 1);
}

void defineComponent(Statement& st, ComponentTable& components)
{
    const auto name = componentName(st);
    const auto selected = st.flag(2);
    const auto description = st.translatedExpanded(3, 2);
    // The package lists sizes under the names the script was written with;
    // a translated name takes its size along.
    const auto untranslated = st.expanded(1);
    if (untranslated != name) {
        if (const int64_t size = components.ComponentSize(untranslated); size != 0) {
            components.sizes.push_back(name);
            components.sizes.push_back(formatInt(size));
        }
    }
    components.DefineComponent(name, description, selected);
}

void getComponentState(Statement& st, const ComponentTable& components)
{
    const auto name = componentName(st);
    const auto result = st.resultName(2);
    st.store(result, components.effectivelySelected(name) ? u"TRUE" : u"FALSE");
}

void setComponentSpace(Statement& st, ComponentTable& components)
{
    const auto name = componentName(st);
    if (const auto size = parseInt64(st.expanded(2)))
        components.setSize(name, *size);
}

void getComponentSpace(Statement& st, const ComponentTable& components)
{
    const auto name = componentName(st);
    const auto result = st.resultName(2);
    st.store(result, formatInt(name.empty() ? components.SelectionSize() : components.ComponentSize(name)));
}

}  // namespace

void registerComponentCommands(CommandTable& commands, CommandServices& services)
{
    ComponentTable& components = services.components;
    commands.add(u"Define Component", [&components](Statement& st) { defineComponent(st, components); });
    commands.add(u"Set Component State",
                 [&components](Statement& st) { components.setState(componentName(st), st.flag(2)); });
    commands.add(u"Get Component State", [&components](Statement& st) { getComponentState(st, components); });
    commands.add(u"Set Component Space", [&components](Statement& st) { setComponentSpace(st, components); });
    commands.add(u"Get Component Space", [&components](Statement& st) { getComponentSpace(st, components); });
    commands.add(u"Set Component Choice",
                 [&components](Statement& st) { components.setChoiceAllowed(componentName(st), st.flag(2)); });
    commands.add(u"Set Component Visibility",
                 [&components](Statement& st) { components.setVisible(componentName(st), st.flag(2)); });
    commands.add(u"Delete Component",
                 [&components](Statement& st) { components.deleteComponent(componentName(st)); });
}

}  // namespace pellion
