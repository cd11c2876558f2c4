// Run state, language tables and translated parameters of the command families.

#include "engine/commands/command_extensions.h"

#include "engine/commands/message_commands.h"
#include "engine/commands/translation_tables.h"
#include "engine/startup/bootstrap.h"
#include "common/translation_project.h"
#include "engine/startup/setup_language.h"
#include "engine/script/script_environment.h"

namespace pellion {

void CommandExtensions::resetRunState(ScriptEnvironment& environment)
{
    services_.forgetRun();
    // The sizes the package lists survive every clearing of the table.
    services_.components = ComponentTable{};
    services_.components.sizes = environment.package.componentSizes;
}

void CommandExtensions::bootstrap(ScriptEnvironment& environment)
{
    auto instance = services_.instanceContext(environment);
    Bootstrap(instance);
}

void CommandExtensions::readPatchIdentity(ScriptEnvironment& environment)
{
    auto instance = services_.instanceContext(environment);
    ReadPatchIdentity(instance);
}

void CommandExtensions::cacheInstanceData(ScriptEnvironment& environment, bool mediaCleanUp)
{
    auto instance = services_.instanceContext(environment);
    CacheInstanceData(instance, mediaCleanUp);
}

void CommandExtensions::definePredefinedComponent(ScriptEnvironment&)
{
    services_.components.DefineComponent(predefinedComponent, u"", true);
}

std::optional<std::u16string> CommandExtensions::selectLanguage(ScriptEnvironment& environment)
{
    SetupLanguageUi& ui = *services_.languageUi;
    LanguageSelectionInputs inputs;
    inputs.supportDir = environment.settings.supportDir;
    inputs.title = environment.identity.title;
    inputs.selectionFlag = environment.package.languageSelection;
    inputs.defaultLanguage = environment.package.defaultLanguage;
    inputs.maintenance = isTrue(environment.variables.GetVariable(u"MAINTENANCE"));
    inputs.msiFile = environment.msiFile;
    inputs.productCacheFolder = environment.productCacheFolder;
    inputs.userLanguage = ui.preferredLanguage();
    return selectSetupLanguage(services_.files, inputs, environment.settings.silent, ui,
                               environment.messages.text(Message::SelectLanguageCaption),
                               environment.messages.text(Message::SelectLanguageText));
}

void CommandExtensions::refreshBeforeStatement(ScriptEnvironment& environment)
{
    // A changed OVERRIDECACHE moves the cache; UNINSTALLLINK and ENGINECACHE
    // follow ALLUSERS. The language tables below do not bear on either.
    auto instance = services_.instanceContext(environment);
    ApplyCacheOverride(instance);
    RefreshEngineCache(instance);
    const std::u16string language = environment.variables.GetVariable(u"LANGUAGE");
    if (language.empty() || language == services_.translations.language)
        return;
    services_.translations = TranslationTables::load(services_.files, environment.settings.supportDir,
                                                     environment.identity.title, language);
    // The engine's own texts follow when the setup brings them for this language.
    if (const auto messages = readWholeFile(services_.files,
                                            environment.settings.supportDir + u"shared.translations." + language))
        environment.messages.load(*messages, services_.languageUi->messageLanguage());
}

std::u16string localizationMode(const ScriptEnvironment& environment)
{
    const std::u16string mode = environment.compilerExpanded(u"#LOCMODE#");
    return mode == u"#LOCMODE#" ? std::u16string(u"NEWONLY") : mode;
}

std::u16string CommandExtensions::translate(ScriptEnvironment& environment, std::u16string_view key, int ordinal,
                                            std::u16string_view raw)
{
    if (environment.variables.GetVariable(u"LANGUAGE").empty())
        return std::u16string(raw);
    return translateParameter(services_.translations, localizationMode(environment), key, ordinal, raw,
                              [&](const std::u16string& row) { return environment.compilerExpanded(row); });
}

void CommandExtensions::exitSteps(ScriptEnvironment&)
{
    // The tray icon would otherwise stay in the notification area after the
    // engine has gone.
    if (services_.messages)
        services_.messages->exitSteps();
}

}  // namespace pellion
