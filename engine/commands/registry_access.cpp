// The portable decisions of the registry commands: hive codes, the computer
// part, the view flag and the text of a stored value.

#include "engine/commands/registry_access.h"

#include <array>

namespace pellion {

namespace {

constexpr uint32_t stringType = 1;
constexpr uint32_t expandableStringType = 2;
constexpr uint32_t binaryType = 3;
constexpr uint32_t numberType = 4;
constexpr uint32_t multiStringType = 7;

constexpr uint32_t view64 = 0x0100;  // KEY_WOW64_64KEY
constexpr uint32_t view32 = 0x0200;  // KEY_WOW64_32KEY

// Stored UTF-16 units, little-endian; an odd last byte is dropped.
std::u16string units(const std::vector<uint8_t>& data)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

std::u16string decimal(int64_t value)
{
    std::u16string text;
    const bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        text.insert(text.begin(), u'-');
    return text;
}

}  // namespace

std::optional<uint32_t> registryRoot(int64_t code)
{
    static constexpr std::array<uint32_t, 5> roots = {0x80000000, 0x80000001, 0x80000002, 0x80000003, 0x80000005};
    if (code < 0 || code >= static_cast<int64_t>(roots.size()))
        return std::nullopt;
    return roots[static_cast<size_t>(code)];
}

uint32_t registryViewFlag(bool windows64, std::u16string_view bitnessMode)
{
    if (!windows64)
        return 0;
    return bitnessMode == u"Win32" ? view32 : view64;
}

RegistryTarget splitRegistryTarget(std::u16string_view parameter)
{
    const auto bar = parameter.find(u'|');
    if (bar == std::u16string_view::npos)
        return {std::u16string(parameter), {}};
    return {std::u16string(parameter.substr(0, bar)), std::u16string(parameter.substr(bar + 1))};
}

std::u16string networkComputer(std::u16string_view computer)
{
    if (computer.empty() || computer.starts_with(u"\\\\"))
        return std::u16string(computer);
    return u"\\\\" + std::u16string(computer);
}

std::u16string registryResultText(const RegistryValue& value)
{
    switch (value.outcome) {
    case RegistryOutcome::noComputer:
        return u"NO$COMPUTER";
    case RegistryOutcome::noKey:
        return u"NO$KEY";
    case RegistryOutcome::noValue:
        return u"NO$VALUE";
    case RegistryOutcome::readError:
        return u"READ$ERROR";
    case RegistryOutcome::found:
        break;
    }
    switch (value.type) {
    case stringType:
    case expandableStringType: {
        auto text = units(value.data);
        // The stored terminator (and anything a careless writer left behind it).
        if (const auto end = text.find(u'\0'); end != std::u16string::npos)
            text.resize(end);
        return text;
    }
    case numberType: {
        if (value.data.size() < 4)
            return u"READ$ERROR";
        const uint32_t bits = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16)
                              | (static_cast<uint32_t>(value.data[3]) << 24);
        return decimal(static_cast<int32_t>(bits));
    }
    case binaryType: {
        static constexpr char16_t digits[] = u"0123456789ABCDEF";
        std::u16string text;
        for (const auto byte : value.data) {
            text.push_back(digits[byte >> 4]);
            text.push_back(digits[byte & 0x0F]);
        }
        return text;
    }
    case multiStringType: {
        const auto all = units(value.data);
        std::u16string text;
        size_t start = 0;
        bool first = true;
        while (start < all.size()) {
            auto end = all.find(u'\0', start);
            if (end == std::u16string::npos)
                end = all.size();
            if (end == start)
                break;
            if (!first)
                text += u"$NEWLINE$";
            text.append(all, start, end - start);
            first = false;
            start = end + 1;
        }
        return text;
    }
    default:
        return u"UNKNOWN$TYPE";
    }
}

std::u16string withoutResultWord(std::u16string text)
{
    for (const auto* word : {u"READ$ERROR", u"NO$KEY", u"NO$VALUE", u"UNKNOWN$TYPE", u"BINARY$VALUE", u"NO$COMPUTER"})
        if (text == word)
            return {};
    return text;
}

}  // namespace pellion
