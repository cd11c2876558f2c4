// Writing stored ZIP archives: local headers, data, central directory, end record.

#include "authoring/setupbuilder/stored_zip.h"

#include <array>
#include <limits>

#include "authoring/setupbuilder/build_error.h"

namespace pellion::authoring {

namespace {

constexpr uint16_t dosDate1980 = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
constexpr uint16_t utf8NameFlag = 1 << 11;

void put16(std::string& out, uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

bool isAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

uint32_t checked32(uint64_t value, const char* what)
{
    if (value >= std::numeric_limits<uint32_t>::max())
        throw BuildError(std::string("support archive too large: ") + what + " beyond 4 GiB");
    return static_cast<uint32_t>(value);
}

}  // namespace

uint32_t crc32(std::string_view bytes)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string storedZip(const std::vector<StoredZipEntry>& entries)
{
    if (entries.size() >= 0xFFFF)
        throw BuildError("support archive too large: more than 65534 files");
    std::string archive;
    std::string directory;
    for (const auto& entry : entries) {
        if (entry.name.empty() || entry.name.size() > 0xFFFF)
            throw BuildError("support archive: unusable entry name \"" + entry.name + "\"");
        const uint32_t offset = checked32(archive.size(), "offsets");
        const uint32_t size = checked32(entry.data.size(), entry.name.c_str());
        const uint32_t crc = crc32(entry.data);
        const uint16_t flags = isAscii(entry.name) ? 0 : utf8NameFlag;

        put32(archive, 0x04034B50);
        put16(archive, 10);  // version needed: stored
        put16(archive, flags);
        put16(archive, 0);   // method: stored
        put16(archive, 0);   // time 00:00
        put16(archive, dosDate1980);
        put32(archive, crc);
        put32(archive, size);
        put32(archive, size);
        put16(archive, static_cast<uint32_t>(entry.name.size()));
        put16(archive, 0);   // extra field
        archive += entry.name;
        archive += entry.data;

        put32(directory, 0x02014B50);
        put16(directory, 20);  // made by: MS-DOS attributes, version 2.0
        put16(directory, 10);
        put16(directory, flags);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, dosDate1980);
        put32(directory, crc);
        put32(directory, size);
        put32(directory, size);
        put16(directory, static_cast<uint32_t>(entry.name.size()));
        put16(directory, 0);   // extra field
        put16(directory, 0);   // comment
        put16(directory, 0);   // disk
        put16(directory, 0);   // internal attributes
        put32(directory, 0);   // external attributes
        put32(directory, offset);
        directory += entry.name;
    }
    const uint32_t directoryOffset = checked32(archive.size(), "offsets");
    const uint32_t directorySize = checked32(directory.size(), "directory");
    checked32(uint64_t{directoryOffset} + directorySize, "offsets");
    archive += directory;
    put32(archive, 0x06054B50);
    put16(archive, 0);
    put16(archive, 0);
    put16(archive, static_cast<uint32_t>(entries.size()));
    put16(archive, static_cast<uint32_t>(entries.size()));
    put32(archive, directorySize);
    put32(archive, directoryOffset);
    put16(archive, 0);  // comment
    return archive;
}

}  // namespace pellion::authoring
