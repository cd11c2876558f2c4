// File access over CreateFileW and its relatives. Handles live in one small owner
// so no early return leaks them.

#include "outside/windows_file_access.h"

#include "common/wide.h"

#include <windows.h>

namespace pellion::archive {

namespace {

// FILETIME counts 100 ns steps since 1601-01-01; Unix time seconds since 1970.
constexpr int64_t fileTimeAtUnixEpoch = 116444736000000000LL;
constexpr int64_t fileTimeStepsPerSecond = 10000000LL;

int64_t toUnixSeconds(FILETIME time)
{
    const int64_t steps = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (steps - fileTimeAtUnixEpoch) / fileTimeStepsPerSecond;
}

FILETIME toFileTime(int64_t seconds)
{
    const uint64_t steps = static_cast<uint64_t>(seconds * fileTimeStepsPerSecond + fileTimeAtUnixEpoch);
    return FILETIME{static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
}

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool reset()
    {
        bool closed = true;
        if (valid())
            closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool seek(HANDLE file, uint64_t offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

bool writeAll(HANDLE file, const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (count > 0) {
        const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

class WindowsInput final : public InputFile {
public:
    WindowsInput(HANDLE file, uint64_t size) : file_(file), size_(size) {}

    uint64_t size() const override { return size_; }

    bool readAt(uint64_t offset, void* buffer, size_t count) override
    {
        if (offset > size_ || count > size_ - offset || !seek(file_.get(), offset))
            return false;
        auto* bytes = static_cast<uint8_t*>(buffer);
        while (count > 0) {
            const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
            DWORD read = 0;
            if (!ReadFile(file_.get(), bytes, chunk, &read, nullptr) || read == 0)
                return false;
            bytes += read;
            count -= read;
        }
        return true;
    }

private:
    UniqueHandle file_;
    uint64_t size_;
};

class WindowsOutput final : public OutputFile {
public:
    explicit WindowsOutput(HANDLE file) : file_(file) {}

    bool write(const void* data, size_t count) override
    {
        if (!writeAll(file_.get(), data, count))
            return false;
        position_ += count;
        return true;
    }

    bool writeAt(uint64_t offset, const void* data, size_t count) override
    {
        if (offset > position_ || count > position_ - offset)
            return false;
        return seek(file_.get(), offset) && writeAll(file_.get(), data, count) && seek(file_.get(), position_);
    }

    uint64_t position() const override { return position_; }

    bool close() override { return file_.reset(); }

private:
    UniqueHandle file_;
    uint64_t position_ = 0;
};

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

}  // namespace

std::unique_ptr<InputFile> WindowsFileAccess::openRead(std::u16string_view path)
{
    const auto wide = toWide(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<WindowsInput>(file, static_cast<uint64_t>(size.QuadPart));
}

std::unique_ptr<OutputFile> WindowsFileAccess::createFile(std::u16string_view path)
{
    const auto wide = toWide(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WindowsOutput>(file);
}

FileFacts WindowsFileAccess::facts(std::u16string_view path)
{
    FileFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data;
    const auto wide = toWide(path);
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.exists = true;
    facts.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.size = facts.folder ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    facts.modified = toUnixSeconds(data.ftLastWriteTime);
    return facts;
}

bool WindowsFileAccess::createFolders(std::u16string_view path)
{
    const auto wide = toWide(path);
    // Create each prefix that ends before a separator, then the whole path; the
    // prefixes that already exist (drive, share, earlier folders) simply fail.
    for (size_t i = 1; i < wide.size(); ++i) {
        if (isSeparator(wide[i]) && !isSeparator(wide[i - 1]))
            CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
    }
    CreateDirectoryW(wide.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WindowsFileAccess::removeFile(std::u16string_view path)
{
    const auto wide = toWide(path);
    return DeleteFileW(wide.c_str()) != 0;
}

bool WindowsFileAccess::replaceFile(std::u16string_view from, std::u16string_view to)
{
    const auto wideFrom = toWide(from);
    const auto wideTo = toWide(to);
    return MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

bool WindowsFileAccess::setModified(std::u16string_view path, int64_t modified)
{
    const auto wide = toWide(path);
    UniqueHandle file(CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return false;
    const FILETIME time = toFileTime(modified);
    return SetFileTime(file.get(), nullptr, nullptr, &time) != 0;
}

std::optional<std::vector<FolderItem>> WindowsFileAccess::listFolder(std::u16string_view path)
{
    const auto pattern = toWide(join(path, u"*"));
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return std::vector<FolderItem>();
        return std::nullopt;
    }
    std::vector<FolderItem> items;
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..")
            continue;
        items.push_back({fromWide(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return items;
}

std::u16string WindowsFileAccess::join(std::u16string_view folder, std::u16string_view name) const
{
    std::u16string joined(folder);
    if (!joined.empty() && joined.back() != u'\\' && joined.back() != u'/')
        joined += u'\\';
    joined += name;
    return joined;
}

}  // namespace pellion::archive
