// Translation project files and the native file-system seam they go through.

#include "translation_project.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "letter_case.h"
#include "text.h"
#ifdef _WIN32
#include "wide.h"
#endif

namespace pellion {

namespace fs = std::filesystem;

namespace {

// Windows file systems ignore letter case; on Linux the last part of a path is
// looked up without letter case when the exact name is absent, so a project
// written as "translations.Map" is found as "translations.map" on both.
fs::path nativePath(std::u16string_view path)
{
#ifdef _WIN32
    return fs::path(toWide(path));
#else
    std::u16string slashed(path);
    for (auto& c : slashed)
        if (c == u'\\')
            c = u'/';
    fs::path exact(toUtf8(slashed));
    std::error_code error;
    if (fs::symlink_status(exact, error).type() != fs::file_type::not_found || !exact.has_filename())
        return exact;
    const fs::path parent = exact.has_parent_path() ? exact.parent_path() : fs::path(".");
    const std::u16string wanted = toUtf16(exact.filename().string());
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        if (equalsNoCase(toUtf16(it->path().filename().string()), wanted))
            return exact.has_parent_path() ? it->path() : it->path().filename();
    }
    return exact;
#endif
}

std::u16string nameOf(const fs::path& path)
{
#ifdef _WIN32
    return fromWide(path.filename().wstring());
#else
    return toUtf16(path.filename().string());
#endif
}

class NativeInputFile final : public InputFile {
public:
    NativeInputFile(std::ifstream stream, uint64_t size) : stream_(std::move(stream)), size_(size) {}

    uint64_t size() const override { return size_; }

    size_t readAt(uint64_t offset, std::span<char> into) override
    {
        if (offset >= size_ || into.empty())
            return 0;
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(offset));
        if (!stream_)
            return 0;
        stream_.read(into.data(), static_cast<std::streamsize>(into.size()));
        const auto count = stream_.gcount();
        return count > 0 ? static_cast<size_t>(count) : 0;
    }

private:
    std::ifstream stream_;
    uint64_t size_;
};

}  // namespace

EntryInfo NativeFileSystem::entryInfo(std::u16string_view path)
{
    std::error_code error;
    const fs::path native = nativePath(path);
    const auto status = fs::status(native, error);
    if (error)
        return {};
    if (fs::is_directory(status))
        return {EntryKind::folder, 0};
    if (!fs::exists(status))
        return {};
    const auto size = fs::file_size(native, error);
    return {EntryKind::file, error ? 0 : static_cast<uint64_t>(size)};
}

std::optional<std::vector<FolderEntry>> NativeFileSystem::listFolder(std::u16string_view folder)
{
    std::error_code error;
    fs::directory_iterator it(nativePath(folder), error);
    if (error)
        return std::nullopt;
    std::vector<FolderEntry> entries;
    for (fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            return std::nullopt;
        std::error_code kindError;
        entries.push_back({nameOf(it->path()), it->is_directory(kindError)});
    }
    if (error)
        return std::nullopt;
    return entries;
}

std::unique_ptr<InputFile> NativeFileSystem::openForReading(std::u16string_view path)
{
    const fs::path native = nativePath(path);
    std::error_code error;
    if (!fs::is_regular_file(native, error))
        return nullptr;
    const auto size = fs::file_size(native, error);
    if (error)
        return nullptr;
    std::ifstream stream(native, std::ios::binary);
    if (!stream)
        return nullptr;
    return std::make_unique<NativeInputFile>(std::move(stream), static_cast<uint64_t>(size));
}

bool NativeFileSystem::writeFile(std::u16string_view path, std::span<const std::string_view> pieces)
{
    std::ofstream stream(nativePath(path), std::ios::binary | std::ios::trunc);
    if (!stream)
        return false;
    for (const auto piece : pieces)
        stream.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    stream.close();
    return !stream.fail();
}

// Copied through the streams rather than std::filesystem::copy_file, whose
// mingw build refuses to replace an existing target.
bool NativeFileSystem::copyFile(std::u16string_view from, std::u16string_view to)
{
    std::ifstream source(nativePath(from), std::ios::binary);
    if (!source)
        return false;
    std::ofstream target(nativePath(to), std::ios::binary | std::ios::trunc);
    if (!target)
        return false;
    std::vector<char> buffer(1 << 16);
    while (source) {
        source.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto count = source.gcount();
        if (count > 0)
            target.write(buffer.data(), count);
    }
    if (source.bad())
        return false;
    target.close();
    return !target.fail();
}

