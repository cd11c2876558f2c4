// The in-memory file system of the tests.

#include "memory_file_system.h"

#include <algorithm>
#include <memory>

#include "common/letter_case.h"

namespace pellion {

namespace {

// "\" as the only separator, no trailing separator.
std::u16string normalized(std::u16string_view path)
{
    std::u16string result(path);
    for (auto& c : result)
        if (c == u'/')
            c = u'\\';
    while (result.size() > 1 && result.back() == u'\\')
        result.pop_back();
    return result;
}

std::u16string keyOf(std::u16string_view path)
{
    return upperCase(normalized(path));
}

class MemoryInputFile final : public InputFile {
public:
    explicit MemoryInputFile(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    uint64_t size() const override { return bytes_->size(); }
    size_t readAt(uint64_t offset, std::span<char> into) override
    {
        if (offset >= bytes_->size())
            return 0;
        const size_t count = std::min<uint64_t>(into.size(), bytes_->size() - offset);
        std::copy_n(bytes_->data() + offset, count, into.data());
        return count;
    }

private:
    std::shared_ptr<const std::string> bytes_;
};

}  // namespace

void MemoryFileSystem::setFile(std::u16string_view path, std::string bytes)
{
    const std::u16string key = keyOf(path);
    auto found = nodes_.find(key);
    if (found != nodes_.end()) {
        found->second.bytes = std::move(bytes);
        found->second.folder = false;
    } else {
        nodes_[key] = Node{normalized(path), std::move(bytes), false};
    }
}

void MemoryFileSystem::addFolder(std::u16string_view path)
{
    nodes_[keyOf(path)] = Node{normalized(path), {}, true};
}

void MemoryFileSystem::remove(std::u16string_view path)
{
    nodes_.erase(keyOf(path));
}

std::optional<std::string> MemoryFileSystem::file(std::u16string_view path) const
{
    const auto found = nodes_.find(keyOf(path));
    if (found == nodes_.end() || found->second.folder)
        return std::nullopt;
    return found->second.bytes;
}

std::vector<std::u16string> MemoryFileSystem::fileNames(std::u16string_view folder) const
{
    std::vector<std::u16string> names;
    const std::u16string prefix = keyOf(folder) + u"\\";
    for (const auto& [key, node] : nodes_)
        if (!node.folder && key.starts_with(prefix) && key.find(u'\\', prefix.size()) == std::u16string::npos)
            names.push_back(node.path.substr(node.path.rfind(u'\\') + 1));
    return names;
}

EntryInfo MemoryFileSystem::entryInfo(std::u16string_view path)
{
    const std::u16string key = keyOf(path);
    const auto found = nodes_.find(key);
    if (found != nodes_.end())
        return found->second.folder ? EntryInfo{EntryKind::folder, 0} : EntryInfo{EntryKind::file, found->second.bytes.size()};
    const auto inside = nodes_.lower_bound(key + u"\\");
    if (inside != nodes_.end() && inside->first.starts_with(key + u"\\"))
        return {EntryKind::folder, 0};
    return {};
}

std::optional<std::vector<FolderEntry>> MemoryFileSystem::listFolder(std::u16string_view folder)
{
    if (entryInfo(folder).kind != EntryKind::folder)
        return std::nullopt;
    const std::u16string prefix = keyOf(folder) + u"\\";
    std::map<std::u16string, FolderEntry> children;
    for (const auto& [key, node] : nodes_) {
        if (!key.starts_with(prefix))
            continue;
        const size_t separator = key.find(u'\\', prefix.size());
        const std::u16string childKey = key.substr(0, separator);
        if (children.count(childKey))
            continue;
        const size_t nameStart = prefix.size();
        const size_t nameLength = separator == std::u16string::npos ? std::u16string::npos : separator - nameStart;
        children[childKey] = FolderEntry{node.path.substr(nameStart, nameLength),
                                         separator != std::u16string::npos || node.folder};
    }
    std::vector<FolderEntry> entries;
    for (auto& [key, entry] : children)
        entries.push_back(std::move(entry));
    return entries;
}

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(std::u16string_view path)
{
    const auto found = nodes_.find(keyOf(path));
    if (found == nodes_.end() || found->second.folder)
        return nullptr;
    for (const auto& locked : unreadable)
        if (keyOf(locked) == found->first)
            return nullptr;
    opened.push_back(found->second.path);
    return std::make_unique<MemoryInputFile>(std::make_shared<const std::string>(found->second.bytes));
}

bool MemoryFileSystem::writeFile(std::u16string_view path, std::span<const std::string_view> pieces)
{
    if (failWrite || entryInfo(path).kind == EntryKind::folder)
        return false;
    std::string bytes;
    for (const auto piece : pieces)
        bytes += piece;
    setFile(path, std::move(bytes));
    changed.push_back(normalized(path));
    return true;
}

bool MemoryFileSystem::copyFile(std::u16string_view from, std::u16string_view to)
{
    const auto bytes = file(from);
    if (failCopy || !bytes || entryInfo(to).kind == EntryKind::folder)
        return false;
    setFile(to, *bytes);
    changed.push_back(normalized(to));
    return true;
}

}  // namespace pellion
