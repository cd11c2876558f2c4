// Letter case for the engine's case-insensitive names and comparisons.
// One generated table serves both builds, so a name matches the same way on
// Linux and on Windows; the ASCII-only variants serve the conditions, which
// compare only the basic Latin letters without case.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

char16_t toUpper(char16_t c);
char16_t toLower(char16_t c);
std::u16string upperCase(std::u16string_view text);
std::u16string lowerCase(std::u16string_view text);

// Compares the upper-case forms unit by unit; <0, 0 or >0.
int compareNoCase(std::u16string_view a, std::u16string_view b);
bool equalsNoCase(std::u16string_view a, std::u16string_view b);

char16_t asciiUpper(char16_t c);
char16_t asciiLower(char16_t c);
std::u16string asciiUpperCase(std::u16string_view text);
std::u16string asciiLowerCase(std::u16string_view text);
int compareAsciiNoCase(std::u16string_view a, std::u16string_view b);
bool equalsAsciiNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace pellion
