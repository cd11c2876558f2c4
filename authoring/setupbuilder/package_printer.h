// Turning a script package back into script source: the package (bare text, or
// a built setup .exe carrying it) is read with the engine's own reader, made
// into a draft, printed, and the printed source is built again in memory to
// check that it gives the same package byte for byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "authoring/setupbuilder/package_draft.h"
#include "engine/startup/script_package.h"

namespace pellion::authoring {

struct PrintedPackage {
    std::string source;                 // UTF-8 script source
    std::vector<std::string> warnings;  // what the source cannot carry, for the user
};

// The package text inside bytes: what follows the PE image for an executable,
// else the bytes themselves. Throws BuildError for an executable that carries
// nothing.
std::string_view packageTextOf(std::string_view bytes);

// The draft of a loaded package. Sections this tool does not write are noted
// in warnings when they are not empty.
PackageDraft draftFromPackage(const TScriptPackage& package, std::vector<std::string>& warnings);

// Throws BuildError when the package cannot be loaded.
PrintedPackage printPackage(std::string_view bytes);

}  // namespace pellion::authoring
