// The pure text work of the string and path commands: splitting a text
// ("Parse String"), cutting a path into its parts ("Extract Path"), replacing
// text ("Replace String") and trimming. No variables, no system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pellion {

// Splits `source` by the mode of "Parse String": 0 first occurrence of the
// delimiter, 1 last occurrence, 2 keep N characters in the first part, 3 keep
// N characters in the second part (N read from `delimiter`). With `anyCase`
// the search ignores letter case; the parts are cut from `source` as written.
std::pair<std::u16string, std::u16string> splitText(std::u16string_view source, std::u16string_view delimiter,
                                                    int64_t mode, bool anyCase);

// Without leading and trailing characters up to U+0020.
std::u16string trimmed(std::u16string_view text);

// Part `code` of a path (file name, name without extension, extension, folder,
// parent folder, drive, collapsed); any other code returns the path.
std::u16string extractPathPart(std::u16string_view path, int64_t code);

// The drive part of a path: "C:" or "\\server\share"; empty without one.
std::u16string drivePart(std::u16string_view path);

// Replaces the first (or every) occurrence of `find`; an empty find changes nothing.
std::u16string replaceText(std::u16string_view value, std::u16string_view find, std::u16string_view replacement,
                           bool anyCase, bool everyOccurrence);

// Every CR LF pair as the text "$NEWLINE$".
std::u16string markLineBreaks(std::u16string_view text);

}  // namespace pellion
