// Expanding file list items into (source file, entry name) pairs.

#include "outside/source_selection.h"

#include "outside/entry_names.h"

#include "common/text.h"

#include <algorithm>

namespace pellion::archive {

namespace {

// Symbolic links can make a folder contain itself; no real setup nests this deep.
constexpr int maximumDepth = 64;

bool isSeparator(char16_t c)
{
    return c == u'/' || c == u'\\';
}

bool hasWildcard(std::u16string_view text)
{
    return text.find_first_of(u"*?") != std::u16string_view::npos;
}

// Folder listings come in the file system's order; sorted, the same folder always
// makes the same archive.
std::optional<std::vector<FolderItem>> sortedItems(FileAccess& files, std::u16string_view folder)
{
    auto items = files.listFolder(folder);
    if (items) {
        std::sort(items->begin(), items->end(),
                  [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    }
    return items;
}

Outcome addFolder(FileAccess& files, const std::u16string& path, const std::u16string& entryName, int depth,
                  std::vector<SourceEntry>& entries)
{
    if (depth > maximumDepth)
        return Outcome::failure(ErrorCode::cannotReadSource, "folders nested too deep at " + toUtf8(path));
    const auto items = sortedItems(files, path);
    if (!items)
        return Outcome::failure(ErrorCode::cannotReadSource, "cannot list " + toUtf8(path));
    entries.push_back({u"", entryName + u"/"});
    for (const auto& item : *items) {
        const auto childPath = files.join(path, item.name);
        const auto childName = entryName + u"/" + item.name;
        if (item.folder) {
            if (auto outcome = addFolder(files, childPath, childName, depth + 1, entries); !outcome.ok())
                return outcome;
        } else {
            entries.push_back({childPath, childName});
        }
    }
    return Outcome::success();
}

Outcome addItem(FileAccess& files, std::u16string_view item, std::vector<SourceEntry>& entries)
{
    std::u16string path(item);
    while (path.size() > 1 && isSeparator(path.back()))
        path.pop_back();
    const size_t split = path.find_last_of(u"/\\");
    const std::u16string folder = split == std::u16string::npos ? u"." : path.substr(0, split == 0 ? 1 : split);
    const std::u16string last = split == std::u16string::npos ? path : path.substr(split + 1);
    if (last.empty())
        return Outcome::failure(ErrorCode::cannotReadSource, "no file named in " + toUtf8(item));

    if (!hasWildcard(last)) {
        const auto facts = files.facts(path);
        if (!facts.exists)
            return Outcome::failure(ErrorCode::cannotReadSource, "cannot find " + toUtf8(path));
        if (facts.folder)
            return addFolder(files, path, last, 0, entries);
        entries.push_back({path, last});
        return Outcome::success();
    }
    const auto items = sortedItems(files, folder);
    if (!items)
        return Outcome::failure(ErrorCode::cannotReadSource, "cannot list " + toUtf8(folder));
    for (const auto& child : *items) {
        if (!wildcardMatch(last, child.name))
            continue;
        const auto childPath = files.join(folder, child.name);
        if (child.folder) {
            if (auto outcome = addFolder(files, childPath, child.name, 0, entries); !outcome.ok())
                return outcome;
        } else {
            entries.push_back({childPath, child.name});
        }
    }
    return Outcome::success();
}

}  // namespace

Outcome selectSources(FileAccess& files, std::span<const std::u16string> items,
                      std::span<const std::u16string> excluded, std::vector<SourceEntry>& entries)
{
    std::vector<SourceEntry> selected;
    for (const auto& item : items) {
        if (item.empty())
            continue;
        if (auto outcome = addItem(files, item, selected); !outcome.ok())
            return outcome;
    }
    for (auto& entry : selected) {
        bool left = false;
        for (const auto& pattern : excluded)
            left = left || patternSelects(pattern, entry.entryName);
        if (!left)
            entries.push_back(std::move(entry));
    }
    return Outcome::success();
}

}  // namespace pellion::archive
