// Statement ids: GUIDs in braces, upper-case hex. The authoring tool derives
// them from a statement's place (the chain of script files and statement
// numbers that leads to it) and its content, so rebuilding an unchanged source
// gives the same ids and the same package.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pellion::authoring {

// One step of the place of a statement: a script file and the statement's
// number within that file.
using SourceStep = std::pair<std::u16string, int32_t>;

// A name-based GUID (version 5 layout) from a kind word, the place and the
// texts; every part is length-prefixed, so different inputs never run together.
std::u16string derivedId(std::string_view kind, const std::vector<SourceStep>& place,
                         const std::vector<std::u16string>& texts);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hex digits of either case.
bool isBracedGuid(std::u16string_view text);

}  // namespace pellion::authoring
