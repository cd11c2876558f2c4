// File access over std::filesystem and file streams for native builds.

#include "outside/native_file_access.h"

#include "common/text.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace pellion::archive {

namespace fs = std::filesystem;

namespace {

fs::path nativePath(std::u16string_view path)
{
    return fs::path(toUtf8(path));
}

class NativeInput final : public InputFile {
public:
    NativeInput(std::ifstream stream, uint64_t size) : stream_(std::move(stream)), size_(size) {}

    uint64_t size() const override { return size_; }

    bool readAt(uint64_t offset, void* buffer, size_t count) override
    {
        if (offset > size_ || count > size_ - offset)
            return false;
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(offset));
        stream_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
        return stream_.good() || (stream_.eof() && static_cast<size_t>(stream_.gcount()) == count);
    }

private:
    std::ifstream stream_;
    uint64_t size_;
};

class NativeOutput final : public OutputFile {
public:
    explicit NativeOutput(std::ofstream stream) : stream_(std::move(stream)) {}

    bool write(const void* data, size_t count) override
    {
        stream_.write(static_cast<const char*>(data), static_cast<std::streamsize>(count));
        position_ += count;
        return stream_.good();
    }

    bool writeAt(uint64_t offset, const void* data, size_t count) override
    {
        if (offset > position_ || count > position_ - offset)
            return false;
        stream_.seekp(static_cast<std::streamoff>(offset));
        stream_.write(static_cast<const char*>(data), static_cast<std::streamsize>(count));
        stream_.seekp(static_cast<std::streamoff>(position_));
        return stream_.good();
    }

    uint64_t position() const override { return position_; }

    bool close() override
    {
        stream_.flush();
        const bool good = stream_.good();
        stream_.close();
        return good && !stream_.fail();
    }

private:
    std::ofstream stream_;
    uint64_t position_ = 0;
};

int64_t toUnixSeconds(fs::file_time_type time)
{
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

}  // namespace

std::unique_ptr<InputFile> NativeFileAccess::openRead(std::u16string_view path)
{
    std::error_code error;
    const auto where = nativePath(path);
    if (!fs::is_regular_file(where, error))
        return nullptr;
    const auto size = fs::file_size(where, error);
    if (error)
        return nullptr;
    std::ifstream stream(where, std::ios::binary);
    if (!stream)
        return nullptr;
    return std::make_unique<NativeInput>(std::move(stream), size);
}

std::unique_ptr<OutputFile> NativeFileAccess::createFile(std::u16string_view path)
{
    std::ofstream stream(nativePath(path), std::ios::binary | std::ios::trunc);
    if (!stream)
        return nullptr;
    return std::make_unique<NativeOutput>(std::move(stream));
}

FileFacts NativeFileAccess::facts(std::u16string_view path)
{
    FileFacts facts;
    std::error_code error;
    const auto where = nativePath(path);
    const auto status = fs::status(where, error);
    if (error || !fs::exists(status))
        return facts;
    facts.exists = true;
    facts.folder = fs::is_directory(status);
    if (!facts.folder) {
        const auto size = fs::file_size(where, error);
        facts.size = error ? 0 : size;
    }
    const auto time = fs::last_write_time(where, error);
    if (!error)
        facts.modified = toUnixSeconds(time);
    return facts;
}

bool NativeFileAccess::createFolders(std::u16string_view path)
{
    std::error_code error;
    const auto where = nativePath(path);
    fs::create_directories(where, error);
    return fs::is_directory(where, error);
}

bool NativeFileAccess::removeFile(std::u16string_view path)
{
    std::error_code error;
    return fs::remove(nativePath(path), error);
}

bool NativeFileAccess::replaceFile(std::u16string_view from, std::u16string_view to)
{
    std::error_code error;
    fs::rename(nativePath(from), nativePath(to), error);
    return !error;
}

bool NativeFileAccess::setModified(std::u16string_view path, int64_t modified)
{
    std::error_code error;
    const auto system = std::chrono::sys_seconds(std::chrono::seconds(modified));
    fs::last_write_time(nativePath(path), std::chrono::file_clock::from_sys(system), error);
    return !error;
}

std::optional<std::vector<FolderItem>> NativeFileAccess::listFolder(std::u16string_view path)
{
    std::error_code error;
    fs::directory_iterator iterator(nativePath(path), error);
    if (error)
        return std::nullopt;
    std::vector<FolderItem> items;
    for (const auto& item : iterator) {
        std::error_code itemError;
        items.push_back({toUtf16(item.path().filename().string()), item.is_directory(itemError)});
    }
    return items;
}

std::u16string NativeFileAccess::join(std::u16string_view folder, std::u16string_view name) const
{
    std::u16string joined(folder);
    if (!joined.empty() && joined.back() != u'/')
        joined += u'/';
    joined += name;
    return joined;
}

}  // namespace pellion::archive
