// Locating the bytes appended after a PE image, from the headers alone.

#include "package_appendix.h"

#include <algorithm>

namespace pellion {

namespace {

constexpr uint64_t peHeaderOffsetField = 0x3C;
constexpr uint64_t fileHeaderSize = 20;
constexpr uint64_t sectionHeaderSize = 40;
constexpr uint16_t optionalHeaderMagic32 = 0x10B;
constexpr uint16_t optionalHeaderMagic64 = 0x20B;

// Little-endian fields; every read is checked against the bytes at hand.
std::optional<uint32_t> readUint(std::string_view bytes, uint64_t offset, int width)
{
    if (offset > bytes.size() || bytes.size() - offset < static_cast<uint64_t>(width))
        return std::nullopt;
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

}  // namespace

std::optional<uint64_t> peImageEnd(std::string_view fileBytes)
{
    if (fileBytes.size() < 2 || fileBytes[0] != 'M' || fileBytes[1] != 'Z')
        return std::nullopt;
    const auto peOffset = readUint(fileBytes, peHeaderOffsetField, 4);
    if (!peOffset)
        return std::nullopt;
    const auto signature = readUint(fileBytes, *peOffset, 4);
    if (!signature || *signature != 0x00004550)  // "PE\0\0"
        return std::nullopt;
    const uint64_t fileHeader = uint64_t{*peOffset} + 4;
    const auto sectionCount = readUint(fileBytes, fileHeader + 2, 2);
    const auto optionalHeaderSize = readUint(fileBytes, fileHeader + 16, 2);
    if (!sectionCount || !optionalHeaderSize)
        return std::nullopt;
    const uint64_t optionalHeader = fileHeader + fileHeaderSize;
    const auto magic = readUint(fileBytes, optionalHeader, 2);
    if (!magic || (*magic != optionalHeaderMagic32 && *magic != optionalHeaderMagic64))
        return std::nullopt;

    const uint64_t sectionTable = optionalHeader + *optionalHeaderSize;
    const uint64_t sectionTableEnd = sectionTable + uint64_t{*sectionCount} * sectionHeaderSize;
    if (sectionTableEnd > fileBytes.size())
        return std::nullopt;
    uint64_t end = sectionTableEnd;
    for (uint32_t i = 0; i < *sectionCount; ++i) {
        const uint64_t header = sectionTable + uint64_t{i} * sectionHeaderSize;
        const uint64_t rawSize = *readUint(fileBytes, header + 16, 4);
        const uint64_t rawOffset = *readUint(fileBytes, header + 20, 4);
        end = std::max(end, rawOffset + rawSize);
    }
    return end;
}

std::optional<std::string_view> appendixOf(std::string_view fileBytes)
{
    const auto end = peImageEnd(fileBytes);
    if (!end)
        return std::nullopt;
    if (*end >= fileBytes.size())
        return std::string_view{};
    return fileBytes.substr(static_cast<size_t>(*end));
}

}  // namespace pellion
