// The engine context a script run works in: the start-up's settings, trace and
// messages, the package, the variables, the seams to the system, and the
// process-wide values of the interpreter (identity, generator state, bitness
// mode, message-box caption). One object per process, passed to everything
// that needs it; tests build a fresh one.
#pragma once

#include <string>

#include "engine/script/engine_variables.h"
#include "engine/script/interpreter_extensions.h"
#include "engine/script/interpreter_host.h"
#include "engine/script/mathematics.h"
#include "engine/script/system_facts.h"
#include "engine/startup/engine_messages.h"
#include "engine/startup/engine_settings.h"
#include "engine/startup/script_package.h"
#include "engine/startup/trace.h"

namespace pellion {

// The instance's identity: from the package, replaced by "instance.dat".
struct InstanceIdentity {
    std::u16string productCode;
    std::u16string revisionCode;
    std::u16string title;
};

struct ScriptEnvironment {
    // The run replaces the start-up's messages when the setup language changes.
    ScriptEnvironment(EngineSettings& settings, Trace& trace, EngineMessages& messages,
                      const TScriptPackage& package, TVariableManager& store, SystemFacts& facts,
                      InterpreterHost& host, InterpreterExtensions& extensions)
        : settings(settings), trace(trace), messages(messages), package(package), variables(store, settings),
          facts(facts), host(host), extensions(extensions),
          identity{package.productCode, package.revisionCode, package.title}
    {
    }

    EngineSettings& settings;
    Trace& trace;
    EngineMessages& messages;
    const TScriptPackage& package;
    EngineVariables variables;
    SystemFacts& facts;
    InterpreterHost& host;
    InterpreterExtensions& extensions;

    InstanceIdentity identity;
    // SupportDir + ExeBase + ".msi": the path the start-up hands to the loop.
    std::u16string msiFile;
    // The target folder a bootstrap of this process computed, for the
    // "Pre-Initialization" stage of a later run.
    std::u16string bootstrapTargetDir;
    // The product cache folder the instance data was looked for in (with a
    // trailing "\"), set by the bootstrap; empty before it or without one.
    std::u16string productCacheFolder;
    RandomState random;
    std::u16string bitnessMode = u"Win32";
    // Copied from TITLE and QUAVLOGO before every statement.
    std::u16string messageTitle;
    bool quavLogo = false;

    std::u16string messageBoxCaption() const { return pellion::messageBoxCaption(messageTitle, quavLogo); }
    std::u16string compilerExpanded(std::u16string_view text) const
    {
        return ExpandCompilerVariables(text, package.compilerVariablePairs());
    }
};

}  // namespace pellion
