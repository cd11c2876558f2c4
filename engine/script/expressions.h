// The expression language of "Evaluate Expression": comparisons of quoted
// texts joined by "and" / "or" strictly from left to right, with parentheses.
// The command itself lives with "Mathematics" in expression_commands.cpp.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

// "TRUE", "FALSE" or "ERROR" (a malformed term or operator, or text left
// after the closing parenthesis).
std::u16string EvaluateExpression(std::u16string_view text);

// The validation check: every "$" read as a double quote, so that each
// variable reference stands for a quoted text; false when that gives "ERROR".
bool ExpressionSyntaxOk(std::u16string_view text);

}  // namespace pellion
