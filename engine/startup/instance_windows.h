// The Windows answers to the instance-data seam (Windows builds only): keys
// through the registry seam of the registry commands, shell folders, msi.dll
// bound on first use, folder and attribute work with the wide file calls.
#pragma once

#include "engine/startup/instance_machine.h"

namespace pellion {

class RegistryAccess;

class WindowsInstanceMachine final : public InstanceMachine {
public:
    explicit WindowsInstanceMachine(RegistryAccess& registry) : registry_(registry) {}
    ~WindowsInstanceMachine() override;

    std::optional<std::u16string> registryText(bool localMachine, std::u16string_view key,
                                               std::u16string_view value) override;
    std::u16string shellFolder(ShellFolder which) override;
    std::optional<int32_t> msiProductState(std::u16string_view productCode) override;
    std::optional<std::u16string> msiPackageCode(std::u16string_view productCode) override;
    bool createFolder(std::u16string_view path) override;
    bool removeEmptyFolder(std::u16string_view path) override;
    void removeTree(std::u16string_view path) override;
    bool deleteFile(std::u16string_view path) override;
    bool replaceFile(std::u16string_view from, std::u16string_view to) override;
    void setHidden(std::u16string_view path) override;
    void setCompression(std::u16string_view path, bool on) override;
    std::optional<std::u16string> shortPath(std::u16string_view path) override;

private:
    // msi.dll and its two entry points, bound when first asked.
    bool bindInstaller();

    RegistryAccess& registry_;
    bool bindTried_ = false;
    void* installer_ = nullptr;
    void* queryProductState_ = nullptr;
    void* getProductInfo_ = nullptr;
};

}  // namespace pellion
