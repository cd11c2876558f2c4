// The archive core: zip archives (stored and deflated entries, UTF-8 names) created,
// listed, extracted, tested and edited through a file-access seam. Portable: the
// setup authoring tool calls it natively, the archive library "oxa.lib" on Windows.
#pragma once

#include "outside/file_access.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pellion::archive {

// Failure codes. The archive library hands them out unchanged through
// GetLastArchiveError, so they are part of its interface; 0 means no failure.
// 1016 and 1017 stay unused: the engine reports its own helper failures as 1016.
enum class ErrorCode : int32_t {
    none = 0,
    cannotOpen = 1001,        // the archive file is missing or cannot be read
    notAnArchive = 1002,      // no zip end record: not a zip archive at all
    corrupt = 1003,           // truncated or inconsistent headers or data
    checksumMismatch = 1004,  // an entry's data does not match its CRC-32
    unsupported = 1005,       // compression method, zip64, split or strongly encrypted archives
    wrongPassword = 1006,     // encrypted entry and no password, or the wrong one
    unsafeName = 1007,        // entry name that would leave the target folder or name a device
    cannotWrite = 1008,       // an output file or folder cannot be created or written
    cannotReadSource = 1009,  // a file to be added cannot be read
    entryNotFound = 1010,     // a named entry is not in the archive
    cancelled = 1011,         // the progress or overwrite callback asked to stop
    invalidArgument = 1012,   // bad update mode, missing path, unknown handle
    busy = 1013,              // an archive operation was started from inside a callback
    tooLarge = 1014,          // beyond the zip format without zip64 (4 GiB, 65535 entries)
    internalFailure = 1015,   // anything unexpected
    outOfMemory = 1018,
};

struct Outcome {
    ErrorCode code = ErrorCode::none;
    std::string detail;  // UTF-8, for diagnostics only: which file or entry, what went wrong

    bool ok() const { return code == ErrorCode::none; }
    static Outcome success() { return {}; }
    static Outcome failure(ErrorCode code, std::string detail) { return {code, std::move(detail)}; }
};

// Called before each entry and while long entries are processed. `done` and `total`
// count bytes of the whole operation. Returning false stops it with `cancelled`.
using ProgressFunction = std::function<bool(std::u16string_view currentName, uint64_t done, uint64_t total)>;

// Asked when an encrypted entry is met; again after a wrong password. Nothing means
// "no (more) password": the entry fails with `wrongPassword`.
using PasswordFunction = std::function<std::optional<std::string>()>;

// ---- Creating -----------------------------------------------------------------

// A file to add under an entry name. Entry names use "/" or "\" between folders;
// they are stored with "/". An empty source file with a name ending in "/" adds an
// empty folder entry.
struct SourceEntry {
    std::u16string sourceFile;
    std::u16string entryName;
};

enum class UpdateMode : int32_t {
    addReplace = 0,   // keep the archive's other entries; add new names, replace equal names
    updateNewer = 1,  // like addReplace, but an existing entry is replaced only by a newer file
    createNew = 2,    // the archive holds exactly the given entries afterwards
};

enum class Compression { deflate, stored };

struct CreateOptions {
    UpdateMode mode = UpdateMode::createNew;
    Compression compression = Compression::deflate;
    int level = 9;             // deflate level 1..9
    std::string password;      // UTF-8; non-empty: new entries use traditional zip encryption
    ProgressFunction progress;
};

// Writes the archive through a temporary file beside it, so a failure leaves an
// existing archive as it was. Entry names are checked with the rules extraction
// applies; an unsafe name fails the whole call with `unsafeName`.
Outcome createArchive(FileAccess& files, std::u16string_view archive, std::span<const SourceEntry> entries,
                      const CreateOptions& options = {});

// ---- Listing ------------------------------------------------------------------

struct EntryInfo {
    std::u16string name;   // as stored, "/" between folders, no trailing "/" on folders
    bool folder = false;
    bool encrypted = false;
    uint64_t size = 0;
    uint64_t packedSize = 0;
    uint32_t crc = 0;
    uint16_t method = 0;   // 0 stored, 8 deflated; anything else cannot be extracted
    int64_t modified = 0;  // seconds since 1970-01-01 UTC
};

Outcome listArchive(FileAccess& files, std::u16string_view archive, std::vector<EntryInfo>& entries);

// ---- Extracting and testing ---------------------------------------------------

enum class ExistingFile { overwrite, rename, skip, cancel };

struct ExtractOptions {
    // Names as listed ("/" or "\" between folders); empty: every entry.
    std::vector<std::u16string> names;
    bool keepPaths = true;  // false: every file lands directly in the target folder
    ProgressFunction progress;
    PasswordFunction password;
    // Asked when the target file exists; absent: overwrite. "rename" writes the
    // entry as "name_1.ext" (the first free number) and keeps the existing file.
    std::function<ExistingFile(std::u16string_view existingPath)> onExisting;
};

// Extraction never writes outside the target folder: every entry name is checked
// before anything is written, and one unsafe name fails the call with `unsafeName`.
// Each file is written to a temporary name and renamed when its CRC has been checked.
Outcome extractArchive(FileAccess& files, std::u16string_view archive, std::u16string_view targetFolder,
                       const ExtractOptions& options = {});

struct TestOptions {
    ProgressFunction progress;
    PasswordFunction password;
};

// Decompresses every entry and checks its CRC-32, writing nothing.
Outcome testArchive(FileAccess& files, std::u16string_view archive, const TestOptions& options = {});

// ---- Deleting -----------------------------------------------------------------

// Removes the entries matching any pattern. A pattern compares without letter case,
// "*" and "?" are wildcards, "/" and "\" are the same; a pattern without a folder
// part matches an entry's last name part too, and a pattern matching a folder
// removes everything in it. Patterns that match nothing are no failure.
Outcome deleteFromArchive(FileAccess& files, std::u16string_view archive, std::span<const std::u16string> patterns,
                          const ProgressFunction& progress = {});

}  // namespace pellion::archive
