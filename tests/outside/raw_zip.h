// A stored-only zip written byte by byte for tests: every header field can be set
// to a lie, so archives the core itself would never write (hostile names, wrong
// sizes, foreign flags and methods) can be made. Portable: host and Wine tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellion::archive::testing {

struct RawEntry {
    std::string name;
    std::string data;
    uint16_t flags = 0x0800;
    uint16_t method = 0;
    std::string packed;           // data as stored; empty: `data` itself
    std::optional<uint32_t> crc;  // default: the CRC of `data`
    std::optional<uint32_t> size; // default: data.size()
};

inline RawEntry plainEntry(std::string name, std::string data)
{
    RawEntry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    return entry;
}

std::string rawZip(const std::vector<RawEntry>& entries);
uint32_t crcOf(const std::string& data);

}  // namespace pellion::archive::testing
