// Comma text: a list of texts kept as one line (action data, variables handed
// to plug-ins, log lines). Items are separated by ","; an item holding a blank,
// a control character, a "," or a double quote is written in double quotes with
// inner quotes doubled. Readers split at commas and at unquoted blanks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellion {

std::u16string joinCommaText(const std::vector<std::u16string>& items);
std::vector<std::u16string> splitCommaText(std::u16string_view line);

// The quoting rule on its own, for writers that build a line piece by piece.
std::u16string quotedCommaItem(std::u16string_view item);

}  // namespace pellion
