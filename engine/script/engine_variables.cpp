// Assignment rules, reference forms and compiler-variable substitution.

#include "engine/script/engine_variables.h"

#include "common/letter_case.h"

namespace pellion {

namespace {

bool isOwnReference(std::u16string_view name, std::u16string_view value)
{
    return value.size() == name.size() + 2 && value.front() == u'$' && value.back() == u'$'
        && equalsNoCase(value.substr(1, name.size()), name);
}

// Every occurrence of pattern (letter case ignored) replaced, left to right,
// the scan continuing after each inserted value.
std::u16string replaceAllNoCase(const std::u16string& text, std::u16string_view pattern, std::u16string_view value)
{
    const std::u16string upperText = upperCase(text);
    const std::u16string upperPattern = upperCase(pattern);
    std::u16string out;
    size_t from = 0;
    for (;;) {
        const size_t at = upperText.find(upperPattern, from);
        if (at == std::u16string::npos)
            break;
        out.append(text, from, at - from);
        out.append(value);
        from = at + upperPattern.size();
    }
    if (from == 0)
        return text;
    out.append(text, from, std::u16string::npos);
    return out;
}

}  // namespace

bool isTrue(std::u16string_view text)
{
    return equalsAsciiNoCase(text, u"TRUE") || text == u"-1";
}

std::u16string ReferenceName(std::u16string_view text)
{
    if (text.size() < 2 || text.front() != u'$')
        return {};
    if (text.find(u'$', 1) != text.size() - 1)
        return {};
    return std::u16string(text.substr(1, text.size() - 2));
}

std::u16string NameOrReference(std::u16string_view text)
{
    std::u16string name = ReferenceName(text);
    return name.empty() ? std::u16string(text) : name;
}

std::u16string ExpandCompilerVariables(std::u16string_view source,
                                       const std::vector<std::pair<std::u16string, std::u16string>>& compilerVariables)
{
    std::u16string text(source);
    for (int round = 0; round < maxCompilerRounds; ++round) {
        if (text.find(u'#') == std::u16string::npos)
            return text;
        std::u16string next = text;
        for (const auto& [name, value] : compilerVariables)
            next = replaceAllNoCase(next, u"#" + name + u"#", value);
        if (next == text)
            return text;
        text = std::move(next);
    }
    return text;
}

void EngineVariables::DeleteVariable(std::u16string_view name)
{
    if (!name.empty() && store_.Exists(name))
        store_.Remove(name);
}

bool EngineVariables::protectedFromCommandLine(std::u16string_view name, std::u16string_view context) const
{
    if (!settings_.silent || context == injectOverrideContext)
        return false;
    const std::u16string upper = upperCase(name);
    for (const auto& [commandLineName, value] : settings_.commandLineVariables)
        if (equalsNoCase(commandLineName, upper))
            return true;
    return false;
}

void EngineVariables::SetVariable(std::u16string_view name, std::u16string_view value, std::u16string_view context)
{
    if (name.empty())
        return;
    if (isOwnReference(name, value))
        value = {};
    if (store_.Exists(name))
        AssignVariable(name, value, context);
    else
        store_.Add(name, value);
}

void EngineVariables::AssignVariable(std::u16string_view name, std::u16string_view value, std::u16string_view context)
{
    if (name.empty() || protectedFromCommandLine(name, context))
        return;
    if (isOwnReference(name, value))
        value = {};
    // Stores whether or not the variable exists yet: what SetVariable would do
    // for a missing one, without the two calling each other.
    store_.SetItem(name, value);
}

std::u16string EngineVariables::ReferencedValue(std::u16string_view text) const
{
    std::u16string name = NameOrReference(text);
    if (const auto value = store_.Find(name))
        return ExpandText(*value);
    return u"$QUAVNX$";
}

std::u16string EngineVariables::ReferencedValueOrEmpty(std::u16string_view text) const
{
    std::u16string name = NameOrReference(text);
    if (const auto value = store_.Find(name))
        return ExpandText(*value);
    return {};
}

}  // namespace pellion
