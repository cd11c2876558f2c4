// The condition of "If", "Else If", "While" and "Until": a variable compared
// with a value by a one-digit code, with a negation flag; and the version
// comparison of code "6". What the loop does with the outcome is its own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/script/engine_variables.h"

namespace pellion {

// The four raw parameters: variable (name or reference), code "0".."6",
// comparison value (expanded here), negation flag. Translation of parameters 1
// and 3, when a setup language is in effect, is the caller's.
struct ConditionParameters {
    std::u16string variable;
    std::u16string code;
    std::u16string value;
    std::u16string negate;
};

// Throws ScriptError for a version part that is not a number before a ".".
bool EvaluateCondition(const ConditionParameters& parameters, const EngineVariables& variables);

// Up to four dot-separated numbers; a missing part is 0, a last part that is
// not a number is 0, any other part that is not a number throws ScriptError.
std::array<int32_t, 4> versionParts(std::u16string_view text);
bool versionGreater(std::u16string_view left, std::u16string_view right);

}  // namespace pellion
