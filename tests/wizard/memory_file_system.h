// An in-memory file system for the wizard's tests and fuzzer: names match
// without letter case as on Windows, folders are listed in name order, and a
// test can see which files were opened and make single operations fail.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/translation_project.h"

namespace pellion {

class MemoryFileSystem final : public FileSystem {
public:
    void setFile(std::u16string_view path, std::string bytes);
    void addFolder(std::u16string_view path);
    void remove(std::u16string_view path);
    // Nothing when there is no such file.
    std::optional<std::string> file(std::u16string_view path) const;
    // The files directly inside the folder, in name order.
    std::vector<std::u16string> fileNames(std::u16string_view folder) const;

    // Paths opened for reading and paths written or copied to, in order.
    std::vector<std::u16string> opened;
    std::vector<std::u16string> changed;
    // Files that exist but cannot be opened.
    std::set<std::u16string> unreadable;
    bool failCopy = false;
    bool failWrite = false;

    EntryInfo entryInfo(std::u16string_view path) override;
    std::optional<std::vector<FolderEntry>> listFolder(std::u16string_view folder) override;
    std::unique_ptr<InputFile> openForReading(std::u16string_view path) override;
    bool writeFile(std::u16string_view path, std::span<const std::string_view> pieces) override;
    bool copyFile(std::u16string_view from, std::u16string_view to) override;

private:
    struct Node {
        std::u16string path;  // as first given
        std::string bytes;
        bool folder = false;
    };
    // Keys are the normalized paths in upper case.
    std::map<std::u16string, Node> nodes_;
};

}  // namespace pellion
