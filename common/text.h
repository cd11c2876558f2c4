// UTF-8 <-> UTF-16 conversion for the text edges of the programs.
// Inside, every text is UTF-16 (std::u16string); files and the host console speak UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

// Invalid or truncated sequences become U+FFFD; the conversion never fails.
std::u16string toUtf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view utf16);

// Plain ASCII literals in tests and tables without spelling out u"" everywhere.
std::u16string fromAscii(std::string_view ascii);

}  // namespace pellion