bool fileExists(FileSystem& files, std::u16string_view path)
{
    return !path.empty() && files.entryInfo(path).kind == EntryKind::file;
}

bool folderExists(FileSystem& files, std::u16string_view path)
{
    return !path.empty() && files.entryInfo(path).kind == EntryKind::folder;
}

std::optional<std::string> readWholeFile(FileSystem& files, std::u16string_view path)
{
    auto file = files.openForReading(path);
    if (!file)
        return std::nullopt;
    const uint64_t size = file->size();
    if (size > static_cast<uint64_t>(std::string().max_size()))
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (file->readAt(0, bytes) != bytes.size())
        return std::nullopt;
    return bytes;
}

bool isPathSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

std::u16string withTrailingBackslash(std::u16string_view folder)
{
    std::u16string result(folder);
    if (result.empty() || !isPathSeparator(result.back()))
        result.push_back(u'\\');
    return result;
}

std::u16string folderOfPath(std::u16string_view path)
{
    for (size_t i = path.size(); i > 0; --i)
        if (isPathSeparator(path[i - 1]))
            return std::u16string(path.substr(0, i));
    return {};
}

std::u16string translatedListName(std::u16string_view extension)
{
    return u"translations." + std::u16string(extension);
}

std::u16string translatedBackupName(std::u16string_view extension)
{
    return u"backup of translations." + std::u16string(extension);
}

std::optional<std::u16string> findKeyList(FileSystem& files, std::u16string_view folder)
{
    const auto entries = files.listFolder(folder);
    if (!entries)
        return std::nullopt;
    for (const auto& entry : *entries) {
        const std::u16string_view name = entry.name;
        if (!entry.isFolder && name.size() > keyListExtension.size()
            && equalsNoCase(name.substr(name.size() - keyListExtension.size()), keyListExtension))
            return withTrailingBackslash(folder) + entry.name;
    }
    return std::nullopt;
}

ProjectList ProjectList::fromBytes(std::string bytes)
{
    ProjectList list;
    list.bytes_ = std::move(bytes);
    const std::string_view all = list.bytes_;
    size_t position = all.starts_with(utf8ByteOrderMark) ? utf8ByteOrderMark.size() : 0;
    size_t lineStart = position;
    while (position < all.size()) {
        const char c = all[position];
        if (c != '\r' && c != '\n') {
            ++position;
            continue;
        }
        list.lines_.push_back({lineStart, position - lineStart});
        position += (c == '\r' && position + 1 < all.size() && all[position + 1] == '\n') ? 2 : 1;
        lineStart = position;
    }
    if (lineStart < all.size())
        list.lines_.push_back({lineStart, all.size() - lineStart});
    return list;
}

std::string_view ProjectList::line(size_t row) const
{
    const Span span = lines_.at(row);
    return std::string_view(bytes_).substr(span.begin, span.length);
}

std::u16string ProjectList::text(size_t row) const
{
    return toUtf16(line(row));
}

std::vector<std::u16string> ProjectList::texts() const
{
    std::vector<std::u16string> result;
    result.reserve(lines_.size());
    for (size_t row = 0; row < lines_.size(); ++row)
        result.push_back(text(row));
    return result;
}

std::optional<ProjectList> readProjectList(FileSystem& files, std::u16string_view path)
{
    auto bytes = readWholeFile(files, path);
    if (!bytes)
        return std::nullopt;
    return ProjectList::fromBytes(std::move(*bytes));
}

RewriteResult rewriteTranslatedList(FileSystem& files, std::u16string_view projectFolder,
                                    std::u16string_view extension, std::string_view rows)
{
    const std::u16string folder(projectFolder);
    const std::u16string listPath = folder + translatedListName(extension);
    const EntryInfo existing = files.entryInfo(listPath);
    if (existing.kind == EntryKind::file && existing.size > 0
        && !files.copyFile(listPath, folder + translatedBackupName(extension)))
        return RewriteResult::backupFailed;
    const std::string_view pieces[] = {utf8ByteOrderMark, rows};
    return files.writeFile(listPath, pieces) ? RewriteResult::rewritten : RewriteResult::createFailed;
}

}  // namespace pellion
