// Pack file layout: scrambling, integers, bounded sequential reads.

#include "pack_format.h"

#include "common/numbers.h"

namespace pellion {

std::u16string packDataKey(int format, int languageCode, std::u16string_view extension)
{
    if (format != 4)
        return {};
    return formatInt(languageCode) + std::u16string(extension);
}

namespace {

// Byte j of the key's UTF-16LE form.
uint8_t keyByte(std::u16string_view key, size_t j)
{
    const char16_t c = key[(j / 2) % key.size()];
    return static_cast<uint8_t>(j % 2 == 0 ? c & 0xFF : c >> 8);
}

}  // namespace

std::u16string unscrambleText(std::string_view bytes, std::u16string_view key)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    const size_t keyBytes = key.size() * 2;
    for (size_t j = 0; j + 1 < bytes.size(); j += 2) {
        uint8_t low = static_cast<uint8_t>(bytes[j]);
        uint8_t high = static_cast<uint8_t>(bytes[j + 1]);
        if (keyBytes != 0) {
            low ^= keyByte(key, j % keyBytes);
            high ^= keyByte(key, (j + 1) % keyBytes);
        }
        const char16_t c = static_cast<char16_t>(low | (high << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

std::string scrambleText(std::u16string_view text, std::u16string_view key)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    const size_t keyBytes = key.size() * 2;
    for (const char16_t c : text) {
        for (const uint8_t plain : {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)}) {
            const size_t j = bytes.size();
            bytes.push_back(static_cast<char>(keyBytes ? plain ^ keyByte(key, j % keyBytes) : plain));
        }
    }
    return bytes;
}

std::string int32Bytes(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
            static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
}

int32_t int32At(const char* bytes)
{
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | static_cast<uint8_t>(bytes[i]);
    return static_cast<int32_t>(bits);
}

std::string scrambledField(std::u16string_view text, std::u16string_view key)
{
    const std::string bytes = scrambleText(text, key);
    return int32Bytes(static_cast<int32_t>(bytes.size())) + bytes;
}

uint64_t PackReader::remaining() const
{
    const uint64_t size = file_.size();
    return position_ < size ? size - position_ : 0;
}

std::optional<std::string> PackReader::readBytes(uint64_t count)
{
    if (count > remaining())
        return std::nullopt;
    std::string bytes(static_cast<size_t>(count), '\0');
    if (file_.readAt(position_, bytes) != bytes.size())
        return std::nullopt;
    position_ += count;
    return bytes;
}

std::optional<int32_t> PackReader::readInt32()
{
    const auto bytes = readBytes(4);
    if (!bytes)
        return std::nullopt;
    return int32At(bytes->data());
}

std::optional<std::u16string> PackReader::readScrambled(int32_t count, std::u16string_view key)
{
    if (count <= 0)
        return std::u16string();
    const auto bytes = readBytes(static_cast<uint64_t>(count));
    if (!bytes)
        return std::nullopt;
    return unscrambleText(*bytes, key);
}

std::optional<std::u16string> PackReader::readScrambledField(std::u16string_view key)
{
    const uint64_t start = position_;
    const auto count = readInt32();
    if (!count)
        return std::nullopt;
    auto text = readScrambled(*count, key);
    if (!text)
        position_ = start;
    return text;
}

std::u16string ReadScrambledText(PackReader& file, int32_t count, std::u16string_view key)
{
    return file.readScrambled(count, key).value_or(std::u16string());
}

}  // namespace pellion
