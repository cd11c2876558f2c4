// Cache root, per-user or all-users choice and the cached-setup search.

#include "engine/startup/cache_location.h"

#include <vector>

#include "common/letter_case.h"

namespace pellion {

namespace {

std::u16string trimmedFolder(std::u16string_view folder)
{
    while (!folder.empty() && isPathSeparator(folder.back()))
        folder.remove_suffix(1);
    return std::u16string(folder);
}

bool hasExtension(std::u16string_view name, std::u16string_view extension)
{
    return name.size() > extension.size() && equalsNoCase(name.substr(name.size() - extension.size()), extension);
}

// The identity key's default value when it names the cache folder of this
// revision: its last component is the revision code, letter case counting.
std::optional<std::u16string> rootFromIdentityKey(const CacheSite& site)
{
    const std::u16string key = identityKey(site.productCode);
    std::optional<std::u16string> value = site.machine.registryText(localMachine, key, u"");
    if (!value || !folderExists(site.files, *value))
        if (auto user = site.machine.registryText(currentUser, key, u""))
            value = std::move(user);
    if (!value || value->empty() || lastPathComponent(*value) != site.revisionCode)
        return std::nullopt;
    const std::u16string parent = parentFolderOf(*value);
    if (parent.empty())
        return std::nullopt;
    return parent;
}

}  // namespace

std::u16string identityKey(std::u16string_view productCode)
{
    return u"SOFTWARE\\Dorvane\\Vantrel\\Ident.Cache\\" + std::u16string(productCode);
}

std::u16string CacheRoot(const CacheSite& site, bool allUsers)
{
    if (!site.overrideCache.empty())
        return withTrailingBackslash(site.overrideCache);
    if (auto root = rootFromIdentityKey(site))
        return *root;
    InstanceMachine& machine = site.machine;
    if (site.windows95Family)
        return withTrailingBackslash(machine.shellFolder(ShellFolder::commonFiles));
    std::u16string folder;
    if (allUsers) {
        folder = machine.shellFolder(ShellFolder::commonAppData);
    } else {
        folder = machine.shellFolder(ShellFolder::localAppData);
        if (folder.empty())
            folder = machine.shellFolder(ShellFolder::roamingAppData);
    }
    if (folder.empty())
        return parentFolderOf(machine.shellFolder(ShellFolder::desktop)) + u"Application Data\\";
    return withTrailingBackslash(folder);
}

bool CacheForAllUsers(const CacheSite& site, std::u16string_view path, std::u16string_view cacheName)
{
    const std::u16string perUser =
        CacheRoot(site, false) + std::u16string(cacheName) + u"\\" + baseNameOf(path) + u".dat";
    if (site.files.entryInfo(perUser).kind == EntryKind::missing)
        return true;
    return FindCachedSetup(site.files, folderOfPath(path)).has_value();
}

std::optional<std::u16string> FindCachedSetup(FileSystem& files, std::u16string_view folder)
{
    if (folder.empty())
        return std::nullopt;
    const std::u16string base = withTrailingBackslash(folder);
    if (!folderExists(files, base) || !fileExists(files, base + u"oxa.lib"))
        return std::nullopt;
    const auto entries = files.listFolder(base);
    if (!entries)
        return std::nullopt;
    for (const auto& entry : *entries) {
        if (entry.isFolder || !hasExtension(entry.name, u".dat"))
            continue;
        const std::u16string stem = base + entry.name.substr(0, entry.name.size() - 4);
        if (fileExists(files, stem + u".exe") && fileExists(files, stem + u".res") && fileExists(files, stem + u".par"))
            return base + entry.name;
    }
    return std::nullopt;
}

bool nativeLogsExist(FileSystem& files, std::u16string_view base)
{
    if (base.empty())
        return false;
    for (const auto suffix : nativeLogSuffixes)
        if (!fileExists(files, std::u16string(base) + std::u16string(suffix)))
            return false;
    return true;
}

std::u16string lastPathComponent(std::u16string_view folder)
{
    const std::u16string trimmed = trimmedFolder(folder);
    size_t at = trimmed.size();
    while (at > 0 && !isPathSeparator(trimmed[at - 1]))
        --at;
    return trimmed.substr(at);
}

std::u16string parentFolderOf(std::u16string_view folder)
{
    const std::u16string trimmed = trimmedFolder(folder);
    size_t at = trimmed.size();
    while (at > 0 && !isPathSeparator(trimmed[at - 1]))
        --at;
    return trimmed.substr(0, at);
}

std::u16string baseNameOf(std::u16string_view path)
{
    size_t start = path.size();
    while (start > 0 && !isPathSeparator(path[start - 1]))
        --start;
    std::u16string_view name = path.substr(start);
    if (const size_t dot = name.rfind(u'.'); dot != std::u16string_view::npos)
        name = name.substr(0, dot);
    return std::u16string(name);
}

}  // namespace pellion
