// Expanding a main script into the flat package draft: include statements are
// replaced by the statements of their scripts, every statement gets its place
// (script file and number there, include result and depth) and its id.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "authoring/setupbuilder/package_draft.h"
#include "authoring/setupbuilder/script_source.h"

namespace pellion::authoring {

struct LoadedScript {
    std::string key;    // names the file itself (a canonical path), to notice include cycles
    std::string bytes;  // its UTF-8 text
};

// Fetches the script an include names (the text as written in the include);
// throws BuildError when it cannot.
using ScriptLoader = std::function<LoadedScript(std::u16string_view file)>;

// mainName is the main script's name for section 25 unless it sets
// @source-name. Throws BuildError.
PackageDraft expandScript(const SourceScript& main, std::u16string_view mainName, const ScriptLoader& loader);

}  // namespace pellion::authoring
