// Decimal integer parsing and formatting.

#include "numbers.h"

#include <limits>

namespace pellion {

std::optional<int64_t> parseInt64(std::u16string_view text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a negative number: its range holds INT64_MIN.
    int64_t value = 0;
    constexpr int64_t lowest = std::numeric_limits<int64_t>::min();
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (lowest + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == lowest)
            return std::nullopt;
        value = -value;
    }
    return value;
}

std::optional<int32_t> parseInt32(std::u16string_view text)
{
    const auto value = parseInt64(text);
    if (!value || *value < std::numeric_limits<int32_t>::min() || *value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(*value);
}

std::u16string formatUnsigned(uint64_t value)
{
    char16_t digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::u16string out;
    out.reserve(n);
    while (n > 0)
        out.push_back(digits[--n]);
    return out;
}

std::u16string formatInt(int64_t value)
{
    if (value >= 0)
        return formatUnsigned(static_cast<uint64_t>(value));
    // Negate in unsigned arithmetic so INT64_MIN does not overflow.
    std::u16string out = formatUnsigned(0 - static_cast<uint64_t>(value));
    out.insert(out.begin(), u'-');
    return out;
}

}  // namespace pellion
