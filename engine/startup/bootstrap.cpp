// The bootstrap's thirteen steps and the cache work around the statements.

#include "engine/startup/bootstrap.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/letter_case.h"
#include "engine/script/predefined_variables.h"
#include "engine/script/script_environment.h"
#include "engine/startup/instance_data.h"

namespace pellion {

namespace {

constexpr char16_t bootstrapContext[] = u"Bootstrap";
constexpr char16_t initializationContext[] = u"Initialization";

std::u16string engineFileName(ScriptEnvironment& environment)
{
    const std::u16string file = environment.facts.engineFile();
    return file.substr(folderOfPath(file).size());
}

bool compilerTrue(const ScriptEnvironment& environment, std::u16string_view reference)
{
    return equalsNoCase(environment.compilerExpanded(reference), u"TRUE");
}

// The path an uninstall entry's "UninstallString" starts: its first double
// quote dropped and everything from the next one on.
std::u16string uninstallPath(std::u16string text)
{
    const size_t first = text.find(u'"');
    if (first == std::u16string::npos)
        return text;
    text.erase(first, 1);
    if (const size_t next = text.find(u'"', first); next != std::u16string::npos)
        text.erase(next);
    return text;
}

std::u16string uninstallKey(std::u16string_view title)
{
    return u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::u16string(title);
}

void readIdentityFile(InstanceContext& context)
{
    ScriptEnvironment& environment = context.environment;
    const std::u16string path = environment.settings.exeDir + u"instance.dat";
    if (!fileExists(context.files, path))
        return;
    const auto bytes = readWholeFile(context.files, path);
    if (!bytes)
        return;
    const InstanceIdentityLines lines = parseInstanceIdentity(*bytes);
    InstanceIdentity& identity = environment.identity;
    if (lines.productCode)
        identity.productCode = *lines.productCode;
    if (lines.revisionCode)
        identity.revisionCode = *lines.revisionCode;
    if (lines.title)
        identity.title = *lines.title;
}

// The selected, not deleted components' sizes: what the installed instance took.
int64_t installedSize(const ComponentTable& components)
{
    int64_t total = 0;
    for (size_t i = 0; i < components.names.size(); ++i)
        if (i < components.states.size() && componentStateSelected(components.states[i])
            && std::none_of(components.deleted.begin(), components.deleted.end(),
                            [&](const std::u16string& name) { return equalsNoCase(name, components.names[i]); }))
            total += components.ComponentSize(components.names[i]);
    return total;
}

void loadCompanions(InstanceContext& context, const std::u16string& folder)
{
    const std::u16string& exeBase = context.environment.settings.exeBase;
    loadLineList(context.files, folder + exeBase + u".lnk", context.state.previousPinList);
    loadLineList(context.files, folder + exeBase + u".par", context.state.installerProperties);
}

// Step 10: the folder an earlier installation of the product was cached in.
std::u16string oldInstallationFolder(InstanceContext& context)
{
    const std::u16string& productCode = context.environment.identity.productCode;
    const std::u16string key = identityKey(productCode);
    const auto machineValue = context.machine.registryText(localMachine, key, u"");
    const std::u16string userValue = context.machine.registryText(currentUser, key, u"").value_or(u"");
    if (machineValue && folderExists(context.files, *machineValue)
        && !(!nativeLogsExist(context.files, *machineValue + productCode)
             && nativeLogsExist(context.files, userValue + productCode)))
        return *machineValue;
    return userValue;
}

struct OldData {
    std::optional<std::u16string> dataFile;
    std::optional<std::u16string> pinFile;
};

// Step 11: the data file (and pin file) of an earlier installation in folder o.
OldData findOldData(FileSystem& files, const std::u16string& folder)
{
    OldData old;
    if (!folderExists(files, folder))
        return old;
    const std::u16string base = withTrailingBackslash(folder);
    std::vector<std::u16string> dataFiles;
    for (const auto& entry : files.listFolder(base).value_or(std::vector<FolderEntry>{})) {
        const auto& name = entry.name;
        if (entry.isFolder || name.size() <= 4 || !equalsNoCase(name.substr(name.size() - 4), u".dat")
            || equalsNoCase(name, u"instance.dat"))
            continue;
        dataFiles.push_back(name);
    }
    if (dataFiles.size() == 1) {
        old.dataFile = base + dataFiles.front();
        return old;
    }
    for (const auto& name : dataFiles) {
        const std::u16string stem = base + name.substr(0, name.size() - 4);
        if (fileExists(files, stem + u".exe") && fileExists(files, stem + u".res") && fileExists(files, stem + u".par")) {
            old.dataFile = base + name;
            if (fileExists(files, stem + u".lnk"))
                old.pinFile = stem + u".lnk";
            break;
        }
    }
    return old;
}

// Every missing level of the folder, created from the top down; the folders
// created, or nothing when a level cannot be created (those made so far are
// removed again).
std::optional<std::vector<std::u16string>> createFolderLevels(InstanceContext& context, const std::u16string& folder)
{
    std::vector<std::u16string> created;
    for (size_t i = 0; i < folder.size(); ++i) {
        if (!isPathSeparator(folder[i]))
            continue;
        const std::u16string level = folder.substr(0, i + 1);
        if (folderExists(context.files, level))
            continue;
        if (!context.machine.createFolder(level)) {
            for (auto it = created.rbegin(); it != created.rend(); ++it)
                context.machine.removeEmptyFolder(*it);
            return std::nullopt;
        }
        created.push_back(level);
    }
    return created;
}

void removeCreatedFolders(InstanceContext& context, const std::vector<std::u16string>& created)
{
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        context.machine.removeEmptyFolder(*it);
}

}  // namespace

bool NativeInstalled(InstanceContext& context)
{
    FileSystem& files = context.files;
    const std::u16string& productCode = context.environment.identity.productCode;
    if (!nativeLogsExist(files, context.nativeLogBase()))
        return false;
    const std::u16string key = identityKey(productCode);
    auto value = context.machine.registryText(localMachine, key, u"");
    const bool keep = value && folderExists(files, *value) && nativeLogsExist(files, *value + productCode)
                   && fileExists(files, withTrailingBackslash(*value) + u"oxa.lib");
    if (!keep)
        if (auto user = context.machine.registryText(currentUser, key, u""))
            value = std::move(user);
    return value && !value->empty() && lastPathComponent(*value) == context.environment.identity.revisionCode;
}

int32_t ProductState(InstanceContext& context, std::u16string_view productCode)
{
    if (NativeInstalled(context))
        return productInstalled;
    return context.machine.msiProductState(productCode).value_or(-1);
}

bool PackageCodeMatches(InstanceContext& context, std::u16string_view productCode, std::u16string_view revisionCode)
{
    const auto packageCode = context.machine.msiPackageCode(productCode);
    return packageCode && equalsNoCase(*packageCode, revisionCode);
}

void Bootstrap(InstanceContext& context)
{
    ScriptEnvironment& environment = context.environment;
    EngineVariables& variables = environment.variables;
    EngineSettings& settings = environment.settings;
    const InstanceIdentity& identity = environment.identity;
    ComponentTable& components = context.components;
    const bool allUsersDefault = environment.facts.administratorDefault();
    auto set = [&](const char16_t* name, const std::u16string& value) {
        variables.SetVariable(name, value, bootstrapContext);
    };

    // 1. Identity.
    readIdentityFile(context);
    set(u"PRODUCTCODE", identity.productCode);
    set(u"REVISIONCODE", identity.revisionCode);

    // 2. Default target folder.
    const std::u16string targetDir = defaultTargetDir(environment);
    environment.bootstrapTargetDir = targetDir;

    // 3. The engine's cached copy.
    const std::u16string defaultCache = CacheRoot(context.site(), allUsersDefault) + identity.revisionCode + u"\\";
    set(u"UNINSTALLLINK", defaultCache + engineFileName(environment));
    set(u"ENGINECACHE", defaultCache);

    // 4. Media folder.
    if (environment.package.mediaMode == 2)
        settings.mediaDir = defaultCache;
    set(u"DATADIR", settings.mediaDir);

    // 5. and 6. Upgrade or maintenance.
    const int32_t state = ProductState(context, identity.productCode);
    const bool needsUpgrade = state == productInstalled
                           && !PackageCodeMatches(context, identity.productCode, identity.revisionCode)
                           && context.machine.msiProductState(identity.productCode) == productInstalled;
    set(u"NEEDSUPGRADE", truthText(needsUpgrade));
    bool readOldDataNow = false;
    if (variables.GetVariable(u"NEEDSUPGRADE") != u"FALSE") {
        set(u"MAINTENANCE", u"FALSE");
        readOldDataNow = compilerTrue(environment, u"#LOADOLDDATA#");
    } else {
        set(u"MAINTENANCE", truthText(state == productInstalled));
    }

    // 7. The folder the instance data is looked for in.
    components.installedSelectionSize = 0;
    const std::u16string cacheFolder = context.instanceCacheFolder(identity.revisionCode);
    environment.productCacheFolder = cacheFolder;
    const std::u16string dataFile = cacheFolder + settings.exeBase + u".dat";

    if (isTrue(variables.GetVariable(u"MAINTENANCE"))) {
        // 8. Maintenance: the installed instance's selection.
        ReadInstanceData(context, dataFile, false, false);
        components.installedSelectionSize = installedSize(components);
        loadCompanions(context, cacheFolder);
    } else {
        // 9. First installation or upgrade.
        components.ClearComponents();
        components.DefineComponent(predefinedComponent, u"", true);
        context.state.installerProperties.clear();
        set(u"TARGETDIR", targetDir);
        set(u"STARTMENU", identity.title);
        set(u"ALLUSERS", truthText(allUsersDefault));
        ReadInstanceData(context, dataFile, false, false);
    }

    // 10. and 11. An earlier installation of the product.
    const std::u16string oldFolder = oldInstallationFolder(context);
    std::u16string oldLog;
    if (!oldFolder.empty() && nativeLogsExist(context.files, oldFolder + identity.productCode)
        && lastPathComponent(oldFolder) != identity.revisionCode)
        oldLog = oldFolder + identity.productCode;
    set(u"NATIVE_OLDLOG", oldLog);
    const OldData old = findOldData(context.files, oldFolder);
    if (readOldDataNow && old.dataFile)
        ReadInstanceData(context, *old.dataFile, false, true);
    if (old.pinFile)
        loadLineList(context.files, *old.pinFile, context.state.previousPinList);

    // 12. A native installation of another revision recommends an upgrade.
    if (!oldLog.empty()) {
        set(u"RECOMMENDEDUPGRADE", u"TRUE");
        if (!readOldDataNow && old.dataFile && compilerTrue(environment, u"#LOADOLDDATA#"))
            ReadInstanceData(context, *old.dataFile, false, true);
    } else {
        set(u"RECOMMENDEDUPGRADE", u"FALSE");
    }

    // 13. A run of the installed product's own cached engine is no new instance.
    variables.SetVariable(u"NEWINSTANCE", u"FALSE", initializationContext);
    if (!fileExists(context.files, settings.exeDir + u"instance.dat")
        && (isTrue(variables.GetVariable(u"MAINTENANCE")) || isTrue(variables.GetVariable(u"NEEDSUPGRADE"))))
        variables.SetVariable(u"NEWINSTANCE", u"TRUE", initializationContext);
}

void ApplyCacheOverride(InstanceContext& context)
{
    EngineVariables& variables = context.environment.variables;
    const std::u16string requested = variables.GetVariable(u"OVERRIDECACHE");
    if (requested.empty() || requested == context.state.lastCacheOverride)
        return;
    const std::u16string folder = withTrailingBackslash(requested);
    const auto created = createFolderLevels(context, folder);
    if (!created) {
        variables.AssignVariable(u"OVERRIDECACHE", u"", u"Failed Cache Override");
        context.state.lastCacheOverride.clear();
        return;
    }
    variables.AssignVariable(u"OVERRIDECACHE", folder, injectOverrideContext);
    Bootstrap(context);
    context.state.lastCacheOverride = variables.GetVariable(u"OVERRIDECACHE");
    removeCreatedFolders(context, *created);
}

void RefreshEngineCache(InstanceContext& context)
{
    ScriptEnvironment& environment = context.environment;
    EngineVariables& variables = environment.variables;
    const bool allUsers = isTrue(variables.GetVariable(u"ALLUSERS"));
    if (!context.patchRun()) {
        const std::u16string cache = CacheRoot(context.site(), allUsers) + environment.identity.revisionCode + u"\\";
        variables.SetVariable(u"UNINSTALLLINK", cache + engineFileName(environment), initializationContext);
        variables.SetVariable(u"ENGINECACHE", cache, initializationContext);
        return;
    }
    const bool machineRoot = allUsers || environment.facts.windows95Family();
    const std::u16string link = uninstallPath(
        context.machine.registryText(machineRoot, uninstallKey(variables.GetVariable(u"TITLE")), u"UninstallString")
            .value_or(u""));
    variables.SetVariable(u"UNINSTALLLINK", link, initializationContext);
    variables.SetVariable(u"ENGINECACHE", folderOfPath(link), initializationContext);
}

void ReadPatchIdentity(InstanceContext& context)
{
    ScriptEnvironment& environment = context.environment;
    InstanceIdentity& identity = environment.identity;
    const std::u16string kept = identity.revisionCode;
    identity.revisionCode.clear();
    const std::u16string key = uninstallKey(environment.variables.GetVariable(u"TITLE"));
    std::u16string uninstall = context.machine.registryText(currentUser, key, u"UninstallString").value_or(u"");
    if (uninstall.empty())
        uninstall = context.machine.registryText(localMachine, key, u"UninstallString").value_or(u"");
    const std::u16string cacheName = lastPathComponent(folderOfPath(uninstallPath(uninstall)));
    identity.revisionCode = cacheName;
    context.state.patchCacheName = cacheName;
    const std::u16string folder = context.instanceCacheFolder(cacheName);
    ComponentTable& components = context.components;
    ReadInstanceData(context, folder + environment.settings.exeBase + u".dat", false, false);
    components.installedSelectionSize += installedSize(components);
    loadCompanions(context, folder);
    identity.revisionCode = kept;
}

void CacheInstanceData(InstanceContext& context, bool mediaCleanUp)
{
    ScriptEnvironment& environment = context.environment;
    const std::u16string& revisionCode = environment.identity.revisionCode;
    if (mediaCleanUp && environment.package.mediaMode == 2) {
        const std::u16string sources = environment.compilerExpanded(u"#CACHESOURCES#");
        if (!equalsNoCase(sources, u"FALSE") && !sources.empty()) {
            const std::u16string media = context.instanceCacheFolder(revisionCode);
            for (const auto& entry : context.files.listFolder(media).value_or(std::vector<FolderEntry>{}))
                if (entry.isFolder && !equalsNoCase(entry.name, u"OFFLINE"))
                    context.machine.removeTree(media + entry.name);
        }
    }
    if (context.state.cacheDiscarded)
        return;
    const std::u16string cache = context.instanceCacheFolder(context.cacheName());
    const bool compress = isTrue(environment.variables.GetVariable(u"QUAV_COMPRESS_INSTALLER_CACHE"));
    context.machine.setHidden(cache);
    context.machine.setCompression(cache, compress);
    if (context.remembered.empty())
        return;
    // Without a registration in this run only an existing data file is
    // refreshed; creating the folder first would leave an empty hidden cache
    // folder behind after every run of a product that was never installed.
    const std::u16string dataFile = cache + environment.settings.exeBase + u".dat";
    const bool full = context.state.registeredThisRun;
    if (!full && !fileExists(context.files, dataFile))
        return;
    if (!createFolderLevels(context, cache))
        return;
    context.machine.setCompression(cache, compress);
    WriteInstanceData(context, dataFile, false, full);
}

}  // namespace pellion
