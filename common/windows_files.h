// Whole-file reads and writes through the wide Win32 file calls, for the
// engine's small files (its own image, the package copy, hand-over files).
// Windows builds only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellion {

// The whole content of a file, or nullopt when it cannot be read.
std::optional<std::string> readWholeFile(const std::u16string& path);

// Creates or replaces the file with these bytes; false when that failed.
bool writeWholeFile(const std::u16string& path, std::string_view bytes);

}  // namespace pellion
