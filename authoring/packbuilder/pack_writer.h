// Writing language packs: the configuration file with its scrambled fields
// and fingerprints, the index and data files of the dialog and script texts,
// and the well-known pairs, in the layouts Lexwiz reads. Used by the pack
// builder and by tests that need packs, whole or deliberately broken.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/translation_project.h"
#include "wizard/ansi_code_page.h"
#include "wizard/language_pack.h"
#include "wizard/pack_format.h"

namespace pellion {

// One translation of a whole row group, keyed by the group's lookup text.
struct PackEntrySource {
    std::u16string lookupText;   // lines joined with LF
    std::u16string translation;  // one line per row, joined with CR LF
};

struct PackSource {
    std::u16string name;
    std::u16string extension;  // stored as given
    int format = 4;
    int major = 1;
    int minor = 0;
    int build = 0;
    std::vector<PackEntrySource> dialogs;
    std::vector<PackEntrySource> scripts;
    std::vector<WellKnownPair> wellKnown;
};

// The fields of configuration.dat as written, so tests can write any of them
// wrong. An entry with an empty file name is written as the count 0 alone.
struct ConfigurationFields {
    struct FileEntry {
        std::u16string fileName;
        std::u16string fingerprint;
    };
    std::u16string signature{packSignature};
    int32_t format = 4;
    int32_t major = 1;
    int32_t minor = 0;
    int32_t build = 0;
    std::u16string name;
    std::u16string extension;
    // scripts.dat, scripts.idx, dialogs.dat, dialogs.idx, translations.dat
    std::array<FileEntry, 5> entries;
};

std::string configurationBytes(const ConfigurationFields& fields);

// One index record: the key's 32 characters as UTF-16LE, offset, length.
std::string indexRecordBytes(std::u16string_view key, int32_t offset, int32_t length);

struct PackFile {
    std::u16string name;
    std::string bytes;
};

// The six files of a pack, configuration.dat first. Index keys are the
// fingerprints of the lookup texts in the given code page.
std::vector<PackFile> buildPackFiles(const PackSource& source, const AnsiCodePage& codePage);

// The configuration fields that describe the given files (as buildPackFiles
// made them) for the source: tests change one and write them again.
ConfigurationFields configurationFieldsOf(const PackSource& source, const std::vector<PackFile>& packFiles);

// Writes the files into the (existing) pack folder; false when one fails.
bool writePackFiles(FileSystem& files, std::u16string_view packFolder, const std::vector<PackFile>& packFiles);

}  // namespace pellion
