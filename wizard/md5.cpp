// The platform-independent half of the MD5 digests: hexadecimal form and
// digests of whole files.

#include "md5.h"

#include <vector>

#include "common/translation_project.h"

namespace pellion {

std::u16string upperHex(std::span<const uint8_t> bytes)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t byte : bytes) {
        text.push_back(digits[byte >> 4]);
        text.push_back(digits[byte & 0x0F]);
    }
    return text;
}

std::u16string md5Hex(std::string_view bytes)
{
    Md5 digest;
    digest.add(bytes);
    return upperHex(digest.finish());
}

std::optional<std::u16string> fileFingerprint(FileSystem& files, std::u16string_view path)
{
    auto file = files.openForReading(path);
    if (!file)
        return std::nullopt;
    Md5 digest;
    std::vector<char> buffer(1 << 16);
    const uint64_t size = file->size();
    for (uint64_t position = 0; position < size;) {
        const uint64_t left = size - position;
        const size_t wanted = left < buffer.size() ? static_cast<size_t>(left) : buffer.size();
        const size_t count = file->readAt(position, std::span(buffer.data(), wanted));
        if (count != wanted)
            return std::nullopt;
        digest.add(std::string_view(buffer.data(), count));
        position += count;
    }
    return upperHex(digest.finish());
}

}  // namespace pellion
