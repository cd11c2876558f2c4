// Translation project files: the parallel UTF-8 line lists of a project (key
// list, original list, map list, one translated list per language), the names
// they go by, and the rewrite of a translated list with its backup. Also the
// small file-system seam every reader of project and language pack files goes
// through, so the same code runs on Linux (tests) and on Windows (wide paths).
// What the rows mean and how they are translated belongs to the readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// ---------------------------------------------------------------------------
// File-system seam. Paths are UTF-16 texts in Windows form: "\" separates
// folders ("/" is accepted as well). File names match without regard to
// letter case, as on Windows: on Linux the native implementation looks for a
// case-insensitive match of the last path part when the exact name is absent.

enum class EntryKind { missing, file, folder };

struct EntryInfo {
    EntryKind kind = EntryKind::missing;
    uint64_t size = 0;  // files only
};

struct FolderEntry {
    std::u16string name;
    bool isFolder = false;
};

// A file open for reading at arbitrary positions.
class InputFile {
public:
    virtual ~InputFile() = default;
    virtual uint64_t size() const = 0;
    // Reads up to into.size() bytes at offset; returns how many were read,
    // fewer only at the end of the file or when reading fails.
    virtual size_t readAt(uint64_t offset, std::span<char> into) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual EntryInfo entryInfo(std::u16string_view path) = 0;
    // The folder's entries without "." and "..", in the order the system
    // lists them; nothing when the folder cannot be listed.
    virtual std::optional<std::vector<FolderEntry>> listFolder(std::u16string_view folder) = 0;
    // Nothing when the path is not a file that can be opened.
    virtual std::unique_ptr<InputFile> openForReading(std::u16string_view path) = 0;
    // Creates the file anew (replacing an existing one) with the pieces one
    // after the other; false when any part of that fails.
    virtual bool writeFile(std::u16string_view path, std::span<const std::string_view> pieces) = 0;
    // Copies a file, replacing the target; false on failure.
    virtual bool copyFile(std::u16string_view from, std::u16string_view to) = 0;
};

// The machine's own file system: std::filesystem and file streams, with wide
// paths on Windows.
class NativeFileSystem final : public FileSystem {
public:
    EntryInfo entryInfo(std::u16string_view path) override;
    std::optional<std::vector<FolderEntry>> listFolder(std::u16string_view folder) override;
    std::unique_ptr<InputFile> openForReading(std::u16string_view path) override;
    bool writeFile(std::u16string_view path, std::span<const std::string_view> pieces) override;
    bool copyFile(std::u16string_view from, std::u16string_view to) override;
};

// The whole content of a file; nothing when it cannot be opened or read in full.
std::optional<std::string> readWholeFile(FileSystem& files, std::u16string_view path);

// A file (or a folder) of that path exists; an empty path names neither.
bool fileExists(FileSystem& files, std::u16string_view path);
bool folderExists(FileSystem& files, std::u16string_view path);

// Path texts.
bool isPathSeparator(char16_t c);
std::u16string withTrailingBackslash(std::u16string_view folder);
// The folder part of a path including its last separator; empty without one.
std::u16string folderOfPath(std::u16string_view path);

// ---------------------------------------------------------------------------
// Project file names.

inline constexpr std::u16string_view originalListName = u"translations.original";
inline constexpr std::u16string_view mapListName = u"translations.map";
inline constexpr std::u16string_view keyListExtension = u".mtx";

// "translations." + the language extension exactly as given (blanks included).
std::u16string translatedListName(std::u16string_view extension);
// "backup of translations." + extension: the translated list before the last rewrite.
std::u16string translatedBackupName(std::u16string_view extension);

// The folder (with trailing "\") + the first "*.mtx" file its listing
// returns; nothing when it holds none or cannot be listed.
std::optional<std::u16string> findKeyList(FileSystem& files, std::u16string_view folder);

// ---------------------------------------------------------------------------
// A project list: a UTF-8 file split into lines. An optional byte order mark
// is skipped; lines end at CR LF, at a lone LF or at a lone CR; a final line
// break adds no empty line; blanks at either end belong to the line.

class ProjectList {
public:
    ProjectList() = default;
    static ProjectList fromBytes(std::string bytes);

    size_t size() const { return lines_.size(); }
    // The line's bytes as stored (UTF-8, without its line break).
    std::string_view line(size_t row) const;
    // The line as text; malformed UTF-8 becomes U+FFFD.
    std::u16string text(size_t row) const;
    std::vector<std::u16string> texts() const;

private:
    struct Span {
        size_t begin;
        size_t length;
    };
    std::string bytes_;
    std::vector<Span> lines_;
};

// Nothing when the file is missing or cannot be read.
std::optional<ProjectList> readProjectList(FileSystem& files, std::u16string_view path);

// ---------------------------------------------------------------------------
// Rewriting the translated list of one language (the pre-translation's last
// step). The values are the wizard's error codes for the two failures.

inline constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

enum class RewriteResult : int {
    rewritten = 0,
    backupFailed = -106,  // the translated list is untouched
    createFailed = -107,  // the backup holds the previous content
};

// projectFolder ends with "\". rows holds the new lines in UTF-8, each
// followed by CR LF. A translated list longer than 0 bytes is first copied to
// "backup of translations." + extension; then the list is created anew with
// the byte order mark and the rows.
RewriteResult rewriteTranslatedList(FileSystem& files, std::u16string_view projectFolder,
                                    std::u16string_view extension, std::string_view rows);

}  // namespace pellion
