// The phases of a setup run, from the support folder to its removal, with
// their trace lines and exit codes. What each phase does to the machine is
// asked of a StartupHost, so the order, the tracing and the failure paths are
// decided here and can be tested without Windows.
#pragma once

#include <stdexcept>
#include <string>

#include "engine/startup/engine_messages.h"
#include "engine/startup/engine_settings.h"
#include "engine/startup/trace.h"

namespace pellion {

// An error that ends the start-up phases; its text follows "Runtime error in
// install: " in the message the user sees.
class StartupError : public std::runtime_error {
public:
    explicit StartupError(const std::u16string& text);
    const std::u16string& text() const { return text_; }

private:
    std::u16string text_;
};

class StartupHost {
public:
    virtual ~StartupHost() = default;

    virtual std::u16string createSupportFolder(const std::u16string& tempDir) = 0;
    virtual void removeSupportFolder(const std::u16string& supportDir) = 0;
    virtual void showSplash() = 0;
    virtual void closeSplash() = 0;
    // An error message box (never called in silent runs).
    virtual void showError(const std::u16string& text) = 0;

    // Whether anything follows the engine's own image in its file.
    virtual bool hasAppendix() = 0;
    virtual void copyAppendix(const std::u16string& targetFile) = 0;
    // Loads the script package from the file and deletes the file.
    virtual void loadPackage(const std::u16string& file) = 0;
    virtual bool fileExists(const std::u16string& path) = 0;
    // Empty on success, else the error text ("#" + code).
    virtual std::u16string extractArchive(const std::u16string& archive, const std::u16string& targetFolder) = 0;
    virtual void afterExtraction() {}
    virtual void copyResourceFiles() = 0;
    virtual void loadDialogs() = 0;
    virtual void runScript() = 0;
    virtual void freeTables() = 0;
};

// Runs the phases and returns the exit code (also left in settings.exitCode).
int runSetupPhases(EngineSettings& settings, Trace& trace, const EngineMessages& messages, StartupHost& host);

}  // namespace pellion
