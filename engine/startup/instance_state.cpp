// Reading an instance data file into the run and writing the run into one.

#include "engine/startup/instance_state.h"

#include <algorithm>
#include <array>

#include "common/letter_case.h"
#include "common/text.h"
#include "common/text_lines.h"
#include "engine/script/script_environment.h"
#include "engine/startup/instance_data.h"

namespace pellion {

namespace {

constexpr char16_t loadContext[] = u"LoadComponents";

bool knownBitnessMode(std::u16string_view mode, std::u16string& canonical)
{
    for (const char16_t* known : {u"Win32", u"x64", u"ia64"})
        if (equalsNoCase(mode, known)) {
            canonical = known;
            return true;
        }
    return false;
}

void append(std::vector<std::u16string>& to, const std::vector<std::u16string>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// Names and states are parallel: a file whose state list is shorter or longer
// than its name list must not shift the states of other components.
void appendComponents(ComponentTable& components, const std::vector<std::u16string>& names,
                      std::vector<std::u16string> states)
{
    states.resize(names.size(), u"FALSE");
    const size_t before = components.names.size();
    components.states.resize(before);
    append(components.names, names);
    append(components.states, states);
}

void mergeStates(ComponentTable& components, const std::vector<std::u16string>& names,
                 const std::vector<std::u16string>& states)
{
    for (size_t row = 0; row < names.size() && row < states.size(); ++row)
        for (size_t i = 0; i < components.names.size(); ++i)
            if (equalsNoCase(components.names[i], names[row])) {
                if (components.states.size() <= i)
                    components.states.resize(i + 1);
                components.states[i] = states[row];
            }
}

void applyLists(InstanceContext& context, InstanceDataFile& file, bool merge, bool keepSizes)
{
    ComponentTable& components = context.components;
    auto& lists = file.lists;
    const auto& names = lists[componentNamesList];
    const auto& states = lists[componentStatesList];
    if (merge) {
        if (names && states)
            mergeStates(components, *names, *states);
        if (lists[deletedComponentsList])
            components.deleted = std::move(*lists[deletedComponentsList]);
        if (lists[hiddenComponentsList])
            components.hidden = std::move(*lists[hiddenComponentsList]);
        if (lists[choiceComponentsList])
            components.fixed = std::move(*lists[choiceComponentsList]);
        return;
    }
    if (names && states)
        appendComponents(components, *names, *states);
    if (lists[deletedComponentsList])
        append(components.deleted, *lists[deletedComponentsList]);
    if (lists[hiddenComponentsList])
        append(components.hidden, *lists[hiddenComponentsList]);
    if (lists[choiceComponentsList])
        append(components.fixed, *lists[choiceComponentsList]);
    if (auto& sizes = lists[componentSizesList]; sizes && !keepSizes) {
        sizes->resize(sizes->size() / 2 * 2);  // only whole pairs
        append(components.sizes, *sizes);
    }
}

void applyVariables(InstanceContext& context, const InstanceDataFile& file)
{
    ScriptEnvironment& environment = context.environment;
    EngineVariables& variables = environment.variables;
    if (file.targetDir)
        variables.SetVariable(u"TARGETDIR", *file.targetDir, loadContext);
    if (file.allUsers)
        variables.SetVariable(u"ALLUSERS", *file.allUsers, loadContext);
    if (file.startMenu)
        variables.SetVariable(u"STARTMENU", *file.startMenu, loadContext);
    int unremembered = 0;
    for (const auto& [name, value] : file.pairs) {
        if (equalsNoCase(name, u"QUAV64WOW")) {
            knownBitnessMode(value, environment.bitnessMode);
            unremembered = 2;
            continue;
        }
        if (name.empty())
            continue;
        if (unremembered > 0) {
            --unremembered;
        } else if (std::none_of(context.remembered.begin(), context.remembered.end(),
                                [&](const std::u16string& known) { return equalsNoCase(known, name); })) {
            context.remembered.push_back(name);
        }
        variables.SetVariable(name, value, loadContext);
    }
}

std::vector<NamedValue> rememberedValues(const InstanceContext& context)
{
    std::vector<NamedValue> values;
    for (const auto& name : context.remembered)
        values.emplace_back(name, context.environment.variables.GetVariable(name));
    return values;
}

}  // namespace

CacheSite InstanceContext::site() const
{
    return CacheSite{files,
                     machine,
                     environment.facts.windows95Family(),
                     environment.variables.GetVariable(u"OVERRIDECACHE"),
                     environment.identity.productCode,
                     environment.identity.revisionCode};
}

bool InstanceContext::patchRun() const
{
    return environment.package.mediaMode == 3;
}

std::u16string InstanceContext::cacheName() const
{
    return patchRun() ? state.patchCacheName : environment.identity.revisionCode;
}

std::u16string InstanceContext::instanceCacheFolder(std::u16string_view name) const
{
    const CacheSite where = site();
    return CacheRoot(where, CacheForAllUsers(where, environment.msiFile, cacheName())) + std::u16string(name) + u"\\";
}

std::u16string InstanceContext::nativeLogBase() const
{
    const std::u16string logging = environment.variables.GetVariable(u"NATIVE_LOGGING");
    if (!logging.empty() && !equalsNoCase(logging, u"FALSE") && folderExists(files, folderOfPath(logging))
        && nativeLogsExist(files, logging))
        return logging;
    return instanceCacheFolder(cacheName()) + environment.identity.productCode;
}

void ReadInstanceData(InstanceContext& context, std::u16string_view path, bool merge, bool keepSizes)
{
    std::u16string source(path);
    if (!fileExists(context.files, source)) {
        if (merge)
            return;
        const auto cached = FindCachedSetup(context.files, folderOfPath(path));
        if (!cached)
            return;
        source = *cached;
    }
    const auto bytes = readWholeFile(context.files, source);
    if (!bytes)
        return;
    InstanceDataFile file = parseInstanceData(*bytes);
    applyLists(context, file, merge, keepSizes);
    applyVariables(context, file);
}

void WriteInstanceData(InstanceContext& context, std::u16string_view path, bool noMediaLine, bool full)
{
    ScriptEnvironment& environment = context.environment;
    const EngineVariables& variables = environment.variables;
    const std::u16string overrideCache = variables.GetVariable(u"OVERRIDECACHE");
    const std::u16string nativeEngine = variables.GetVariable(u"NATIVE_ENGINE");
    if (!full) {
        if (!fileExists(context.files, path))
            return;
        const auto old = readWholeFile(context.files, path);
        if (!old)
            return;
        const auto updated =
            updatedInstanceData(*old, rememberedValues(context), environment.bitnessMode, overrideCache, nativeEngine);
        if (!updated)
            return;
        const std::u16string fresh = std::u16string(path) + u".dat";
        const std::array<std::string_view, 1> pieces{*updated};
        if (context.files.writeFile(fresh, pieces) && !context.machine.replaceFile(fresh, path))
            context.machine.deleteFile(fresh);
        return;
    }
    const ComponentTable& components = context.components;
    InstanceDataContent content;
    content.lists = {components.names, components.states, components.deleted,
                     components.hidden, components.fixed, components.sizes};
    // States are written one per name, so a reader never pairs a name with
    // another component's state.
    content.lists[componentStatesList].resize(components.names.size(), u"FALSE");
    content.targetDir = variables.GetVariable(u"TARGETDIR");
    content.allUsers = variables.GetVariable(u"ALLUSERS");
    content.startMenu = variables.GetVariable(u"STARTMENU");
    if (!noMediaLine) {
        const std::u16string& media = environment.settings.mediaDir;
        content.mediaLine = context.machine.shortPath(media).value_or(media);
    }
    content.remembered = rememberedValues(context);
    content.bitnessMode = environment.bitnessMode;
    content.overrideCache = overrideCache;
    content.nativeEngine = nativeEngine;
    const std::string text = formatInstanceData(content);
    const std::array<std::string_view, 1> pieces{text};
    context.files.writeFile(path, pieces);
}

void loadLineList(FileSystem& files, std::u16string_view path, std::vector<std::u16string>& list)
{
    if (!fileExists(files, path))
        return;
    if (const auto bytes = readWholeFile(files, path))
        list = utf8Lines(*bytes);
}

}  // namespace pellion
