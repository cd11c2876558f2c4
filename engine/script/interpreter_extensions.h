// The points where later parts of the engine join the statement loop: the
// instance-data bootstrap, the setup language, the per-statement refresh of
// cache and language, translated parameters, the progress display, the plug-in
// path and the exit steps. Every member has a harmless default, so the loop
// runs complete before those parts exist; each part overrides what it owns.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellion {

struct ScriptEnvironment;
class Statement;

class InterpreterExtensions {
public:
    virtual ~InterpreterExtensions() = default;

    // Preamble step 1: forget translation tables and per-run lists of a
    // previous run.
    virtual void resetRunState(ScriptEnvironment&) {}
    // Identity and instance variables. The default is what a first
    // installation does (firstInstallationBootstrap).
    virtual void bootstrap(ScriptEnvironment& environment);
    virtual void definePredefinedComponent(ScriptEnvironment&) {}
    // Called in a patch run (the support folder holds ExeBase + ".msp").
    virtual void readPatchIdentity(ScriptEnvironment&) {}
    virtual void resetCommandHeaderProperties(ScriptEnvironment&) {}
    // The setup language, empty for none; nothing when the user cancelled.
    virtual std::optional<std::u16string> selectLanguage(ScriptEnvironment&) { return std::u16string(); }
    // Before every statement, after DATE and TIME: OVERRIDECACHE, the language
    // tables and messages, UNINSTALLLINK and ENGINECACHE.
    virtual void refreshBeforeStatement(ScriptEnvironment&) {}
    // The translated-parameter rule; the default leaves the text as it is.
    virtual std::u16string translate(ScriptEnvironment&, std::u16string_view /*key*/, int /*ordinal*/,
                                     std::u16string_view raw)
    {
        return std::u16string(raw);
    }
    // Before every statement: the progress window follows PROGRESS and PROGRESSTEXT.
    virtual void updateProgress(ScriptEnvironment&) {}
    // A statement whose name is in the package's plug-in command list.
    virtual void runPlugin(Statement&) {}
    // The exit steps after the single-instance marker: the open text file,
    // the dialogs, the tray icon.
    virtual void exitSteps(ScriptEnvironment&) {}
    // The removable-media epilogue caches the instance data before it ends the process.
    virtual void cacheInstanceData(ScriptEnvironment&, bool /*mediaCleanUp*/) {}
};

}  // namespace pellion
