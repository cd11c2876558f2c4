// One pass over the active statements with a stack of open blocks.

#include "engine/script/validation.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "common/letter_case.h"
#include "engine/script/engine_variables.h"
#include "engine/script/flow_scan.h"
#include "engine/script/statement.h"
#include "engine/script/statement_names.h"

namespace pellion {

namespace {

struct OpenBlock {
    std::u16string_view kind;
    std::u16string loopVariable;  // "For Each" only
};

ValidationResult rejected(size_t statement, std::string reason)
{
    return {false, statement, std::move(reason)};
}

bool isWizardContent(std::u16string_view name)
{
    return name == statements::DisplayDialog || name == statements::Comment || name == statements::Ignore
        || name == statements::End;
}

}  // namespace

ValidationResult ValidateScript(const TScriptPackage& package, const CommandTable& commands)
{
    namespace s = statements;
    std::vector<OpenBlock> open;
    std::unordered_set<std::u16string> labels;
    std::vector<std::pair<size_t, std::u16string>> gotos;
    const std::unordered_set<std::u16string> plugins(package.pluginCommands.begin(), package.pluginCommands.end());
    auto insideLoop = [&] {
        return std::any_of(open.begin(), open.end(), [](const OpenBlock& b) { return isLoopOpener(b.kind); });
    };

    for (size_t i = 0; i < package.statementCount(); ++i) {
        if (package.statementDisabled(i))
            continue;
        const StatementView statement(package, i);
        const std::u16string& name = statement.name();
        if (!open.empty() && open.back().kind == s::WizardLoop && !isWizardContent(name))
            return rejected(i, "a wizard loop holds a statement other than a dialog");

        if (name == s::If || name == s::WizardLoop || name == s::While || name == s::Repeat) {
            open.push_back({name, {}});  // the view lives as long as the package
        } else if (name == s::ForEach) {
            std::u16string variable = NameOrReference(statement.param(1));
            for (const OpenBlock& block : open)
                if (block.kind == s::ForEach && equalsNoCase(block.loopVariable, variable))
                    return rejected(i, "a For Each uses the loop variable of an enclosing For Each");
            open.push_back({s::ForEach, std::move(variable)});
        } else if (name == s::End) {
            if (open.empty() || (open.back().kind != s::If && open.back().kind != s::WizardLoop))
                return rejected(i, "an End closes no If or Wizard Loop");
            open.pop_back();
        } else if (isLoopCloser(name)) {
            if (open.empty() || open.back().kind != openerOf(name))
                return rejected(i, "a loop closer closes no loop of its kind");
            open.pop_back();
        } else if (name == s::Else || name == s::ElseIf) {
            // Outside an If the branch statement would skip to some unrelated End.
            if (open.empty() || open.back().kind != s::If)
                return rejected(i, "an Else or Else If stands outside an If");
        } else if (name == s::Break || name == s::Continue) {
            if (!insideLoop())
                return rejected(i, "a Break or Continue stands outside every loop");
        } else if (name == s::Label) {
            if (!labels.insert(upperCase(statement.param(1))).second)
                return rejected(i, "two labels have the same name");
        } else if (name == s::GoToLabel) {
            gotos.emplace_back(i, upperCase(statement.param(1)));
        }

        if (plugins.count(name))
            continue;
        if (const CommandEntry* entry = commands.find(name); entry && entry->check && !entry->check(statement))
            return rejected(i, "the command's own check failed");
    }
    if (!open.empty())
        return rejected(package.statementCount(), "a block or loop is not closed");
    for (const auto& [statement, label] : gotos)
        if (!labels.count(label))
            return rejected(statement, "a GoTo Label names no label");
    return {};
}

}  // namespace pellion
