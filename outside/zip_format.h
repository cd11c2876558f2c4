// The zip file format: reading the central directory and local headers of an
// untrusted archive with every offset and length checked, and encoding the headers
// the writer emits. Entry data (inflate, deflate, encryption) is left to others.
#pragma once

#include "outside/archive.h"
#include "outside/file_access.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellion::archive {

namespace zip {

constexpr uint16_t flagEncrypted = 0x0001;
constexpr uint16_t flagDataDescriptor = 0x0008;
constexpr uint16_t flagStrongEncryption = 0x0040;
constexpr uint16_t flagUtf8 = 0x0800;

constexpr uint16_t methodStored = 0;
constexpr uint16_t methodDeflated = 8;

constexpr uint32_t dosAttributeFolder = 0x10;
constexpr uint32_t dosAttributeArchive = 0x20;

// Without zip64 the format counts entries in 16 bits and offsets in 32 bits.
constexpr size_t maximumEntries = 0xFFFE;  // 0xFFFF marks a zip64 archive
constexpr uint64_t maximumOffset = 0xFFFFFFFEu;

// The central directory is read into memory whole; larger ones are refused.
constexpr uint64_t maximumDirectoryBytes = 64u * 1024 * 1024;

}  // namespace zip

struct ZipEntry {
    std::string storedName;  // the name's bytes as stored (UTF-8 when written by us)
    std::u16string name;     // decoded: UTF-8 when flagged, otherwise code page 437
    uint16_t versionMadeBy = 20;
    uint16_t versionNeeded = 20;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint64_t packedSize = 0;
    uint64_t size = 0;
    uint64_t localOffset = 0;
    uint32_t externalAttributes = 0;
    std::string extra;                // central extra field, copied when the entry is kept
    std::optional<int64_t> unixTime;  // from the extended timestamp field, when present

    bool folder() const;
    std::string utf8Name() const;  // for failure details
    bool encrypted() const { return (flags & zip::flagEncrypted) != 0; }
    int64_t modified() const;  // the extended timestamp, else the DOS time read as UTC
};

struct ZipDirectory {
    std::vector<ZipEntry> entries;
    uint64_t directoryOffset = 0;  // where the central directory starts: entry data ends before
};

Outcome readZipDirectory(InputFile& archive, ZipDirectory& directory);

// Checks the entry's local header and finds where its data starts; the data must
// end before the central directory.
Outcome findEntryData(InputFile& archive, const ZipDirectory& directory, const ZipEntry& entry, uint64_t& dataOffset);

// ---- Encoding -----------------------------------------------------------------

// DOS date and time fields of a Unix time (read as UTC, clamped to 1980..2107).
void toDosTime(int64_t unixTime, uint16_t& dosTime, uint16_t& dosDate);

// The "UT" extended timestamp extra field holding the modification time.
std::string extendedTimestampField(int64_t unixTime);

// With the data-descriptor flag the local header carries zero CRC and sizes.
std::string localHeader(const ZipEntry& entry);
std::string dataDescriptor(const ZipEntry& entry);
std::string centralHeader(const ZipEntry& entry);
std::string endOfDirectory(size_t entryCount, uint64_t directorySize, uint64_t directoryOffset);

constexpr size_t localHeaderFixedSize = 30;
constexpr size_t localHeaderCrcOffset = 14;  // CRC, packed size, size: 12 bytes patched after the data

}  // namespace pellion::archive
