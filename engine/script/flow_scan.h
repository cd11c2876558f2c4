// The scans of the statement loop over statement names: the skips to a branch
// or to "End", the jumps between loop openers and closers, the wizard's "End".
// Every scan passes over disabled statements and stops at the package's ends:
// a package whose closers are missing yields "not found", never an overrun.
// Long scans let the user interface breathe every scanPumpSteps steps.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "engine/startup/script_package.h"

namespace pellion {

inline constexpr size_t notFound = static_cast<size_t>(-1);
inline constexpr size_t scanPumpSteps = 313;

using ScanPump = std::function<void()>;

enum class SkipStopKind { None, Else, ElseIf, End };
struct SkipStop {
    SkipStopKind kind = SkipStopKind::None;
    size_t index = notFound;
};

// From statement `from` forward, counting "If" and "Wizard Loop" against
// "End": the "End" that closes the block, or (when stopAtBranches) an "Else"
// or "Else If" of the block itself.
SkipStop scanSkip(const TScriptPackage& package, size_t from, bool stopAtBranches, const ScanPump& pump);

// Loop openers and closers: "While"/"Wend", "Repeat"/"Until", "For Each"/"Next".
bool isLoopOpener(std::u16string_view name);
bool isLoopCloser(std::u16string_view name);
std::u16string_view closerOf(std::u16string_view opener);
std::u16string_view openerOf(std::u16string_view closer);

// The first `closer` at or after `from` that no nested loop owns.
size_t findLoopCloser(const TScriptPackage& package, size_t from, std::u16string_view closer, const ScanPump& pump);
// The first `opener` at or before `from`, scanning backward, that no nested
// loop owns. notFound when from is notFound.
size_t findLoopOpener(const TScriptPackage& package, size_t from, std::u16string_view opener, const ScanPump& pump);

// The first active "End" at or after `from`.
size_t firstActiveEnd(const TScriptPackage& package, size_t from, const ScanPump& pump);

}  // namespace pellion
