// Registry commands: "Read Registry" and "Check Registry" read one value,
// "Find All Registry" lists a key's subkeys or values and "Delete Registry"
// removes a key or a value. Every key is opened in the view the bitness mode
// selects; failures never stop the run.

#include "engine/commands/registry_commands.h"

#include "common/numbers.h"
#include "engine/commands/command_services.h"
#include "engine/script/command_table.h"
#include "engine/script/engine_variables.h"
#include "engine/script/script_environment.h"
#include "engine/script/script_error.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

uint32_t viewFlag(const Statement& st, CommandServices& services)
{
    return registryViewFlag(services.redirection.windows64(), st.environment().bitnessMode);
}

// The computer of a target, kept only for the two hives another computer can open.
std::u16string remoteComputer(const Statement& st, std::u16string_view hiveText, std::u16string computer, int expansions)
{
    if (hiveText != u"2" && hiveText != u"3")
        return {};
    for (int i = 0; i < expansions; ++i)
        computer = st.variables().ExpandText(computer);
    return networkComputer(computer);
}

// The value text of "Read Registry" (filtered) or "Check Registry" (with words).
void readValue(Statement& st, CommandServices& services, RegistryAccess& registry, bool keepWords)
{
    const auto target = splitRegistryTarget(st.raw(1));
    st.createResult(target.name);
    const auto root = registryRoot(st.number(2));
    RegistryValue value;
    if (!root) {
        // No root key for that code: nothing can be opened.
        value.outcome = RegistryOutcome::noKey;
    } else {
        const RegistryPlace place{*root, remoteComputer(st, st.raw(2), target.computer, 1), st.pathExpanded(3),
                                  viewFlag(st, services)};
        value = registry.read(place, st.pathExpanded(4));
    }
    auto text = registryResultText(value);
    st.store(target.name, keepWords ? text : withoutResultWord(std::move(text)));
}

void findAllRegistry(Statement& st, CommandServices& services, RegistryAccess& registry)
{
    const auto target = splitRegistryTarget(st.raw(1));
    st.createResult(target.name);
    const auto root = registryRoot(st.number(2));
    const auto subkeys = st.flag(4);
    std::u16string text;
    if (root) {
        const RegistryPlace place{*root, remoteComputer(st, st.raw(2), target.computer, 2), st.pathExpanded(3),
                                  viewFlag(st, services)};
        bool first = true;
        for (const auto& name : registry.names(place, subkeys).value_or(std::vector<std::u16string>{})) {
            if (!first)
                text += u"$NEWLINE$";
            text += name.empty() && !subkeys ? u"(Default)" : name;
            first = false;
        }
    }
    st.store(target.name, text);
}

void deleteRegistry(Statement& st, CommandServices& services, RegistryAccess& registry)
{
    const auto target = splitRegistryTarget(st.raw(1));
    const auto code = parseInt64(target.name);
    if (!code)
        throw notAnInteger(target.name);
    const auto root = registryRoot(*code);
    const auto key = st.pathExpanded(2);
    const auto value = st.pathExpanded(3);
    const auto wholeKey = st.flag(4);
    // A code without a root key names nothing to delete.
    if (!root)
        return;
    const bool remoteHive = *root == 0x80000002 || *root == 0x80000003;
    const RegistryPlace place{*root, remoteHive ? networkComputer(st.variables().ExpandText(target.computer)) : u"",
                              key, viewFlag(st, services)};
    if (wholeKey)
        registry.deleteKey(place);
    else
        registry.deleteValue(place, value);
}

}  // namespace

void registerRegistryCommands(CommandTable& commands, CommandServices& services, std::shared_ptr<RegistryAccess> registry)
{
    commands.add(u"Read Registry",
                 [&services, registry](Statement& st) { readValue(st, services, *registry, false); });
    commands.add(u"Check Registry",
                 [&services, registry](Statement& st) { readValue(st, services, *registry, true); });
    commands.add(u"Find All Registry",
                 [&services, registry](Statement& st) { findAllRegistry(st, services, *registry); });
    commands.add(u"Delete Registry",
                 [&services, registry](Statement& st) { deleteRegistry(st, services, *registry); });
}

void registerRegistryCommands(CommandTable& commands, CommandServices& services)
{
    registerRegistryCommands(commands, services, makeSystemRegistry());
}

#ifndef _WIN32
// Host builds reach no registry: every key is missing.
namespace {
class AbsentRegistry : public RegistryAccess {
public:
    RegistryValue read(const RegistryPlace&, std::u16string_view) override { return {RegistryOutcome::noKey, 0, {}}; }
    std::optional<std::vector<std::u16string>> names(const RegistryPlace&, bool) override { return std::nullopt; }
    void deleteKey(const RegistryPlace&) override {}
    void deleteValue(const RegistryPlace&, std::u16string_view) override {}
};
}  // namespace

std::unique_ptr<RegistryAccess> makeSystemRegistry()
{
    return std::make_unique<AbsentRegistry>();
}
#endif

}  // namespace pellion
