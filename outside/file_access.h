// The seam through which the archive core touches files and folders: one
// implementation over std::filesystem for native builds, one over the wide Win32
// calls for the archive library. Paths are UTF-16 texts in the platform's form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion::archive {

class InputFile {
public:
    virtual ~InputFile() = default;
    virtual uint64_t size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when fewer are there or reading fails.
    virtual bool readAt(uint64_t offset, void* buffer, size_t count) = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool write(const void* data, size_t count) = 0;
    // Overwrites bytes already written (header fields known only after the data).
    virtual bool writeAt(uint64_t offset, const void* data, size_t count) = 0;
    virtual uint64_t position() const = 0;
    // Flushes and closes; false when the data did not reach the file.
    virtual bool close() = 0;
};

struct FileFacts {
    bool exists = false;
    bool folder = false;
    uint64_t size = 0;
    int64_t modified = 0;  // seconds since 1970-01-01 UTC
};

struct FolderItem {
    std::u16string name;
    bool folder = false;
};

class FileAccess {
public:
    virtual ~FileAccess() = default;
    virtual std::unique_ptr<InputFile> openRead(std::u16string_view path) = 0;        // null: cannot
    virtual std::unique_ptr<OutputFile> createFile(std::u16string_view path) = 0;     // replaces; null: cannot
    virtual FileFacts facts(std::u16string_view path) = 0;
    virtual bool createFolders(std::u16string_view path) = 0;  // with parents; true when it is a folder afterwards
    virtual bool removeFile(std::u16string_view path) = 0;
    virtual bool replaceFile(std::u16string_view from, std::u16string_view to) = 0;  // rename over `to`
    virtual bool setModified(std::u16string_view path, int64_t modified) = 0;
    virtual std::optional<std::vector<FolderItem>> listFolder(std::u16string_view path) = 0;
    // `folder` joined with one relative name, using the platform's separator.
    virtual std::u16string join(std::u16string_view folder, std::u16string_view name) const = 0;
};

}  // namespace pellion::archive
