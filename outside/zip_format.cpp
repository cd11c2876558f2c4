// Zip headers: the end record, the central directory and local headers, read with
// bounds checks against the file, and encoded for the writer.

#include "outside/zip_format.h"

#include "common/text.h"

#include <algorithm>
#include <array>

namespace pellion::archive {

namespace {

constexpr uint32_t localSignature = 0x04034b50;
constexpr uint32_t centralSignature = 0x02014b50;
constexpr uint32_t endSignature = 0x06054b50;
constexpr uint32_t zip64LocatorSignature = 0x07064b50;
constexpr uint32_t descriptorSignature = 0x08074b50;
constexpr uint16_t extendedTimestampId = 0x5455;

constexpr size_t endRecordSize = 22;
constexpr size_t centralFixedSize = 46;
constexpr size_t zip64LocatorSize = 20;
constexpr size_t maximumCommentSize = 0xFFFF;

// Code page 437, the names' encoding when the UTF-8 flag is not set: bytes 0x80-0xFF.
constexpr std::array<char16_t, 128> codePage437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

uint16_t read16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t read32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, uint64_t value)
{
    put16(out, static_cast<uint32_t>(value & 0xFFFF));
    put16(out, static_cast<uint32_t>((value >> 16) & 0xFFFF));
}

std::u16string decodeName(const std::string& stored, bool utf8)
{
    if (utf8)
        return toUtf16(stored);
    std::u16string name;
    name.reserve(stored.size());
    for (const char c : stored) {
        const auto byte = static_cast<uint8_t>(c);
        name += byte < 0x80 ? static_cast<char16_t>(byte) : codePage437[byte - 0x80];
    }
    return name;
}

// The modification time of an "UT" field: flags byte, then a signed 32-bit time
// when bit 0 is set. Other fields are skipped; a field running past the end stops the walk.
std::optional<int64_t> findExtendedTimestamp(const std::string& extra)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(extra.data());
    size_t at = 0;
    while (at + 4 <= extra.size()) {
        const uint16_t id = read16(bytes + at);
        const uint16_t length = read16(bytes + at + 2);
        if (at + 4 + length > extra.size())
            return std::nullopt;
        if (id == extendedTimestampId && length >= 5 && (bytes[at + 4] & 1) != 0)
            return static_cast<int32_t>(read32(bytes + at + 5));
        at += 4 + static_cast<size_t>(length);
    }
    return std::nullopt;
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

Outcome corrupt(std::string what)
{
    return Outcome::failure(ErrorCode::corrupt, std::move(what));
}

Outcome parseCentralEntry(const std::vector<uint8_t>& directory, size_t& at, ZipEntry& entry)
{
    if (directory.size() - at < centralFixedSize || read32(&directory[at]) != centralSignature)
        return corrupt("central directory entry missing");
    const uint8_t* fixed = &directory[at];
    entry.versionMadeBy = read16(fixed + 4);
    entry.versionNeeded = read16(fixed + 6);
    entry.flags = read16(fixed + 8);
    entry.method = read16(fixed + 10);
    entry.dosTime = read16(fixed + 12);
    entry.dosDate = read16(fixed + 14);
    entry.crc = read32(fixed + 16);
    entry.packedSize = read32(fixed + 20);
    entry.size = read32(fixed + 24);
    const size_t nameLength = read16(fixed + 28);
    const size_t extraLength = read16(fixed + 30);
    const size_t commentLength = read16(fixed + 32);
    const uint16_t startDisk = read16(fixed + 34);
    entry.externalAttributes = read32(fixed + 38);
    entry.localOffset = read32(fixed + 42);
    const size_t variable = nameLength + extraLength + commentLength;
    if (directory.size() - at - centralFixedSize < variable)
        return corrupt("central directory entry runs past the directory");
    if (entry.packedSize == 0xFFFFFFFFu || entry.size == 0xFFFFFFFFu || entry.localOffset == 0xFFFFFFFFu)
        return Outcome::failure(ErrorCode::unsupported, "zip64 entries are not supported");
    if (startDisk != 0)
        return Outcome::failure(ErrorCode::unsupported, "split archives are not supported");
    const auto* name = reinterpret_cast<const char*>(fixed + centralFixedSize);
    entry.storedName.assign(name, nameLength);
    entry.extra.assign(name + nameLength, extraLength);
    entry.name = decodeName(entry.storedName, (entry.flags & zip::flagUtf8) != 0);
    entry.unixTime = findExtendedTimestamp(entry.extra);
    at += centralFixedSize + variable;
    return Outcome::success();
}

}  // namespace

