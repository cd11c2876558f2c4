// Entry names of an archive: which are safe to write below a target folder, their
// stored form, and the wildcard patterns that select entries for deletion and
// exclusion. Reading and writing the archive itself is left to the zip code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion::archive {

// The folder and file parts of a name, split at "/" and "\", when writing it below
// any folder stays inside that folder on every platform. Empty and "." parts are
// dropped. Refused (nothing): empty names; absolute paths; ".." parts and parts
// ending in "." or " " (Windows strips those, so ".. " would become ".."); any ":"
// (drive letters, alternate data streams); control characters and < > " | ? *;
// and the Windows device names CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 with or
// without an extension.
std::optional<std::vector<std::u16string>> safeNameParts(std::u16string_view name);

// "\" turned into "/", leading "/" and a trailing "/" removed: the form names are
// compared in.
std::u16string comparableName(std::u16string_view name);

// Wildcard match ("*" any run of characters, "?" one), letter case ignored, "/" and
// "\" equal.
bool wildcardMatch(std::u16string_view pattern, std::u16string_view text);

// Whether `pattern` selects the entry `name`: the whole name or one of its folders
// matches, or, for a pattern without a folder part, one of the name's parts does.
bool patternSelects(std::u16string_view pattern, std::u16string_view name);

}  // namespace pellion::archive
