// Forward and backward scans over the statement names.

#include "engine/script/flow_scan.h"

#include <string>
#include <vector>

#include "engine/script/statement_names.h"

namespace pellion {

namespace {

class Steps {
public:
    explicit Steps(const ScanPump& pump) : pump_(pump) {}
    void operator()()
    {
        if (++count_ % scanPumpSteps == 0 && pump_)
            pump_();
    }

private:
    const ScanPump& pump_;
    size_t count_ = 0;
};

}  // namespace

SkipStop scanSkip(const TScriptPackage& package, size_t from, bool stopAtBranches, const ScanPump& pump)
{
    Steps step(pump);
    int64_t nesting = 0;
    for (size_t i = from; i < package.statementCount(); ++i) {
        step();
        if (package.statementDisabled(i))
            continue;
        const std::u16string& name = package.statementName(i);
        if (name == statements::If || name == statements::WizardLoop) {
            ++nesting;
        } else if (name == statements::End) {
            if (nesting == 0)
                return {SkipStopKind::End, i};
            --nesting;
        } else if (stopAtBranches && nesting == 0) {
            if (name == statements::Else)
                return {SkipStopKind::Else, i};
            if (name == statements::ElseIf)
                return {SkipStopKind::ElseIf, i};
        }
    }
    return {};
}

bool isLoopOpener(std::u16string_view name)
{
    return name == statements::While || name == statements::Repeat || name == statements::ForEach;
}

bool isLoopCloser(std::u16string_view name)
{
    return name == statements::Wend || name == statements::Until || name == statements::Next;
}

std::u16string_view closerOf(std::u16string_view opener)
{
    if (opener == statements::While)
        return statements::Wend;
    if (opener == statements::Repeat)
        return statements::Until;
    return statements::Next;
}

std::u16string_view openerOf(std::u16string_view closer)
{
    if (closer == statements::Wend)
        return statements::While;
    if (closer == statements::Until)
        return statements::Repeat;
    return statements::ForEach;
}

size_t findLoopCloser(const TScriptPackage& package, size_t from, std::u16string_view closer, const ScanPump& pump)
{
    Steps step(pump);
    std::vector<std::u16string_view> expected{closer};
    for (size_t i = from; i < package.statementCount(); ++i) {
        step();
        if (package.statementDisabled(i))
            continue;
        const std::u16string& name = package.statementName(i);
        if (isLoopOpener(name)) {
            expected.push_back(closerOf(name));
        } else if (isLoopCloser(name) && name == expected.back()) {
            expected.pop_back();
            if (expected.empty())
                return i;
        }
    }
    return notFound;
}

size_t findLoopOpener(const TScriptPackage& package, size_t from, std::u16string_view opener, const ScanPump& pump)
{
    if (from == notFound)
        return notFound;
    Steps step(pump);
    std::vector<std::u16string_view> expected{opener};
    const size_t start = from < package.statementCount() ? from + 1 : package.statementCount();
    for (size_t i = start; i-- > 0;) {
        step();
        if (package.statementDisabled(i))
            continue;
        const std::u16string& name = package.statementName(i);
        if (isLoopCloser(name)) {
            expected.push_back(openerOf(name));
        } else if (isLoopOpener(name) && name == expected.back()) {
            expected.pop_back();
            if (expected.empty())
                return i;
        }
    }
    return notFound;
}

size_t firstActiveEnd(const TScriptPackage& package, size_t from, const ScanPump& pump)
{
    Steps step(pump);
    for (size_t i = from; i < package.statementCount(); ++i) {
        step();
        if (!package.statementDisabled(i) && package.statementName(i) == statements::End)
            return i;
    }
    return notFound;
}

}  // namespace pellion
