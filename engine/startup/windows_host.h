// The start-up phases' work on a real Windows machine: the engine's own file,
// the support folder, the package, the archive, the start-up windows.
#pragma once

#include <functional>
#include <string>

#include "engine/startup/engine_messages.h"
#include "engine/startup/engine_settings.h"
#include "engine/startup/script_package.h"
#include "engine/startup/setup_run.h"
#include "engine/startup/startup_windows.h"
#include "engine/startup/trace.h"
#include "engine/script/variable_manager.h"

namespace pellion {

// Extracts a whole archive into a folder; empty on success, else the error text.
using ArchiveExtractor = std::function<std::u16string(const std::u16string& archive, const std::u16string& folder)>;

class WindowsStartupHost : public StartupHost {
public:
    WindowsStartupHost(EngineSettings& settings, Trace& trace, EngineMessages& messages, std::u16string ownFile,
                       ArchiveExtractor extractor);

    TScriptPackage& package() { return package_; }

    std::u16string createSupportFolder(const std::u16string& tempDir) override;
    void removeSupportFolder(const std::u16string& supportDir) override;
    void showSplash() override;
    void closeSplash() override;
    void showError(const std::u16string& text) override;
    bool hasAppendix() override;
    void copyAppendix(const std::u16string& targetFile) override;
    void loadPackage(const std::u16string& file) override;
    bool fileExists(const std::u16string& path) override;
    std::u16string extractArchive(const std::u16string& archive, const std::u16string& targetFolder) override;
    void copyResourceFiles() override;
    void loadDialogs() override;
    void runScript() override;
    void freeTables() override;

private:
    EngineSettings& settings_;
    Trace& trace_;
    // The run replaces them when the setup language changes.
    EngineMessages& messages_;
    std::u16string ownFile_;
    ArchiveExtractor extractor_;
    TScriptPackage package_;
    StartupWindows windows_;
    // The script's variables; they outlive the statement loop for what the
    // start-up does after it.
    TVariableManager variables_;
};

}  // namespace pellion
