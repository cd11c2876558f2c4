// The run's side of the instance data: the state it keeps between the
// bootstrap and the end of the run, the context the instance work acts in
// (variables, component table, remembered variables, seams), and reading and
// writing an instance data file into and out of that context.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/translation_project.h"
#include "engine/install/component_table.h"
#include "engine/startup/cache_location.h"
#include "engine/startup/instance_machine.h"

namespace pellion {

struct ScriptEnvironment;

// Lives for one run of the statement loop; emptied when it starts.
struct InstanceRunState {
    // In a patch run, the cache name of the installed revision.
    std::u16string patchCacheName;
    // The OVERRIDECACHE value applied last.
    std::u16string lastCacheOverride;
    // Set when the product was registered in this run: the end of the run
    // then rewrites the whole instance data file.
    bool registeredThisRun = false;
    // Set when the product cache folder was removed: no caching at the end.
    bool cacheDiscarded = false;
    // The installed instance's pin list (".lnk").
    std::vector<std::u16string> previousPinList;
    // Alternating installer property names and values (".par").
    std::vector<std::u16string> installerProperties;
};

// Everything the instance work reads and changes.
struct InstanceContext {
    ScriptEnvironment& environment;
    ComponentTable& components;
    std::vector<std::u16string>& remembered;
    InstanceRunState& state;
    FileSystem& files;
    InstanceMachine& machine;

    // The cache site with the current OVERRIDECACHE and identity.
    CacheSite site() const;
    // The revision code, or in a patch run the installed revision's cache name.
    std::u16string cacheName() const;
    bool patchRun() const;
    // CacheRoot(CacheForAllUsers(MSIFILE)) + cacheName + "\".
    std::u16string instanceCacheFolder(std::u16string_view name) const;
    // The product is in the native engine's logs: NATIVE_LOGGING when usable,
    // otherwise the instance cache folder followed by the product code.
    std::u16string nativeLogBase() const;
};

// Reads the file into the lists and variables. Normal mode appends the lists
// (the size overrides only without keepSizes); merge mode takes only the
// states of components already defined and replaces the deleted, hidden and
// choice lists. A file that ends early leaves the rest as it was.
void ReadInstanceData(InstanceContext& context, std::u16string_view path, bool merge, bool keepSizes);

// Full: the whole file from the current lists and variables. Update: only the
// remembered variables and the last three pairs of an existing file change.
void WriteInstanceData(InstanceContext& context, std::u16string_view path, bool noMediaLine, bool full);

// A UTF-8 line file into a list, replacing its contents; nothing when missing.
void loadLineList(FileSystem& files, std::u16string_view path, std::vector<std::u16string>& list);

}  // namespace pellion
