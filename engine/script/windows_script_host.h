// The Windows answers to SystemFacts and InterpreterHost (Windows builds only).
#pragma once

#include "engine/script/interpreter_host.h"
#include "engine/script/system_facts.h"

namespace pellion {

class WindowsSystemFacts : public SystemFacts {
public:
    bool administratorDefault() override;
    bool windows95Family() override { return false; }  // the engine runs on the NT family only
    std::u16string registeredOwner() override;
    std::u16string registeredOrganization() override;
    bool glass() override;
    std::u16string dateText() override;
    std::u16string timeText() override;
    uint32_t tickCount() override;
    std::u16string engineFile() override;
    std::u16string programFilesFolder() override;
    std::u16string documentsFolder() override;
};

class WindowsInterpreterHost : public InterpreterHost {
public:
    void pumpMessages() override;
    void showRuntimeError(const std::u16string& text, const std::u16string& caption) override;
    [[noreturn]] void endProcessNow(int32_t exitCode) override;
    bool fileExists(const std::u16string& path) override;
    void createEmptyFile(const std::u16string& path) override;
    void deleteFile(const std::u16string& path) override;
    void deleteRestartEntries(const std::u16string& valueName) override;
    bool setupMediaRemoved(const std::u16string& exeDir) override;
};

}  // namespace pellion