bool ZipEntry::folder() const
{
    return (!name.empty() && (name.back() == u'/' || name.back() == u'\\')) ||
           ((externalAttributes & zip::dosAttributeFolder) != 0 && size == 0 && (versionMadeBy >> 8) == 0);
}

std::string ZipEntry::utf8Name() const
{
    return toUtf8(name);
}

int64_t ZipEntry::modified() const
{
    if (unixTime)
        return *unixTime;
    const unsigned day = std::max(1u, static_cast<unsigned>(dosDate & 0x1F));
    const unsigned month = std::clamp(static_cast<unsigned>((dosDate >> 5) & 0x0F), 1u, 12u);
    const int64_t year = 1980 + (dosDate >> 9);
    const int64_t seconds = ((dosTime >> 11) & 0x1F) * 3600 + ((dosTime >> 5) & 0x3F) * 60 + (dosTime & 0x1F) * 2;
    return daysFromCivil(year, month, day) * 86400 + seconds;
}

Outcome readZipDirectory(InputFile& archive, ZipDirectory& directory)
{
    const uint64_t fileSize = archive.size();
    if (fileSize < endRecordSize)
        return Outcome::failure(ErrorCode::notAnArchive, "too short for a zip archive");

    // The end record sits in the last 22 bytes plus at most a 64 KiB comment; take
    // the last signature whose comment fits the file.
    const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(fileSize, endRecordSize + maximumCommentSize));
    std::vector<uint8_t> tail(tailSize);
    if (!archive.readAt(fileSize - tailSize, tail.data(), tailSize))
        return Outcome::failure(ErrorCode::cannotOpen, "cannot read the archive");
    std::optional<size_t> endAt;
    for (size_t at = tailSize - endRecordSize + 1; at-- > 0;) {
        if (read32(&tail[at]) == endSignature && at + endRecordSize + read16(&tail[at + 20]) <= tailSize) {
            endAt = at;
            break;
        }
    }
    if (!endAt)
        return Outcome::failure(ErrorCode::notAnArchive, "no zip end record");
    const uint8_t* end = &tail[*endAt];
    const uint64_t endOffset = fileSize - tailSize + *endAt;
    const uint16_t diskNumber = read16(end + 4);
    const uint16_t directoryDisk = read16(end + 6);
    const uint16_t entriesHere = read16(end + 8);
    const uint16_t entryCount = read16(end + 10);
    const uint32_t directorySize = read32(end + 12);
    const uint32_t directoryOffset = read32(end + 16);

    const bool zip64Locator = *endAt >= zip64LocatorSize && read32(&tail[*endAt - zip64LocatorSize]) == zip64LocatorSignature;
    if (zip64Locator || entryCount == 0xFFFF || directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu)
        return Outcome::failure(ErrorCode::unsupported, "zip64 archives are not supported");
    if (diskNumber != 0 || directoryDisk != 0 || entriesHere != entryCount)
        return Outcome::failure(ErrorCode::unsupported, "split archives are not supported");
    if (static_cast<uint64_t>(directoryOffset) + directorySize > endOffset)
        return corrupt("central directory lies outside the archive");
    if (directorySize > zip::maximumDirectoryBytes)
        return Outcome::failure(ErrorCode::tooLarge, "central directory too large");
    if (static_cast<uint64_t>(entryCount) * centralFixedSize > directorySize)
        return corrupt("central directory too small for its entry count");

    std::vector<uint8_t> bytes(directorySize);
    if (directorySize > 0 && !archive.readAt(directoryOffset, bytes.data(), bytes.size()))
        return corrupt("cannot read the central directory");
    directory.entries.clear();
    directory.entries.reserve(entryCount);
    directory.directoryOffset = directoryOffset;
    size_t at = 0;
    for (size_t i = 0; i < entryCount; ++i) {
        ZipEntry entry;
        if (auto outcome = parseCentralEntry(bytes, at, entry); !outcome.ok())
            return outcome;
        if (entry.localOffset >= directoryOffset)
            return corrupt("entry starts inside the central directory");
        directory.entries.push_back(std::move(entry));
    }
    return Outcome::success();
}

