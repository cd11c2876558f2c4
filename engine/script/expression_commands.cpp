// "Evaluate Expression" (1 expression, 2 result variable) and "Mathematics"
// (1 operand A, 2 operand B, 3 operation code, 4 result variable).

#include "engine/script/expression_commands.h"

#include "engine/script/engine_variables.h"
#include "engine/script/expressions.h"
#include "engine/script/mathematics.h"
#include "engine/script/script_environment.h"
#include "engine/script/statement.h"

namespace pellion {

namespace {

void evaluateExpression(Statement& st)
{
    const auto result = st.resultName(2);
    // Every reference becomes its value in double quotes: a quoted text.
    const auto expression = st.variables().ExpandQuotedText(st.raw(1));
    st.store(result, EvaluateExpression(expression));
}

bool evaluateExpressionValid(const StatementView& st)
{
    return !st.param(2).empty() && ExpressionSyntaxOk(st.param(1));
}

void mathematics(Statement& st)
{
    const auto result = st.resultName(4);
    const auto operandA = st.expanded(1);
    const auto operandB = st.expanded(2);
    const auto code = st.number(3);
    st.store(result, computeMathematics(code, operandA, operandB, st.environment().random));
}

}  // namespace

void registerExpressionCommands(CommandTable& commands)
{
    commands.add(u"Evaluate Expression", evaluateExpression, evaluateExpressionValid);
    commands.add(u"Mathematics", mathematics);
}

}  // namespace pellion
