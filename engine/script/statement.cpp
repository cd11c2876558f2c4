// Parameter conventions of the command handlers.

#include "engine/script/statement.h"

#include "common/letter_case.h"
#include "common/numbers.h"
#include "engine/script/engine_variables.h"
#include "engine/script/script_environment.h"
#include "engine/script/script_error.h"

namespace pellion {

Statement::Statement(ScriptEnvironment& environment, ScriptControl& control, size_t index)
    : StatementView(environment.package, index), environment_(environment), control_(control)
{
}

EngineVariables& Statement::variables() const
{
    return environment_.variables;
}

const std::u16string& Statement::raw(int k) const
{
    static const std::u16string none;
    const std::u16string& statementId = id();
    if (statementId.empty() || k < 1)
        return none;
    for (const THashedStringList& list : package().parameterLists) {
        const auto at = list.indexOf(statementId);
        if (!at)
            continue;
        const size_t line = *at + static_cast<size_t>(k);
        if (line >= list.size())
            throw ScriptError(u"List index out of bounds (" + formatInt(static_cast<int64_t>(line)) + u")");
        return list.line(line);
    }
    return none;
}

std::u16string Statement::expanded(int k) const
{
    return variables().ExpandText(raw(k));
}

std::u16string Statement::pathExpanded(int k) const
{
    return collapseDoubledBackslashes(expanded(k));
}

std::u16string Statement::translated(int k, int ordinal) const
{
    return environment_.extensions.translate(environment_, id(), ordinal, raw(k));
}

std::u16string Statement::translatedExpanded(int k, int ordinal) const
{
    return variables().ExpandText(translated(k, ordinal));
}

std::u16string Statement::nameOrReference(int k) const
{
    return NameOrReference(raw(k));
}

void Statement::createResult(std::u16string_view variable) const
{
    if (!variable.empty() && !variables().VariableExists(variable))
        variables().SetVariable(upperCase(variable), u"", actionContext());
}

std::u16string Statement::resultName(int k) const
{
    std::u16string name = raw(k);
    createResult(name);
    return name;
}

std::u16string Statement::resultNameOrReference(int k) const
{
    std::u16string name = nameOrReference(k);
    createResult(name);
    return name;
}

bool Statement::flag(int k) const
{
    return isTrue(raw(k));
}

int64_t Statement::number(int k) const
{
    const std::u16string& text = raw(k);
    const auto value = parseInt64(text);
    if (!value)
        throw notAnInteger(text);
    return *value;
}

int64_t Statement::expandedNumber(int k) const
{
    const std::u16string text = expanded(k);
    const auto value = parseInt64(text);
    if (!value)
        throw notAnInteger(text);
    return *value;
}

void Statement::store(std::u16string_view variable, std::u16string_view value) const
{
    if (!variable.empty())
        variables().AssignVariable(variable, value, actionContext());
}

std::u16string collapseDoubledBackslashes(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'\\')
            ++i;
    }
    if (text.size() >= 2 && text[0] == u'\\' && text[1] == u'\\')
        out.insert(out.begin(), u'\\');
    return out;
}

}  // namespace pellion