Outcome findEntryData(InputFile& archive, const ZipDirectory& directory, const ZipEntry& entry, uint64_t& dataOffset)
{
    uint8_t header[localHeaderFixedSize];
    if (entry.localOffset + localHeaderFixedSize > directory.directoryOffset ||
        !archive.readAt(entry.localOffset, header, sizeof header) || read32(header) != localSignature)
        return corrupt("local header missing");
    dataOffset = entry.localOffset + localHeaderFixedSize + read16(header + 26) + read16(header + 28);
    if (dataOffset > directory.directoryOffset || entry.packedSize > directory.directoryOffset - dataOffset)
        return corrupt("entry data runs into the central directory");
    return Outcome::success();
}

void toDosTime(int64_t unixTime, uint16_t& dosTime, uint16_t& dosDate)
{
    constexpr int64_t earliest = 315532800;   // 1980-01-01
    constexpr int64_t latest = 4354819198;    // 2107-12-31 23:59:58
    unixTime = std::clamp(unixTime, earliest, latest);
    const int64_t days = unixTime / 86400;
    const int64_t secondsOfDay = unixTime % 86400;
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    dosDate = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    dosTime = static_cast<uint16_t>(((secondsOfDay / 3600) << 11) | (((secondsOfDay / 60) % 60) << 5) | ((secondsOfDay % 60) / 2));
}

std::string extendedTimestampField(int64_t unixTime)
{
    std::string field;
    put16(field, extendedTimestampId);
    put16(field, 5);
    field += '\x01';
    put32(field, static_cast<uint32_t>(std::clamp<int64_t>(unixTime, INT32_MIN, INT32_MAX)));
    return field;
}

std::string localHeader(const ZipEntry& entry)
{
    const bool deferred = (entry.flags & zip::flagDataDescriptor) != 0;
    std::string out;
    put32(out, localSignature);
    put16(out, entry.versionNeeded);
    put16(out, entry.flags);
    put16(out, entry.method);
    put16(out, entry.dosTime);
    put16(out, entry.dosDate);
    put32(out, deferred ? 0 : entry.crc);
    put32(out, deferred ? 0 : entry.packedSize);
    put32(out, deferred ? 0 : entry.size);
    put16(out, static_cast<uint32_t>(entry.storedName.size()));
    put16(out, static_cast<uint32_t>(entry.extra.size()));
    out += entry.storedName;
    out += entry.extra;
    return out;
}

std::string dataDescriptor(const ZipEntry& entry)
{
    std::string out;
    put32(out, descriptorSignature);
    put32(out, entry.crc);
    put32(out, entry.packedSize);
    put32(out, entry.size);
    return out;
}

std::string centralHeader(const ZipEntry& entry)
{
    std::string out;
    put32(out, centralSignature);
    put16(out, entry.versionMadeBy);
    put16(out, entry.versionNeeded);
    put16(out, entry.flags);
    put16(out, entry.method);
    put16(out, entry.dosTime);
    put16(out, entry.dosDate);
    put32(out, entry.crc);
    put32(out, entry.packedSize);
    put32(out, entry.size);
    put16(out, static_cast<uint32_t>(entry.storedName.size()));
    put16(out, static_cast<uint32_t>(entry.extra.size()));
    put16(out, 0);  // comment
    put16(out, 0);  // disk
    put16(out, 0);  // internal attributes
    put32(out, entry.externalAttributes);
    put32(out, entry.localOffset);
    out += entry.storedName;
    out += entry.extra;
    return out;
}

std::string endOfDirectory(size_t entryCount, uint64_t directorySize, uint64_t directoryOffset)
{
    std::string out;
    put32(out, endSignature);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<uint32_t>(entryCount));
    put16(out, static_cast<uint32_t>(entryCount));
    put32(out, directorySize);
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

}  // namespace pellion::archive
