// Shared helpers of the setupbuilder tests: compiling script text held in
// memory, with included scripts from a map instead of files.
#pragma once

#include <map>
#include <string>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/package_draft.h"
#include "authoring/setupbuilder/package_writer.h"
#include "authoring/setupbuilder/script_expansion.h"
#include "authoring/setupbuilder/script_source.h"
#include "common/text.h"

namespace pellion::authoring::testing {

using ScriptFiles = std::map<std::string, std::string>;

inline PackageDraft draftOf(const std::string& main, const ScriptFiles& files = {})
{
    const SourceScript script = parseScriptSource(main, u"setup.pls");
    const ScriptLoader loader = [&files](std::u16string_view file) {
        const auto found = files.find(toUtf8(file));
        if (found == files.end())
            throw BuildError("no script " + toUtf8(file));
        return LoadedScript{found->first, found->second};
    };
    return expandScript(script, u"setup.pls", loader);
}

inline std::string packageOf(const std::string& main, const ScriptFiles& files = {})
{
    const PackageDraft draft = draftOf(main, files);
    std::string text = writePackage(draft);
    verifyPackage(draft, text);
    return text;
}

}  // namespace pellion::authoring::testing
