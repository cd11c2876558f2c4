// Condition codes, the numeric/text rule and versions.

#include "engine/script/conditions.h"

#include <optional>

#include "common/letter_case.h"
#include "common/numbers.h"
#include "engine/script/script_error.h"

namespace pellion {

namespace {

bool contains(std::u16string_view text, std::u16string_view part)
{
    return text.find(part) != std::u16string_view::npos;
}

bool compareTexts(char16_t code, const std::u16string& left, const std::u16string& right)
{
    switch (code) {
    case u'0': return left == right;
    case u'1': return contains(left, right);
    case u'2': return left > right;
    case u'3': return contains(upperCase(left), upperCase(right));
    case u'4': return equalsAsciiNoCase(left, right);
    default: return false;
    }
}

bool compareNumbers(char16_t code, int32_t left, int32_t right)
{
    switch (code) {
    case u'0':
    case u'1':
    case u'3':
    case u'4': return left == right;
    case u'2': return left > right;
    default: return false;
    }
}

}  // namespace

std::array<int32_t, 4> versionParts(std::u16string_view text)
{
    std::array<int32_t, 4> parts{};
    for (int32_t& part : parts) {
        if (text.empty())
            break;
        const size_t dot = text.find(u'.');
        if (dot == std::u16string_view::npos) {
            part = parseInt32(text).value_or(0);
            text = {};
        } else {
            const auto number = parseInt32(text.substr(0, dot));
            if (!number)
                throw notAnInteger(std::u16string(text.substr(0, dot)));
            part = *number;
            text.remove_prefix(dot + 1);
        }
    }
    return parts;
}

bool versionGreater(std::u16string_view left, std::u16string_view right)
{
    const auto a = versionParts(left);
    const auto b = versionParts(right);
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return a[i] > b[i];
    return false;
}

bool EvaluateCondition(const ConditionParameters& parameters, const EngineVariables& variables)
{
    const bool negate = isTrue(parameters.negate);
    const std::u16string& code = parameters.code;
    bool result = false;
    if (code == u"5") {
        result = variables.VariableExists(parameters.variable);
    } else if (code.size() == 1 && code[0] >= u'0' && code[0] <= u'6') {
        const std::u16string left = variables.ExpandText(variables.GetVariable(NameOrReference(parameters.variable)));
        const std::u16string right = variables.ExpandText(parameters.value);
        if (code == u"6") {
            result = versionGreater(left, right);
        } else {
            const auto leftNumber = parseInt32(left);
            const auto rightNumber = parseInt32(right);
            result = leftNumber && rightNumber ? compareNumbers(code[0], *leftNumber, *rightNumber)
                                               : compareTexts(code[0], left, right);
        }
    }
    return result != negate;
}

}  // namespace pellion
