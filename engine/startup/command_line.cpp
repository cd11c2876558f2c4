// Command-line reading for setup mode.

#include "engine/startup/command_line.h"

#include "common/letter_case.h"

namespace pellion {

std::u16string commandTailOf(std::u16string_view raw)
{
    if (!raw.empty() && raw.front() == u'"') {
        const auto close = raw.find(u'"', 1);
        if (close == std::u16string_view::npos)
            return {};
        const auto rest = close + 2;  // the closing quote and the character after it
        return rest >= raw.size() ? std::u16string() : std::u16string(raw.substr(rest));
    }
    const auto blank = raw.find(u' ');
    if (blank == std::u16string_view::npos)
        return {};
    return std::u16string(raw.substr(blank + 1));
}

std::vector<std::u16string> splitArguments(std::u16string_view tail)
{
    std::vector<std::u16string> arguments;
    size_t i = 0;
    const size_t n = tail.size();
    while (i < n) {
        while (i < n && tail[i] <= u' ')
            ++i;
        if (i >= n)
            break;
        std::u16string argument;
        bool quoted = false;
        while (i < n && (quoted || tail[i] > u' ')) {
            if (tail[i] == u'"')
                quoted = !quoted;
            else
                argument.push_back(tail[i]);
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

namespace {

bool isSwitch(std::u16string_view argument, std::u16string_view name)
{
    return argument.size() == name.size() + 1 && (argument[0] == u'/' || argument[0] == u'-')
        && equalsNoCase(argument.substr(1), name);
}

bool hasSwitch(const std::vector<std::u16string>& arguments, std::u16string_view name)
{
    for (const auto& argument : arguments)
        if (isSwitch(argument, name))
            return true;
    return false;
}

// The first argument holding any of the option texts anywhere, lower-cased,
// without its first three characters.
std::u16string optionValue(const std::vector<std::u16string>& arguments, std::initializer_list<std::u16string_view> options)
{
    for (const auto& argument : arguments) {
        const std::u16string lowered = lowerCase(argument);
        for (const auto option : options) {
            if (lowered.find(option) != std::u16string::npos)
                return lowered.size() > 3 ? lowered.substr(3) : std::u16string();
        }
    }
    return {};
}

}  // namespace

void readCommandLine(const std::vector<std::u16string>& arguments, EngineSettings& settings)
{
    settings.silent = hasSwitch(arguments, u"s") || hasSwitch(arguments, u"qn");
    settings.noSplash = hasSwitch(arguments, u"update") || hasSwitch(arguments, u"updatesetup");
    settings.traceFile = optionValue(arguments, {u"/l=", u"-l="});
    settings.mediaOverride = optionValue(arguments, {u"/p=", u"-p="});
    settings.gpoSource = optionValue(arguments, {u"/g="});
    settings.sfxSource = optionValue(arguments, {u"/m="});

    settings.commandLineVariables.clear();
    for (const auto& argument : arguments) {
        if (argument.empty() || argument[0] == u'/' || argument[0] == u'-')
            continue;
        const auto equals = argument.find(u'=');
        if (equals == std::u16string::npos)
            continue;
        settings.commandLineVariables.emplace_back(upperCase(argument.substr(0, equals)), argument.substr(equals + 1));
    }
}

}  // namespace pellion
