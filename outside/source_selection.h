// What the archive library's file lists select for a new archive: files, folders
// with their contents, wildcard patterns, minus the excluded patterns. Writing the
// archive is left to the archive core.
#pragma once

#include "outside/archive.h"

#include <span>
#include <string>
#include <vector>

namespace pellion::archive {

// Each item is a file (entry: its name), a folder (its name, then everything in it
// below that name) or a folder followed by a pattern in its last part ("data\*",
// "data\*.txt": the matching items of "data" under their own names; matching
// folders bring their contents). An item that matches nothing fails with
// `cannotReadSource`. Entries selected by an `excluded` pattern (see
// patternSelects) are left out.
Outcome selectSources(FileAccess& files, std::span<const std::u16string> items,
                      std::span<const std::u16string> excluded, std::vector<SourceEntry>& entries);

}  // namespace pellion::archive
