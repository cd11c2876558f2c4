// Decimal integers in texts: parsing with an explicit failure, and formatting.
// A number is an optional "+" or "-" followed by decimal digits, nothing else;
// a value outside the type's range is a failure, not a wrapped result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellion {

std::optional<int32_t> parseInt32(std::u16string_view text);
std::optional<int64_t> parseInt64(std::u16string_view text);

std::u16string formatInt(int64_t value);
std::u16string formatUnsigned(uint64_t value);

}  // namespace pellion
