// A UTF-8 text file's lines as UTF-16: an optional byte-order mark skipped,
// lines ended by CR LF, a lone LF or a lone CR, no empty line made up after a
// final line end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellion {

std::vector<std::u16string> utf8Lines(std::string_view fileText);

}  // namespace pellion
