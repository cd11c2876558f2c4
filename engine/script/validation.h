// The check a script must pass before it runs: blocks and loops nest and
// close, "Break" and "Continue" stand inside loops, labels are unique and
// every "GoTo Label" finds one, a wizard loop holds only dialogs, and every
// registered command's own check holds. Disabled statements are ignored. A
// rejected script ends the engine with exit code 314; the reason is kept for
// tests and traces only.
#pragma once

#include <cstddef>
#include <string>

#include "engine/script/command_table.h"
#include "engine/startup/script_package.h"

namespace pellion {

struct ValidationResult {
    bool ok = true;
    size_t statement = 0;  // where the check failed
    std::string reason;
};

ValidationResult ValidateScript(const TScriptPackage& package, const CommandTable& commands);

}  // namespace pellion
