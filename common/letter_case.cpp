// Letter case from the generated BMP table, and the ASCII-only variants.

#include "letter_case.h"

namespace pellion {

namespace {
#include "casemap_table.inc"

template <typename Map>
std::u16string mapped(std::u16string_view text, Map map)
{
    std::u16string out(text);
    for (auto& c : out)
        c = map(c);
    return out;
}

template <typename Map>
int compareMapped(std::u16string_view a, std::u16string_view b, Map map)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = map(a[i]);
        const char16_t y = map(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
}  // namespace

char16_t toUpper(char16_t c)
{
    return static_cast<char16_t>(c + upperDeltas[upperPageIndex[c >> 8]][c & 0xFF]);
}

char16_t toLower(char16_t c)
{
    return static_cast<char16_t>(c + lowerDeltas[lowerPageIndex[c >> 8]][c & 0xFF]);
}

std::u16string upperCase(std::u16string_view text) { return mapped(text, toUpper); }
std::u16string lowerCase(std::u16string_view text) { return mapped(text, toLower); }

int compareNoCase(std::u16string_view a, std::u16string_view b) { return compareMapped(a, b, toUpper); }

bool equalsNoCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

char16_t asciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
char16_t asciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }
std::u16string asciiUpperCase(std::u16string_view text) { return mapped(text, asciiUpper); }
std::u16string asciiLowerCase(std::u16string_view text) { return mapped(text, asciiLower); }
int compareAsciiNoCase(std::u16string_view a, std::u16string_view b) { return compareMapped(a, b, asciiUpper); }

bool equalsAsciiNoCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && compareAsciiNoCase(a, b) == 0;
}

}  // namespace pellion
