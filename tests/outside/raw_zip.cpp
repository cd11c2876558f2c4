// The raw zip builder of the archive tests.

#include "raw_zip.h"

namespace pellion::archive::testing {

namespace {

void put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

// Bit by bit: the tests keep their own CRC-32 rather than borrow the code under test's.
uint32_t crcOf(const std::string& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string rawZip(const std::vector<RawEntry>& entries)
{
    std::string body;
    std::string directory;
    for (const auto& entry : entries) {
        const std::string& packed = entry.packed.empty() ? entry.data : entry.packed;
        const uint32_t crc = entry.crc.value_or(crcOf(entry.data));
        const uint32_t size = entry.size.value_or(static_cast<uint32_t>(entry.data.size()));
        const auto offset = static_cast<uint32_t>(body.size());
        auto common = [&](std::string& out) {
            put16(out, entry.flags);
            put16(out, entry.method);
            put16(out, 0);
            put16(out, 0x5A21);  // 2025-01-01
            put32(out, crc);
            put32(out, static_cast<uint32_t>(packed.size()));
            put32(out, size);
            put16(out, static_cast<uint32_t>(entry.name.size()));
            put16(out, 0);
        };
        put32(body, 0x04034b50);
        put16(body, 20);
        common(body);
        body += entry.name;
        body += packed;

        put32(directory, 0x02014b50);
        put16(directory, 20);
        put16(directory, 20);
        common(directory);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, 0);
        put32(directory, offset);
        directory += entry.name;
    }
    std::string zip = body + directory;
    put32(zip, 0x06054b50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, static_cast<uint32_t>(entries.size()));
    put16(zip, static_cast<uint32_t>(entries.size()));
    put32(zip, static_cast<uint32_t>(directory.size()));
    put32(zip, static_cast<uint32_t>(body.size()));
    put16(zip, 0);
    return zip;
}

}  // namespace pellion::archive::testing
