// Extraction through the archive library: the whole-archive procedure with its
// out-of-memory retry and hand-over to a child process, and the child's side
// (extraction helper mode).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pellion {

// Progress: current name, bytes done, total; false cancels.
using ExtractionProgress = std::function<bool(const std::u16string& name, uint64_t done, uint64_t total)>;

struct ExtractionOptions {
    std::u16string password;
    std::optional<std::vector<std::u16string>> entries;  // none: everything the listing names
    bool keepPaths = false;     // path flag: keep the archive's folders
    bool renameExisting = false;  // rename flag: keep existing files, rename the new ones
    ExtractionProgress progress;
    bool inHelperProcess = false;  // a helper never hands over to another one
};

// Empty on success, else "#" + the library's error code.
std::u16string extractArchiveFully(const std::u16string& archive, const std::u16string& targetFolder,
                                   const ExtractionOptions& options);

// The archive library wants to know where its own helpers live; we give it a
// private folder in the user's local application data, without stale copies.
void prepareArchiveLibrary();

// Extraction helper mode: exit code 0 (answer written), 1 (no parameter file)
// or 2 (no archive).
int runExtractionHelper(const std::u16string& parameterFile);

}  // namespace pellion
