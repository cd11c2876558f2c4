// File access over the wide Win32 file calls, for the archive library: paths may
// hold any Unicode text, and "\" and "/" both separate folders.
#pragma once

#include "outside/file_access.h"

namespace pellion::archive {

class WindowsFileAccess final : public FileAccess {
public:
    std::unique_ptr<InputFile> openRead(std::u16string_view path) override;
    std::unique_ptr<OutputFile> createFile(std::u16string_view path) override;
    FileFacts facts(std::u16string_view path) override;
    bool createFolders(std::u16string_view path) override;
    bool removeFile(std::u16string_view path) override;
    bool replaceFile(std::u16string_view from, std::u16string_view to) override;
    bool setModified(std::u16string_view path, int64_t modified) override;
    std::optional<std::vector<FolderItem>> listFolder(std::u16string_view path) override;
    std::u16string join(std::u16string_view folder, std::u16string_view name) const override;
};

}  // namespace pellion::archive
