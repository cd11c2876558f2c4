// Writes a zip archive entry by entry into an output file: new files (stored or
// deflated, optionally encrypted), folders, and entries copied unchanged from
// another archive; then the central directory. Deciding which entries go in is
// left to the create and delete operations.
#pragma once

#include "outside/archive.h"
#include "outside/progress_counter.h"
#include "outside/zip_format.h"

#include <string>
#include <vector>

namespace pellion::archive {

struct NewEntry {
    std::string storedName;  // UTF-8, "/" between parts, trailing "/" on folders
    bool folder = false;
    int64_t modified = 0;
};

class ZipWriter {
public:
    explicit ZipWriter(OutputFile& output) : output_(output) {}

    Outcome addFolder(const NewEntry& entry);
    Outcome addFile(const NewEntry& entry, InputFile& source, Compression compression, int level,
                    const std::string& password, ProgressCounter& progress);
    Outcome copyEntry(InputFile& archive, const ZipDirectory& directory, const ZipEntry& entry,
                      ProgressCounter& progress);
    // Writes the central directory and end record and closes the output.
    Outcome finish();

private:
    Outcome startEntry(ZipEntry& entry);
    Outcome write(const void* data, size_t count);

    OutputFile& output_;
    std::vector<ZipEntry> written_;
};

}  // namespace pellion::archive
