// String commands: "Set Variable" with its special variables, "Localization
// Variable", "Parse String", "Replace String", "Convert Case" and "Set 64 Bit
// Mode". The native logs, the progress display and web transfers belong to
// other parts; "Set Variable" reaches them through CommandServices.

#include "engine/commands/string_commands.h"

#include <algorithm>
#include <string_view>

#include "common/letter_case.h"
#include "common/numbers.h"
#include "common/translation_project.h"
#include "engine/startup/cache_location.h"
#include "engine/commands/command_services.h"
#include "engine/commands/text_parts.h"
#include "engine/commands/translation_tables.h"
#include "engine/script/command_table.h"
#include "engine/script/engine_variables.h"
#include "engine/script/script_environment.h"
#include "engine/script/script_error.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

constexpr std::u16string_view rememberMarker = u"$QUAV$QUAV$";

// A log base is accepted when it has a folder and either all four log files
// exist or none does and all four can be created.
bool acceptLogBase(FileSystem& files, const std::u16string& base)
{
    if (folderOfPath(base).empty())
        return false;
    size_t existing = 0;
    for (const auto suffix : nativeLogSuffixes)
        if (fileExists(files, base + std::u16string(suffix)))
            ++existing;
    if (existing == nativeLogSuffixes.size())
        return true;
    if (existing != 0)
        return false;
    for (const auto suffix : nativeLogSuffixes)
        if (!files.writeFile(base + std::u16string(suffix), {}))
            return false;
    return true;
}

// The value NATIVE_LOGGING really receives.
std::u16string moveNativeLogging(CommandServices& services, const std::u16string& value)
{
    if (value.empty()) {
        if (services.logRecords->held())
            services.logRecords->writeOut();
        return value;
    }
    if (equalsNoCase(value, u"FALSE"))
        return value;
    if (!acceptLogBase(services.files, value))
        return {};
    if (services.logRecords->held())
        services.logRecords->writeOut();
    return value;
}

void refreshProgress(Statement& st, CommandServices& services)
{
    const EngineVariables& variables = st.variables();
    const std::u16string position = variables.GetVariable(u"PROGRESS");
    const auto number = parseInt64(position);
    if (!number)
        throw notAnInteger(position);
    services.progress->refresh(variables.GetVariable(u"PROGRESSTEXT"), *number);
}

void setVariable(Statement& st, CommandServices& services)
{
    std::u16string target = st.raw(1);
    bool remember = false;
    if (const size_t marker = target.find(rememberMarker); marker != std::u16string::npos) {
        remember = target.substr(marker + rememberMarker.size()) == u"TRUE";
        target.erase(marker);
    }
    const std::u16string name = NameOrReference(target);
    std::u16string value = st.translatedExpanded(2, 1);
    if (name.empty())
        return;
    st.createResult(name);
    EngineVariables& variables = st.variables();
    if (equalsNoCase(name, u"NATIVE_LOGGING") && value != variables.GetVariable(name))
        value = moveNativeLogging(services, value);
    st.store(name, value);
    if (remember) {
        auto& remembered = services.rememberedVariables;
        if (std::none_of(remembered.begin(), remembered.end(),
                         [&](const std::u16string& known) { return equalsNoCase(known, name); }))
            remembered.push_back(name);
    }
    if (equalsNoCase(name, u"ABORT"))
        st.store(u"QUAV_IsCancelled", value);
    else if (equalsNoCase(name, u"QUAV_TIMEOUT"))
        services.downloadTimeoutSeconds = parseInt64(variables.GetVariable(name)).value_or(10);
    else if (equalsNoCase(name, u"PROGRESS") || equalsNoCase(name, u"PROGRESSTEXT"))
        refreshProgress(st, services);
}

void localizationVariable(Statement& st)
{
    const std::u16string name = st.resultNameOrReference(1);
    std::u16string keyName = st.raw(1);
    std::erase(keyName, u'$');
    ScriptEnvironment& environment = st.environment();
    const std::u16string text = environment.extensions.translate(environment, localizedVariableKey(keyName), 1, st.raw(2));
    st.store(name, st.variables().ExpandText(text));
}

void parseString(Statement& st)
{
    const auto source = st.pathExpanded(1);
    const auto delimiter = st.pathExpanded(2);
    const auto firstVariable = st.resultName(3);  // may be empty: that part is not stored
    const auto secondVariable = st.resultName(4);
    const auto mode = st.number(5);
    const auto trim = st.flag(6);
    const auto anyCase = st.flag(7);
    const auto [first, second] = splitText(source, delimiter, mode, anyCase);
    st.store(firstVariable, trim ? trimmed(first) : first);
    st.store(secondVariable, trim ? trimmed(second) : second);
}

void replaceString(Statement& st)
{
    const auto variable = st.nameOrReference(1);
    const auto value = markLineBreaks(st.variables().GetVariable(variable));
    const auto find = markLineBreaks(st.expanded(2));
    const auto replacement = markLineBreaks(st.expanded(3));
    const auto anyCase = st.flag(4);
    const auto everyOccurrence = st.flag(5);
    st.createResult(variable);
    st.store(variable, replaceText(value, find, replacement, anyCase, everyOccurrence));
}

void convertCase(Statement& st)
{
    const auto variable = st.raw(1);
    const auto value = collapseDoubledBackslashes(st.variables().ExpandText(st.variables().GetVariable(variable)));
    st.store(variable, st.flag(2) ? upperCase(value) : lowerCase(value));
}

void setBitnessMode(Statement& st)
{
    // Exact "TRUE" only, in this order: the last one that is set wins.
    const std::pair<int, const char16_t*> modes[] = {{1, u"Win32"}, {2, u"ia64"}, {3, u"x64"}};
    for (const auto& [parameter, mode] : modes)
        if (st.raw(parameter) == u"TRUE")
            st.environment().bitnessMode = mode;
}

}  // namespace

void registerStringCommands(CommandTable& commands, CommandServices& services)
{
    commands.add(u"Set Variable", [&services](Statement& st) { setVariable(st, services); });
    commands.add(u"Localization Variable", localizationVariable);
    commands.add(u"Parse String", parseString);
    commands.add(u"Replace String", replaceString);
    commands.add(u"Convert Case", convertCase);
    commands.add(u"Set 64 Bit Mode", setBitnessMode);
}

}  // namespace pellion
