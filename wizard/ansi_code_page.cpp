// Windows-1252 encoding, as Windows converts to it (including its five
// unassigned bytes, which it maps to the C1 controls of the same value).

#include "ansi_code_page.h"

namespace pellion {

namespace {

// Bytes 0x80..0x9F; 0 where the byte has no character of its own.
constexpr char16_t highControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (highControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string Windows1252CodePage::encode(std::u16string_view text) const
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character and becomes one "?".
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i;
        bytes.push_back(byteFor(text[i]));
    }
    return bytes;
}

}  // namespace pellion
