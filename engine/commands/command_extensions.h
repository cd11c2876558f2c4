// The command families' side of the statement loop's extension points: the
// per-run state is forgotten in the preamble, the language tables follow
// LANGUAGE before every statement, and translated parameters use them.
#pragma once

#include "engine/commands/command_services.h"
#include "engine/script/interpreter_extensions.h"

namespace pellion {

class CommandExtensions : public InterpreterExtensions {
public:
    explicit CommandExtensions(CommandServices& services) : services_(services) {}

    void resetRunState(ScriptEnvironment& environment) override;
    void bootstrap(ScriptEnvironment& environment) override;
    void readPatchIdentity(ScriptEnvironment& environment) override;
    void cacheInstanceData(ScriptEnvironment& environment, bool mediaCleanUp) override;
    void definePredefinedComponent(ScriptEnvironment& environment) override;
    std::optional<std::u16string> selectLanguage(ScriptEnvironment& environment) override;
    void refreshBeforeStatement(ScriptEnvironment& environment) override;
    std::u16string translate(ScriptEnvironment& environment, std::u16string_view key, int ordinal,
                             std::u16string_view raw) override;
    void exitSteps(ScriptEnvironment& environment) override;

protected:
    CommandServices& services_;
};

// LOCMODE after compiler substitution; "NEWONLY" when there is no such compiler variable.
std::u16string localizationMode(const ScriptEnvironment& environment);

}  // namespace pellion
