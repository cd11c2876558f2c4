// The Windows answers to the command families' seams (Windows builds only).
#pragma once

#include "engine/commands/command_services.h"

namespace pellion {

class WindowsPathSystem : public PathSystem {
public:
    std::u16string expandEnvironment(std::u16string_view text) override;
    std::u16string fullPath(std::u16string_view path) override;
    bool exists(std::u16string_view path) override;
    std::optional<std::u16string> shortPath(std::u16string_view path) override;
    std::optional<std::u16string> foundName(std::u16string_view path) override;
    std::optional<std::u16string> createTemporaryFile(std::u16string_view folder) override;
};

// Wow64DisableWow64FsRedirection and its revert, looked up in kernel32.dll
// when first needed; nothing is switched where they are missing.
class WindowsRedirectionControl : public RedirectionControl {
public:
    bool windows64() override;
    bool switchOff() override;
    void switchBack() override;

private:
    void* previous_ = nullptr;
};

}  // namespace pellion

#include "common/translation_project.h"
#include "engine/commands/command_extensions.h"
#include "engine/commands/registry_access.h"
#include "engine/startup/instance_windows.h"
#include "engine/startup/language_window.h"
#include "engine/commands/message_windows.h"

namespace pellion {

// Everything the engine's run needs from the command families on Windows: the
// seams, the shared command state and the statement loop's extensions.
struct WindowsBuiltinCommands {
    NativeFileSystem files;
    WindowsPathSystem paths;
    WindowsRedirectionControl redirection;
    WindowsSetupLanguageUi languageUi;
    CommandServices services{files, paths, redirection, &languageUi};
    CommandExtensions extensions{services};
    // The identity and uninstall keys are read through the registry commands' seam.
    std::unique_ptr<RegistryAccess> registry = makeSystemRegistry();
    WindowsInstanceMachine instanceMachine{*registry};
    WindowsMessages messages;

    WindowsBuiltinCommands()
    {
        services.messages = &messages.center;
        services.instanceMachine = &instanceMachine;
    }
};

}  // namespace pellion
