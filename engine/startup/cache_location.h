// Where a product's cache lives: the cache root with its override, identity
// key and application-data fallbacks, the choice between the per-user and the
// all-users root, the search for a cached setup in a folder, and the test for
// a complete set of native logs. Deciding only; nothing here writes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/translation_project.h"
#include "engine/startup/instance_machine.h"

namespace pellion {

// What the cache root depends on, read when it is needed.
struct CacheSite {
    FileSystem& files;
    InstanceMachine& machine;
    bool windows95Family = false;
    std::u16string overrideCache;  // the variable OVERRIDECACHE
    std::u16string productCode;
    std::u16string revisionCode;
};

// "SOFTWARE\Dorvane\Vantrel\Ident.Cache\" + product code.
std::u16string identityKey(std::u16string_view productCode);

// A folder with a trailing "\".
std::u16string CacheRoot(const CacheSite& site, bool allUsers);

// Whether the per-user root holds no data file for `path` (MSIFILE) under the
// cache name, or holds one while the folder of `path` itself has a cached setup.
bool CacheForAllUsers(const CacheSite& site, std::u16string_view path, std::u16string_view cacheName);

// The first "*.dat" of a folder holding "oxa.lib" whose base name also exists
// with ".exe", ".res" and ".par"; nothing when there is none.
std::optional<std::u16string> FindCachedSetup(FileSystem& files, std::u16string_view folder);

// The four native logs of a base: base + suffix.
inline constexpr std::array<std::u16string_view, 4> nativeLogSuffixes = {
    u".native.elements.log", u".native.data.log", u".native.weight.log", u".native.bitness.log"};

// All four native logs exist at the base (a path without extension).
bool nativeLogsExist(FileSystem& files, std::u16string_view base);

// The last component of a folder path, a trailing "\" ignored.
std::u16string lastPathComponent(std::u16string_view folder);
// The folder holding it, with "\"; empty when there is none.
std::u16string parentFolderOf(std::u16string_view folder);
// The file name without folder and without its last extension.
std::u16string baseNameOf(std::u16string_view path);

}  // namespace pellion
