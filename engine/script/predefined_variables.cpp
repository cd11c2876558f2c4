// Initial values of the predefined variables.

#include "engine/script/predefined_variables.h"

#include <utility>

#include "common/numbers.h"
#include "engine/script/script_environment.h"

namespace pellion {

namespace {

constexpr char16_t preInitialization[] = u"Pre-Initialization";
constexpr char16_t initialization[] = u"Initialization";
constexpr char16_t bootstrapContext[] = u"Bootstrap";

// Folder part with its trailing "\" and file part of a path.
std::pair<std::u16string, std::u16string> splitPath(const std::u16string& path)
{
    const size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string::npos)
        return {std::u16string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::u16string withBackslash(std::u16string folder)
{
    if (!folder.empty() && folder.back() != u'\\')
        folder.push_back(u'\\');
    return folder;
}

std::u16string parentFolder(const std::u16string& folder)
{
    std::u16string trimmed = folder;
    while (!trimmed.empty() && trimmed.back() == u'\\')
        trimmed.pop_back();
    const size_t slash = trimmed.find_last_of(u'\\');
    return slash == std::u16string::npos ? std::u16string() : trimmed.substr(0, slash);
}

}  // namespace

const std::vector<std::u16string>& predefinedVariableNames()
{
    static const std::vector<std::u16string> names = {
        u"TARGETDIR", u"STARTMENU", u"ALLUSERS", u"PRODUCTCODE", u"REVISIONCODE", u"DATADIR",
        u"NEEDSUPGRADE", u"MAINTENANCE", u"NATIVE_OLDLOG", u"RECOMMENDEDUPGRADE", u"NEWINSTANCE",
        u"QUAV_thProgress", u"QUAV_thMax", u"QUAV_thMin", u"QUAV_thProgressText", u"QUAV_thFinished",
        u"QUAV_thCancelled", u"QUAV_IsCancelled", u"QUAV_LastDelegateTick", u"QUAV_LastActiveTick",
        u"QUAV_TIMEOUT", u"QUAV_COMPRESS_INSTALLER_CACHE", u"QUAV_DISABLE_ROLLBACK",
        u"QUAV_DISABLE_VISTA_RESTART_MANAGER", u"USERNAME", u"USERCOMPANY", u"CHARSET_OVERRIDE",
        u"NATIVE_LOGGING", u"OVERRIDECACHE", u"QUAVLOGO", u"PROGRESSTEXT", u"PROGRESSMODE", u"LASTERROR",
        u"COPYWEBLOCK", u"NATIVE_ENGINE", u"NATIVE_ROLLBACK", u"NATIVE_HARDLINK", u"NATIVE_ERROR",
        u"NATIVE_OVERWRITE", u"NATIVE_OVERWRITE_OLDER", u"DELAYUNTIL_APPLYCHANGES",
        u"NATIVE_OVERRIDE_PERMISSIONS", u"NATIVE_OVERRIDE_NON_RESTORABLE_PERMISSIONS", u"NATIVE_PROGRESS",
        u"IISHOST", u"SELECTED", u"WINDOWHANDLE", u"PROGRESS", u"CUSTOM_TASKBAR_PROGRESS_PERCENT",
        u"CUSTOM_TASKBAR_PROGRESS_ENABLED", u"ABORT", u"LICENSE", u"REBOOTCOMPUTER", u"MINIMUM",
        u"PERSONALIZED", u"REPAIR", u"REMOVE", u"ADVERTISE", u"ABORTEDONERROR", u"SAVEDATA",
        u"CUSTOM_TASKBAR_PROGRESS_MAX", u"RUNAPP", u"COMPLETE", u"MODIFY", u"ABORTONERROR", u"WIZARD", u"FX",
        u"FXGROUND", u"FXTIME", u"REBOOTNOW", u"NEWLINE", u"EXEFILE", u"EXEDIR", u"ROOTDIR", u"VERSION",
        u"TITLE", u"COMPANY", u"SILENT", u"LOGGED", u"CMDLINE", u"SFXPATH", u"SFXFILE", u"GPOPATH",
        u"SETUPPATH", u"GLASS", u"DATE", u"TIME", u"TEMPDIR", u"SUPPORTDIR", u"MSIFILE", u"UNINSTALLLINK",
        u"ENGINECACHE", u"LANGUAGE",
    };
    return names;
}

void createValidationVariables(ScriptEnvironment& environment)
{
    for (const auto& name : predefinedVariableNames())
        environment.variables.SetVariable(name, u"", u"Compilation");
}

void setProgressHandOverVariables(ScriptEnvironment& environment)
{
    TVariableManager& store = environment.variables.store();
    const std::u16string tick = formatUnsigned(environment.facts.tickCount());
    store.Add(u"QUAV_thProgress", u"0");
    store.Add(u"QUAV_thMax", u"100");
    store.Add(u"QUAV_thMin", u"0");
    store.Add(u"QUAV_thProgressText", u"");
    store.Add(u"QUAV_thFinished", u"FALSE");
    store.Add(u"QUAV_thCancelled", u"FALSE");
    store.Add(u"QUAV_IsCancelled", u"FALSE");
    store.Add(u"QUAV_LastDelegateTick", tick);
    store.Add(u"QUAV_LastActiveTick", tick);
}

void setPreInitializationVariables(ScriptEnvironment& environment)
{
    EngineVariables& v = environment.variables;
    v.SetVariable(u"TARGETDIR", environment.bootstrapTargetDir, preInitialization);
    v.SetVariable(u"STARTMENU", environment.identity.title, preInitialization);
    v.SetVariable(u"ALLUSERS", truthText(environment.facts.administratorDefault()), preInitialization);
}

std::u16string defaultTargetDir(ScriptEnvironment& environment)
{
    SystemFacts& facts = environment.facts;
    const std::u16string base = facts.administratorDefault() || facts.windows95Family()
        ? facts.programFilesFolder()
        : parentFolder(facts.documentsFolder());
    return withBackslash(base) + environment.identity.title + u"\\";
}

void firstInstallationBootstrap(ScriptEnvironment& environment)
{
    EngineVariables& v = environment.variables;
    v.SetVariable(u"PRODUCTCODE", environment.identity.productCode, bootstrapContext);
    v.SetVariable(u"REVISIONCODE", environment.identity.revisionCode, bootstrapContext);
    v.SetVariable(u"DATADIR", environment.settings.mediaDir, bootstrapContext);
    v.SetVariable(u"NEEDSUPGRADE", u"FALSE", bootstrapContext);
    v.SetVariable(u"MAINTENANCE", u"FALSE", bootstrapContext);
    v.SetVariable(u"NATIVE_OLDLOG", u"", bootstrapContext);
    v.SetVariable(u"RECOMMENDEDUPGRADE", u"FALSE", bootstrapContext);
    v.SetVariable(u"NEWINSTANCE", u"FALSE", initialization);
    environment.bootstrapTargetDir = defaultTargetDir(environment);
    v.SetVariable(u"TARGETDIR", environment.bootstrapTargetDir, bootstrapContext);
    v.SetVariable(u"STARTMENU", environment.identity.title, bootstrapContext);
    v.SetVariable(u"ALLUSERS", truthText(environment.facts.administratorDefault()), bootstrapContext);
}

void setInitializationVariables(ScriptEnvironment& environment)
{
    EngineVariables& v = environment.variables;
    const EngineSettings& settings = environment.settings;
    SystemFacts& facts = environment.facts;
    auto set = [&](const char16_t* name, const std::u16string& value) { v.SetVariable(name, value, initialization); };
    auto setEach = [&](std::initializer_list<const char16_t*> names, const char16_t* value) {
        for (const char16_t* name : names)
            set(name, value);
    };
    auto setWhenMissing = [&](const char16_t* name, const char16_t* value) {
        if (!v.VariableExists(name))
            set(name, value);
    };

    set(u"QUAV_TIMEOUT", u"10");
    setEach({u"QUAV_COMPRESS_INSTALLER_CACHE", u"QUAV_DISABLE_ROLLBACK", u"QUAV_DISABLE_VISTA_RESTART_MANAGER"},
            u"FALSE");
    set(u"USERNAME", facts.registeredOwner());
    set(u"USERCOMPANY", facts.registeredOrganization());
    setEach({u"CHARSET_OVERRIDE", u"NATIVE_LOGGING"}, u"");
    setWhenMissing(u"OVERRIDECACHE", u"");
    setEach({u"QUAVLOGO", u"PROGRESSTEXT", u"PROGRESSMODE", u"LASTERROR", u"COPYWEBLOCK"}, u"");
    setWhenMissing(u"NATIVE_ENGINE", u"FALSE");
    setEach({u"NATIVE_ROLLBACK", u"NATIVE_HARDLINK"}, u"TRUE");
    setEach({u"NATIVE_ERROR", u"NATIVE_OVERWRITE"}, u"PROMPT");
    setEach({u"NATIVE_OVERWRITE_OLDER", u"DELAYUNTIL_APPLYCHANGES", u"NATIVE_OVERRIDE_PERMISSIONS",
             u"NATIVE_OVERRIDE_NON_RESTORABLE_PERMISSIONS"},
            u"FALSE");
    set(u"NATIVE_PROGRESS", u"0");
    set(u"IISHOST", u"localhost");
    setEach({u"SELECTED", u"WINDOWHANDLE", u"PROGRESS", u"CUSTOM_TASKBAR_PROGRESS_PERCENT"}, u"0");
    setEach({u"CUSTOM_TASKBAR_PROGRESS_ENABLED", u"ABORT", u"LICENSE", u"REBOOTCOMPUTER", u"MINIMUM",
             u"PERSONALIZED", u"REPAIR", u"REMOVE", u"ADVERTISE", u"ABORTEDONERROR", u"SAVEDATA"},
            u"FALSE");
    set(u"CUSTOM_TASKBAR_PROGRESS_MAX", u"100");
    setEach({u"RUNAPP", u"COMPLETE", u"MODIFY", u"ABORTONERROR"}, u"TRUE");
    set(u"WIZARD", u"NEXT");
    set(u"FX", u"SLIDE");
    set(u"FXGROUND", u"BACKGROUND");
    set(u"FXTIME", u"1000");
    set(u"REBOOTNOW", u"OK");
    set(u"NEWLINE", u"\r\n");
    set(u"EXEFILE", facts.engineFile());
    set(u"EXEDIR", settings.exeDir);
    set(u"ROOTDIR", settings.exeDir);
    set(u"VERSION", environment.package.productVersion);
    set(u"TITLE", environment.identity.title);
    set(u"COMPANY", environment.package.publisher);
    set(u"SILENT", truthText(settings.silent));
    set(u"LOGGED", settings.traceFile);
    set(u"CMDLINE", settings.commandTail);
    const auto [sfxPath, sfxFile] = settings.sfxSource.empty() ? std::pair<std::u16string, std::u16string>()
                                                                : splitPath(settings.sfxSource);
    set(u"SFXPATH", sfxPath);
    set(u"SFXFILE", sfxFile);
    const std::u16string gpoPath = settings.gpoSource.empty() ? std::u16string() : splitPath(settings.gpoSource).first;
    set(u"GPOPATH", gpoPath);
    set(u"SETUPPATH", !gpoPath.empty() ? u"$GPOPATH$" : !sfxPath.empty() ? u"$SFXPATH$" : u"$EXEDIR$");
    set(u"GLASS", truthText(facts.glass()));
    refreshDateAndTime(environment);
    set(u"TEMPDIR", settings.tempDir);
    set(u"SUPPORTDIR", settings.supportDir);
    set(u"MSIFILE", environment.msiFile);
}

void applyCommandLineVariables(ScriptEnvironment& environment)
{
    EngineVariables& v = environment.variables;
    for (const auto& [name, value] : environment.settings.commandLineVariables) {
        if (v.VariableExists(name))
            v.AssignVariable(name, value, injectOverrideContext);
        else
            v.SetVariable(name, value, injectOverrideContext);
    }
}

void refreshDateAndTime(ScriptEnvironment& environment)
{
    environment.variables.SetVariable(u"DATE", environment.facts.dateText(), initialization);
    environment.variables.SetVariable(u"TIME", environment.facts.timeText(), initialization);
}

}  // namespace pellion
